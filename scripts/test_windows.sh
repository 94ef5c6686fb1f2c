#!/usr/bin/env bash
# Cross-builds the Windows executable and its test suites with MinGW-w64 and runs them under
# Wine: the unit and audio suites, the golden demos, the fatal path, and a game in a Wine
# console on a virtual X server with its sound captured. Installs what is missing first.
# Uses $WINEPREFIX when set; otherwise a prefix in build/wine-prefix, made on the first run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
"$root/scripts/install-deps.sh" wine64 g++-mingw-w64-x86-64-posix googletest xvfb xdotool imagemagick

cd "$root"
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"

wine="$(command -v wine64 || echo /usr/lib/wine/wine64)"
export WINEDEBUG=-all
# A prefix of this checkout's own, kept between runs: Wine's first start in a prefix is slow.
export WINEPREFIX="${WINEPREFIX:-$root/build/wine-prefix}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  rm -rf "$WINEPREFIX"
  DISPLAY="" "$wine" wineboot -i >/dev/null 2>&1
  "$(dirname "$wine")/wineserver" -w
fi
ctest --preset windows -j"$jobs"
