#!/usr/bin/env bash
# The threading tests under ThreadSanitizer: play workers, the play controller and concurrent
# device writers. Only the engine test program is built; only tests whose suite or name contains
# "Threads" run (name new threading tests that way to have them checked here).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build-tsan"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAVRI_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target kavri_engine_tests
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$root/.ci/tsan.supp"
QT_QPA_PLATFORM=offscreen "$build/tests/engine/kavri_engine_tests" --gtest_filter='*Threads*' --gtest_repeat=3
