#!/usr/bin/env bash
# Cross-builds the Windows executable and its test suites with MinGW-w64 and runs them under
# Wine: the unit and audio suites, the golden demos, the fatal path, and a game in a Wine
# console on a virtual X server with its sound captured. Installs what is missing first.
# Uses $WINEPREFIX when set; otherwise prepares a prefix of its own for this run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
"$root/scripts/install-deps.sh" wine64 g++-mingw-w64-x86-64-posix googletest xvfb xdotool imagemagick

cmake -S "$root" -B "$root/build/windows" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DVELDRA_BUILD_TESTS=ON -DVELDRA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$root/build/windows" -j"$jobs"

wine="$(command -v wine64 || echo /usr/lib/wine/wine64)"
export WINEDEBUG=-all
if [ -z "${WINEPREFIX:-}" ]; then
  WINEPREFIX="$(mktemp -d)"
  export WINEPREFIX
  trap '"$(dirname "$wine")/wineserver" -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
fi
# Wine's first start in a prefix is slow: once, before the tests.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  DISPLAY="" "$wine" wineboot -i >/dev/null 2>&1
  "$(dirname "$wine")/wineserver" -w
fi
ctest --test-dir "$root/build/windows" --output-on-failure -j"$jobs"
