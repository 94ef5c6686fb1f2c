#!/usr/bin/env bash
# The frame's benchmarks of this tree and of an older revision, built side by side and run
# alternately in one run, so that both see the same machine: BM_PlayFrame and the Testing
# Grounds' BM_RenderFrame, five rounds each, then the median of each.
#
#     tools/bench_against.sh REV [ROUNDS]    (REV: a commit, e.g. the one before a change)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
rev="$1"
rounds="${2:-5}"
old="$(mktemp -d)"
trap 'git -C "$root" worktree remove --force "$old/tree" >/dev/null 2>&1 || true; rm -rf "$old"' EXIT
git -C "$root" worktree add --detach "$old/tree" "$rev" >/dev/null 2>&1
targets=(--target veldra_bench_world --target veldra_bench_render)
for tree in "$root" "$old/tree"; do
  (cd "$tree" && cmake --preset tests >/dev/null && cmake --build --preset tests "${targets[@]}" >/dev/null)
done
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
run() {  # tree, benchmark binary, filter: the time of one run, in microseconds
  "$1/build/tests/bench/$2" --benchmark_filter="$3" --benchmark_min_time=1 --benchmark_format=csv 2>/dev/null |
    awk -F, 'NR > 1 { print $3 }' | head -1
}
for round in $(seq 1 "$rounds"); do
  for tree in "$old/tree" "$root"; do
    name="$([ "$tree" == "$root" ] && echo now || echo "$rev")"
    echo "$name play $(run "$tree" veldra_bench_world '^BM_PlayFrame')"
    echo "$name render $(run "$tree" veldra_bench_render '^BM_RenderFrame/0$')"
  done
done | tee "$old/times" | sed "s/^/  round: /"
for what in play render; do
  then="$(awk -v w="$what" -v r="$rev" '$1 == r && $2 == w { print $3 }' "$old/times" | median)"
  now="$(awk -v w="$what" '$1 == "now" && $2 == w { print $3 }' "$old/times" | median)"
  echo "$what frame: $rev ${then} us, now ${now} us ($(awk -v a="$now" -v b="$then" 'BEGIN { printf "%.0f", 100 * a / b }')% of it)"
done
