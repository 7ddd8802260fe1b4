#!/usr/bin/env bash
# The threading tests under ThreadSanitizer: play workers, the play controller, concurrent and
# cancelled device writes, the simulated interfaces, the device reset worker, the segment and
# editor play loops and the show's tracks, clock and playback. Only the test programs that hold
# such tests are built; in each, the tests whose suite or name contains "Threads" run (name every
# test that starts threads that way to have it checked here).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build-tsan"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DKAVRI_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
programs=(tests/engine/kavri_engine_tests tests/platform/kavri_platform_tests tests/shell/kavri_shell_tests
          tests/segments/kavri_segments_tests tests/editor/kavri_editor_tests
          tests/quickplay/kavri_quickplay_tests tests/shows/kavri_shows_tests)
emulated=tests/platform/emulated/kavri_usb_emulated_tests
targets=()
for p in "${programs[@]}" "$emulated"; do targets+=("$(basename "$p")"); done
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}"
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$root/.ci/tsan.supp"
export QT_QPA_PLATFORM=offscreen
# The programs run side by side, as many as there are cores: their tests mostly wait for threads to
# end, so one at a time left the cores idle. Each keeps its own log, shown whole when it failed.
logs="$build/threads-logs"
rm -rf "$logs"
mkdir -p "$logs"
run_threads() {
  local program=$1 wrapper=${2:-}
  local log="$logs/$(basename "$program").txt"
  if $wrapper "$build/$program" --gtest_filter='*Threads*' --gtest_repeat=3 >"$log" 2>&1; then
    echo "--- $(basename "$program"): $(grep -c '^\[       OK \]' "$log") runs passed"
  else
    echo "--- $(basename "$program") FAILED; its log:"
    cat "$log"
    return 1
  fi
}
status=0
running=0
for p in "${programs[@]}" "$emulated"; do
  if [ "$p" = "$emulated" ]; then run_threads "$p" umockdev-wrapper & else run_threads "$p" & fi
  running=$((running + 1))
  if [ "$running" -ge "$(nproc)" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
done
while [ "$running" -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
exit $status
