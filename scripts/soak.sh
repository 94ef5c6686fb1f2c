#!/usr/bin/env bash
# The soak for longer than the test suite runs it: random keys on both shipped levels,
# every invariant checked after every frame. Usage: scripts/soak.sh [frames] (default 20
# million).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
(cd "$root" && cmake --preset tests >/dev/null)
cmake --build "$root/build/tests" -j"$(nproc)" --target veldra_soak_tests
VELDRA_SOAK_FRAMES="${1:-20000000}" "$root/build/tests/tests/veldra_soak_tests"
