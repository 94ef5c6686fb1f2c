#!/usr/bin/env bash
# Builds the game and veldra-web (installing what is missing, the page's xterm.js too) and
# serves the game to browsers with the arguments given (--help lists them): open
# http://127.0.0.1:8080/ to play, http://127.0.0.1:8080/watch to watch.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" web
cd "$root"
cmake --preset serve >/dev/null
cmake --build --preset serve -j"$(nproc)"
exec "$root/build/serve/veldra-web" "$@"
