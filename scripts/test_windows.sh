#!/usr/bin/env bash
# Cross-builds the Windows executable and its test suites with MinGW-w64 and runs them under
# Wine: the unit and audio suites, the golden recordings, the fatal path, and a game in a Wine
# console on a virtual X server with its sound captured. Installs what is missing first.
# Uses $WINEPREFIX when set; otherwise a prefix in build/wine-prefix, made on the first run.
# Usage: test_windows.sh [--build-only | --tests-only]   (the test command runs them apart)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
"$root/scripts/install-deps.sh" wine64 g++-mingw-w64-x86-64-posix googletest xvfb xdotool imagemagick

cd "$root"
if [ "${1:-}" != "--tests-only" ]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j"$jobs"
fi
[ "${1:-}" == "--build-only" ] && exit 0

export WINEDEBUG=-all
export WINEPREFIX="${WINEPREFIX:-$root/build/wine-prefix}"
"$root/scripts/wine_prefix.sh"
ctest --preset windows -j"$jobs"
