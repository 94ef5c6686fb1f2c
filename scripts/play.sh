#!/usr/bin/env bash
# Builds the game (installing what is missing) and starts it in levels/, with the arguments
# given (./scripts/play.sh --help lists them).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cd "$root"
cmake --preset play >/dev/null
cmake --build --preset play -j"$(nproc)"
cd "$root/levels"
exec "$root/build/play/veldra" "$@"
