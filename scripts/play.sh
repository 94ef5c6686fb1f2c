#!/usr/bin/env bash
# Builds the game (installing what is missing) and starts it in levels/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release \
  -DVELDRA_BUILD_TESTS=OFF -DVELDRA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$root/build/release" --target veldra -j"$(nproc)"
cd "$root/levels"
exec "$root/build/release/veldra"
