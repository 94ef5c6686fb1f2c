#!/usr/bin/env bash
# Records the golden demos in tests/demos/ again, with the autopilot on the shipped levels.
# Run it when a change alters how the game plays on purpose (or changes a level file), and
# say in the commit why the demos changed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
(cd "$root" && cmake --preset tests >/dev/null)
cmake --build "$root/build/tests" -j"$(nproc)" --target veldra_make_demos veldra
"$root/build/tests/tests/veldra_make_demos" "$root/levels" "$root/tests/demos"
cd "$root/levels"
for demo in "$root"/tests/demos/*.vdm; do "$root/build/tests/veldra" --verify "$demo"; done
