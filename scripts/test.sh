#!/usr/bin/env bash
# Builds and runs every test, in stages, and says what each stage took:
# - the test build (optimised, the "check" preset: no unit suites) and its tests: the soak,
#   the golden recordings, the layering, and the games played in real terminals (tmux, X
#   terminals);
# - the unit suites and ALSA under AddressSanitizer and UndefinedBehaviorSanitizer (clang),
#   and the fuzz targets built beside them, a short run each;
# - the audio engine's tests under ThreadSanitizer;
# - the Windows build, its unit suites (GCC's build of them) and tests under Wine;
# - the release packages, checked without installing them.
# Installs what is missing first. Every build fails on a warning; with ccache a second run
# compiles only what changed. The builds take turns in the foreground, each on both cores;
# each one's tests go on in the background while the later ones build; the Windows build
# and its tests come last. The timed games take turns on locks: two in tmux panes, one on
# the virtual X server at a time.
# Under CI=true a test that would skip because a tool is missing fails instead.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs="$(nproc)"
logs="$root/build/logs"

summary=()
note_time() {  # stage, seconds
  summary+=("$(printf '%4d s  %s' "$2" "$1")")
}
print_summary() {
  echo "== Stage times (wall clock; background stages overlap the others)"
  printf '%s\n' "${summary[@]}"
  printf '%4d s  all\n' "$SECONDS"
}

# A stage in the foreground: its output as it comes; a failure ends the run.
stage() {  # name, command...
  local name="$1" began=$SECONDS
  shift
  echo "== $name"
  "$@"
  note_time "$name" $((SECONDS - began))
}

# A stage in the background: its output goes to a log, shown when the stage is joined.
declare -A background_pid background_began
log_of() { echo "$logs/$(echo "$1" | tr -cs 'a-zA-Z0-9' '-')"; }  # stage
in_background() {  # name, command...
  local name="$1" log
  log="$(log_of "$1")"
  shift
  echo "== $name (in the background)"
  background_began[$name]=$SECONDS
  ( status=0; "$@" || status=$?; echo "$SECONDS" >"$log.ended"; exit $status ) >"$log.log" 2>&1 &
  background_pid[$name]=$!
}
failed_stages=()
join() {  # name
  local name="$1" status=0 log
  log="$(log_of "$1")"
  wait "${background_pid[$name]}" || status=$?
  echo "== $name (joined)"
  cat "$log.log"
  note_time "$name" $(($(cat "$log.ended" 2>/dev/null || echo $SECONDS) - background_began[$name]))
  [ "$status" -eq 0 ] || failed_stages+=("$name")
}
finish() {
  local status=$?
  for pid in "${background_pid[@]}"; do kill "$pid" 2>/dev/null || true; done
  print_summary
  "$(dirname "$(command -v wine64 || echo /usr/lib/wine/wine64)")/wineserver" -k 2>/dev/null || true
  exit "$status"
}
trap finish EXIT

# The X terminal tests need a virtual X server, real key events and three real terminals
# (GNOME Terminal with a session bus); the fuzz targets clang's fuzzer runtime; the Windows
# build MinGW-w64, GoogleTest's sources and Wine; the packages dpkg-dev; veldra-web Boost,
# and its page's tests Chromium, Node.js and the page's npm packages.
stage "install what is missing" "$root/scripts/install-deps.sh" xvfb xdotool kitty xterm gnome-terminal dbus-daemon \
  clang libclang-rt-dev wine64 g++-mingw-w64-x86-64-posix googletest imagemagick dpkg-dev web chromium
mkdir -p "$logs"

in_background "wine prefix" "$root/scripts/wine_prefix.sh"
# The optimised build without the unit suites, which run under the sanitizers and under Wine.
# Its tests run three at a time: the timed games still take turns on their locks.
stage "build: tests" bash -c "cmake --preset check >/dev/null && cmake --build --preset check -j$jobs"
in_background "tests" ctest --preset check -j3

stage "build: asan (with the fuzz targets)" bash -c \
  "cmake --preset asan >/dev/null && cmake --build --preset asan -j$jobs && cmake --build --preset fuzz -j$jobs"
# The soak runs a fifth of its million frames here: the sanitizers slow it tenfold.
in_background "asan: unit, audio, ALSA and soak" ctest --preset asan -j"$jobs"
in_background "fuzz" "$root/scripts/fuzz.sh" 10

stage "build: tsan" bash -c "cmake --preset tsan >/dev/null && cmake --build --preset tsan -j$jobs"
in_background "tsan: audio engine" ctest --preset tsan

join "wine prefix"
stage "build: windows" "$root/scripts/test_windows.sh" --build-only
# Last, when the rest has (nearly) ended: the game in the Wine console counts its frames,
# which a loaded machine would starve.
stage "windows: tests under Wine" "$root/scripts/test_windows.sh" --tests-only

join "tests"
join "asan: unit, audio, ALSA and soak"
join "fuzz"
join "tsan: audio engine"

stage "packages" bash -c "'$root/scripts/package.sh' &&
  bash '$root/tests/package_test.sh' '$root/dist' '$(command -v wine64 || echo /usr/lib/wine/wine64)'"

if [ ${#failed_stages[@]} -gt 0 ]; then
  echo "FAILED: ${failed_stages[*]}"
  exit 1
fi
echo "All stages passed."
