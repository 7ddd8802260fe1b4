# Qt's moc step under Ninja only reruns when a file it already knew changes, so a header added to a
# globbed folder would never be moc'ed in an existing build folder. A list of the sources, rewritten
# only when it changes and scanned by moc like any header, makes the moc step rerun when a file comes.
function(kavri_autogen_tracks_sources name sources)
  set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_sources.h)
  string(REPLACE ";" "\n// " text "${sources}")
  file(CONFIGURE OUTPUT ${list_file} CONTENT "// ${text}\n")
  target_sources(${name} PRIVATE ${list_file})
endfunction()

# kavri_library(name [LIBS ...]): a static library of every .cpp/.h in the calling folder.
function(kavri_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  add_library(${name} STATIC ${sources})
  kavri_autogen_tracks_sources(${name} "${sources}")
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# kavri_test_folder(name [LIBS ...] [LABELS ...]): one test executable of every .cpp in the calling
# folder, run on the offscreen platform through the shared test main.
function(kavri_test_folder name)
  cmake_parse_arguments(ARG "" "" "LIBS;LABELS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${sources})
  kavri_autogen_tracks_sources(${name} "${sources}")
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} kavri_test_support GTest::gtest GTest::gmock)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               LABELS "${name};${ARG_LABELS}"
               TIMEOUT 300)
endfunction()
