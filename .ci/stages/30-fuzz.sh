#!/usr/bin/env bash
# Each file reader's fuzz target, built with clang's libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer, runs for a while from the committed seed corpus. Any crash, hang,
# leak or broken round trip fails the stage. They run side by side to save wall time.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build-fuzz"
seconds=${KAVRI_FUZZ_SECONDS:-60}
readers=(drawing segment ilda show picture hpgl)

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DCMAKE_CXX_COMPILER=clang++ \
  -DKAVRI_BUILD_TESTS=OFF -DKAVRI_BUILD_BENCH=OFF -DKAVRI_BUILD_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target "${readers[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=suppressions="$root/.ci/lsan.supp"
pids=()
for reader in "${readers[@]}"; do
  work="$build/runs/$reader"
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/artifacts"
  # New inputs go to the first folder, so the committed seeds stay as they are.
  "$build/fuzz/fuzz_$reader" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" "$root/fuzz/corpus/$reader" \
    >"$work/log.txt" 2>&1 &
  pids+=($!)
done
status=0
for i in "${!readers[@]}"; do
  reader=${readers[$i]}
  if wait "${pids[$i]}"; then
    echo "fuzz_$reader: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$build/runs/$reader/log.txt" || true)"
  else
    status=1
    echo "fuzz_$reader FAILED; its log:"
    tail -n 60 "$build/runs/$reader/log.txt"
    ls -l "$build/runs/$reader/artifacts"
  fi
done
exit $status
