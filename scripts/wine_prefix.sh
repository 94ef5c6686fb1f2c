#!/usr/bin/env bash
# Makes the Wine prefix the Windows tests run in, if it is not there yet: $WINEPREFIX when
# set, otherwise build/wine-prefix, kept between runs (Wine's first start in a prefix is slow,
# so the test command starts this early, beside its first build).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
wine="$(command -v wine64 || echo /usr/lib/wine/wine64)"
export WINEDEBUG=-all
export WINEPREFIX="${WINEPREFIX:-$root/build/wine-prefix}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  rm -rf "$WINEPREFIX"
  DISPLAY="" "$wine" wineboot -i >/dev/null 2>&1
  "$(dirname "$wine")/wineserver" -w
fi
