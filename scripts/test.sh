#!/usr/bin/env bash
# Builds and runs every test: the plain build (with the end-to-end terminal tests), the
# suite again under AddressSanitizer and UndefinedBehaviorSanitizer, the audio engine's
# tests under ThreadSanitizer, the Windows build under Wine, and the release packages.
# Installs what is missing first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
# The X terminal tests need a virtual X server, real key events and three real terminals
# (GNOME Terminal with a session bus).
"$root/scripts/install-deps.sh" xvfb xdotool kitty xterm gnome-terminal dbus-daemon

configure() {  # directory, build type, sanitizers
  cmake -S "$root" -B "$root/build/$1" -DCMAKE_BUILD_TYPE="$2" -DVELDRA_SANITIZE="$3" >/dev/null
}

echo "== Tests (release build, benchmarks built too)"
configure tests RelWithDebInfo ""
cmake --build "$root/build/tests" -j"$jobs"
ctest --test-dir "$root/build/tests" --output-on-failure -j"$jobs"

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
configure asan Debug "address,undefined"
cmake --build "$root/build/asan" -j"$jobs" --target veldra_tests veldra_audio_tests veldra_soak_tests
# The soak runs a fifth of its million frames here: the sanitizers slow it tenfold.
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 VELDRA_SOAK_FRAMES=200000 \
  ctest --test-dir "$root/build/asan" --output-on-failure -j"$jobs" -L "unit|audio|soak"

echo "== Fuzz targets, a short run each (scripts/fuzz.sh SECONDS runs them longer)"
"$root/scripts/fuzz.sh" 10

echo "== Audio engine tests under ThreadSanitizer"
configure tsan Debug "thread"
cmake --build "$root/build/tsan" -j"$jobs" --target veldra_audio_tests
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir "$root/build/tsan" --output-on-failure -L audio

# One Wine prefix for the rest of the run: Wine's first start in it is slow.
WINEPREFIX="$(mktemp -d)"
export WINEPREFIX WINEDEBUG=-all
trap '"$(dirname "$(command -v wine64 || echo /usr/lib/wine/wine64)")/wineserver" -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT

echo "== The Windows build under Wine"
"$root/scripts/test_windows.sh"

echo "== Release packages, checked without installing them"
"$root/scripts/package.sh"
bash "$root/tests/package_test.sh" "$root/dist" "$(command -v wine64 || echo /usr/lib/wine/wine64)"
