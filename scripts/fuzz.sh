#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, with AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs each for the given seconds (default 60), side by side: the level loader, the
# keyboard decoder and the frame encoder. Seeds come from fuzz/corpus/ and the shipped levels; what the
# fuzzer learns stays in build/asan/corpus/. A finding stops the run with its input saved in
# build/asan/findings/ (turn it into a regression test in the ordinary suite).
# Usage: scripts/fuzz.sh [seconds]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
"$root/scripts/install-deps.sh" clang libclang-rt-dev
# The fuzz targets live in the sanitizer build (the "asan" preset), beside the unit suites.
build="$root/build/asan"
(cd "$root" && cmake --preset asan >/dev/null && cmake --build --preset fuzz -j"$(nproc)" >/dev/null)

mkdir -p "$build/findings"
# One target's run; its verdict is printed when all have ended.
fuzz_target() {  # target
  local target="$1" corpus="$build/corpus/$1" log="$build/$1.log"
  mkdir -p "$corpus"
  cp -n "$root/fuzz/corpus/$target/"* "$corpus/" 2>/dev/null || true
  [ "$target" == level_loader ] && cp -n "$root/levels/"*.txt "$corpus/"
  # Corpus and findings by absolute path: the level loader's target works in a folder of its own.
  if UBSAN_OPTIONS=halt_on_error=1 "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$build/findings/$target-" "$corpus" >"$log" 2>&1; then
    runs="$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$')"
    echo "fuzz $target: $runs inputs in $seconds s, nothing found"
  else
    echo "fuzz $target: FOUND A FAULT (input in $build/findings/, log in $log)"
    grep -E "ERROR|broken:|SUMMARY" "$log" | head -5
    return 1
  fi
}

# The targets run side by side: each is one process, and the machine has more than one core.
targets=(level_loader key_decoder frame_encoder)
declare -A pids
for target in "${targets[@]}"; do
  fuzz_target "$target" >"$build/$target.verdict" &
  pids[$target]=$!
done
status=0
for target in "${targets[@]}"; do
  wait "${pids[$target]}" || status=1
  cat "$build/$target.verdict"
done
exit $status
