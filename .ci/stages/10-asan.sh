#!/usr/bin/env bash
# The whole suite once more under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
# Line tables are enough for the sanitizers' stack traces, and much cheaper to build than full debug info.
# The program works harder under the sanitizers: a session takes two thirds of a core here.
bash "$root/scripts/build.sh" build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DKAVRI_BUILD_BENCH=OFF \
  -DKAVRI_SESSION_CORES=cores:2 \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=suppressions="$root/.ci/lsan.supp"
bash "$root/scripts/ctest_cores.sh" "$root/build-asan" --timeout 900
