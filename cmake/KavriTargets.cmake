# Qt's moc step under Ninja only reruns when a file it already knew changes, so a header added to a
# globbed folder would never be moc'ed in an existing build folder. A list of the sources, rewritten
# only when it changes and scanned by moc like any header, makes the moc step rerun when a file comes.
function(kavri_autogen_tracks_sources name sources)
  set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_sources.h)
  string(REPLACE ";" "\n// " text "${sources}")
  file(CONFIGURE OUTPUT ${list_file} CONTENT "// ${text}\n")
  target_sources(${name} PRIVATE ${list_file})
endfunction()

# The headers most sources of a kind include, precompiled once per target: parsing them again in
# every source was most of the build's time.
set(KAVRI_PCH_CORE <algorithm> <array> <atomic> <chrono> <cmath> <cstdint> <cstring> <functional> <memory> <mutex>
    <optional> <string> <string_view> <vector> <QObject> <QString>)
set(KAVRI_PCH_WIDGETS ${KAVRI_PCH_CORE} <QApplication> <QImage> <QKeyEvent> <QLabel> <QMouseEvent> <QPainter>
    <QPointer> <QTimer> <QVBoxLayout> <QWidget>)
set(KAVRI_PCH_TESTS ${KAVRI_PCH_WIDGETS} <thread> <QTest> <gtest/gtest.h>)

set(KAVRI_PCH_BENCH ${KAVRI_PCH_WIDGETS} <benchmark/benchmark.h>)

# kavri_precompile(target CORE|WIDGETS|TESTS)
function(kavri_precompile target kind)
  if(KAVRI_PRECOMPILED_HEADERS)
    target_precompile_headers(${target} PRIVATE ${KAVRI_PCH_${kind}})
  endif()
endfunction()

# kavri_precompile_shared(target TESTS|BENCH): the test programs are all built with the same options,
# and so are the benchmarks: the first target of the kind precompiles the headers, the others reuse
# its header instead of compiling the same one again each.
function(kavri_precompile_shared target kind)
  if(NOT KAVRI_PRECOMPILED_HEADERS)
    return()
  endif()
  get_property(owner GLOBAL PROPERTY KAVRI_PCH_OWNER_${kind})
  if(owner)
    target_precompile_headers(${target} REUSE_FROM ${owner})
  else()
    set_property(GLOBAL PROPERTY KAVRI_PCH_OWNER_${kind} ${target})
    target_precompile_headers(${target} PRIVATE ${KAVRI_PCH_${kind}})
  endif()
endfunction()

# kavri_library(name [PCH CORE|WIDGETS] [LIBS ...]): a static library of every .cpp/.h in the calling
# folder; PCH names the headers it precompiles (WIDGETS unless said).
function(kavri_library name)
  cmake_parse_arguments(ARG "" "PCH" "LIBS" ${ARGN})
  if(NOT ARG_PCH)
    set(ARG_PCH WIDGETS)
  endif()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  add_library(${name} STATIC ${sources})
  kavri_autogen_tracks_sources(${name} "${sources}")
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  kavri_precompile(${name} ${ARG_PCH})
endfunction()

# kavri_light_test_code(target): test code is built with little optimisation and line tables only.
function(kavri_light_test_code target)
  target_compile_options(${target} PRIVATE $<$<CONFIG:RelWithDebInfo,Release>:-O1> -g1)
endfunction()

# The suite's runner (scripts/ctest_cores.sh) shares the cores out as a ctest resource, "cores",
# three slots a core: a test of a test program takes a whole core; a session driving the program
# under a virtual X server takes a third, as it mostly waits for the program and the window tool, so
# several run beside the test programs. A plain ctest without the resource file ignores this.
set(KAVRI_TEST_CORES "cores:3")
set(KAVRI_SESSION_CORES "cores:1" CACHE STRING "The share of the cores a session script takes (of three a core)")

# kavri_test_folder(name [LIBS ...] [LABELS ...]): one test executable of every .cpp in the calling
# folder, run on the offscreen platform through the shared test main. The test code itself is built
# lightly (the code under test keeps the build's own optimisation): optimising gtest's expansions
# cost more build time than it ever saved in the tests' run.
function(kavri_test_folder name)
  cmake_parse_arguments(ARG "" "" "LIBS;LABELS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${sources})
  kavri_autogen_tracks_sources(${name} "${sources}")
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} kavri_test_support GTest::gtest GTest::gmock)
  kavri_light_test_code(${name})
  kavri_precompile_shared(${name} TESTS)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               LABELS "${name};${ARG_LABELS}"
               RESOURCE_GROUPS ${KAVRI_TEST_CORES}
               TIMEOUT 300)
  # Each test above runs in a process of its own. Once more they all run in one process, in an
  # order shuffled anew each time (the log gives the seed), to find a test that fails after
  # another or leans on what another left behind.
  add_test(NAME ${name}.AllTestsInOneProcessShuffled COMMAND ${name} --gtest_shuffle)
  set_tests_properties(${name}.AllTestsInOneProcessShuffled PROPERTIES
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS "${name};${ARG_LABELS}"
                       RESOURCE_GROUPS ${KAVRI_TEST_CORES} TIMEOUT 600 COST 20)
endfunction()
