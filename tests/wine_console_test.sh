#!/usr/bin/env bash
# The Windows build in a Wine console window on a virtual X server, keys pressed with
# xdotool as a keyboard presses them: the title, Enter, forward for a second, the mouse
# across the window and back (the view turns with it), Esc; the console's input mode is
# the same after the game as before. The game
# exits with status 0; its recording shows the keys it read; its sound, played through
# waveOut and Wine's ALSA driver into ALSA's file plugin, begins with the start tone.
set -u
game="$1"
levels="$2"
wine="$3"
wav_tone="$4"
recording_keys="$5"
console_mode="$6"
xinput_double="$7"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A missing tool skips the test, or under CI=true (where every tool is installed) fails it.
for tool in Xvfb xdotool import convert; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    [ "${CI:-}" == "true" ] && { echo "FAIL: $tool is not installed (scripts/install-deps.sh installs it)"; exit 1; }
    echo "SKIPPED: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done
# Wine hands its environment to the game: no farewell pause to wait out.
export VELDRA_FAREWELL_MS=0

work="$(mktemp -d)"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
# Wine's processes of this prefix, this test's game among them, end with the test. Any
# left from before go first: they would draw on the display they were started with.
wineserver="$(dirname "$wine")/wineserver"
"$wineserver" -k 2>/dev/null
"$wineserver" -w 2>/dev/null
trap '"$wineserver" -k 2>/dev/null; kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start: $(cat "$work/xvfb.log")"; exit 1; }
export DISPLAY=":$(cat "$work/display")"

# The default ALSA device, for this test's own HOME only: a WAV file of what is played.
mkdir -p "$work/home"
cat >"$work/home/.asoundrc" <<ASOUND
pcm.!default {
  type file
  slave.pcm "null"
  file "$work/capture.wav"
  format "wav"
}
ASOUND

# How much of the window is not black: the title is mostly black, a game frame is not.
lit() { import -window "$window" "$work/shot.png" 2>/dev/null &&
        convert "$work/shot.png" -fill white +opaque black -format '%[fx:mean]' info: 2>/dev/null; }
press() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }

# wineconsole ends with status 0 whatever its program did: a batch file run by Wine's cmd
# notes the game's own status.
winpath() { "$wine" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
# The game is a copy beside the stand-in for XInput (a pad with X held for a few frames of
# the title, where X does nothing), which Wine is told to take over its own.
mkdir -p "$work/game"
cp "$game" "$xinput_double" "$work/game/"
game="$work/game/$(basename "$game")"
export WINEDLLOVERRIDES="xinput1_4=n,b"
# Around it the console's input mode is noted, before the game and after it, before the
# status is.
printf '@echo off\r\n"%s" > "%s"\r\n"%s" --record "%s"\r\nset STATUS=%%ERRORLEVEL%%\r\n"%s" > "%s"\r\necho EXIT=%%STATUS%%> "%s"\r\n' \
  "$(winpath "$console_mode")" "$(winpath "$work")\\mode-before" \
  "$(winpath "$game")" "$(winpath "$work")\\game.vdm" \
  "$(winpath "$console_mode")" "$(winpath "$work")\\mode-after" "$(winpath "$work")\\exit" >"$work/run.bat"
cd "$levels"
HOME="$work/home" "$wine" wineconsole cmd /c "$(winpath "$work/run.bat")" >"$work/console.log" 2>&1 &

window=""
for _ in $(seq 1 300); do
  window="$(xdotool search --name 'cmd\.exe|veldra\.exe' 2>/dev/null | head -1)"
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "FAIL: no Wine console window appeared"; cat "$work/console.log"; exit 1; }
xdotool windowfocus --sync "$window"

# The title: a few lines of text on black.
title=0
for _ in $(seq 1 100); do
  share="$(lit)"
  awk -v s="${share:-0}" 'BEGIN { exit !(s > 0.002 && s < 0.2) }' && { title=1; break; }
  sleep 0.1
done
[ $title -eq 1 ] || fail "the title did not show (lit share ${share:-none})"
cp "$work/shot.png" "$work/title.png"

press Return 0.15
sleep 1
share="$(lit)"
awk -v s="${share:-0}" 'BEGIN { exit !(s > 0.25) }' || fail "after Enter no game frame showed (lit share ${share:-none})"
before="$(md5sum <"$work/shot.png")"
press Up 1
sleep 0.3
lit >/dev/null
[ "$(md5sum <"$work/shot.png")" != "$before" ] || fail "walking forward changed nothing on the screen"
# The mouse, in small steps across the window and back: the view turns with it.
read -r wx wy ww _ < <(xdotool getwindowgeometry "$window" | awk '/Position/ { split($2, p, ","); x = p[1]; y = p[2] }
  /Geometry/ { split($2, g, "x"); print x, y, g[1], g[2] }')
for step in $(seq 4 2 40) $(seq 40 -2 4); do
  xdotool mousemove "$((wx + ww * step / 44))" "$((wy + 200))"
  sleep 0.03
done
sleep 0.3
press Escape 0.15

for _ in $(seq 1 150); do [ -s "$work/exit" ] && break; sleep 0.1; done  # written whole by one write
[ "$(tr -d '\r ' <"$work/exit" 2>/dev/null)" == "EXIT=0" ] || fail "the game ended with '$(cat "$work/exit" 2>/dev/null)'"

# What the game read: Enter, then Up for about a second (some 60 frames), then Esc.
if "$wine" "$recording_keys" "$work/game.vdm" 2>/dev/null | tr -d '\r' >"$work/keys"; then
  grep -qE '^[0-9]+: 13$' "$work/keys" || fail "the recording never saw Enter"
  up=$(grep -cE '^[0-9]+: 38$' "$work/keys")
  [ "$up" -ge 30 ] && [ "$up" -le 90 ] || fail "Up was down in $up frames, expected about 60"
  grep -qE '^[0-9]+: 27$' "$work/keys" || fail "the recording never saw Esc"
  x=$(grep -cE '^[0-9]+: 197$' "$work/keys")
  [ "$x" -eq 10 ] || fail "the pad's X (key 197) was down in $x frames, expected 10 (XInput's stand-in)"
  right=$(grep -cE 'turn=[1-9]' "$work/keys")
  left=$(grep -cE 'turn=-[1-9]' "$work/keys")
  [ "$right" -ge 5 ] && [ "$left" -ge 5 ] ||
    fail "the mouse across the console turned the view in $right frames right and $left left"
else
  fail "the recording could not be read"
fi

# The console's input mode is given back as it was (mouse events and quick-edit).
[ -s "$work/mode-before" ] && [ "$(cat "$work/mode-before")" == "$(cat "$work/mode-after" 2>/dev/null)" ] ||
  fail "the console's input mode was $(cat "$work/mode-before" 2>/dev/null) before the game, $(cat "$work/mode-after" 2>/dev/null) after"

# The start tone glides from 200 to 800 Hz over 0.25 s; its phase is frequency times
# time, so its pitch sweeps from 200 to 1,400 Hz: about 320 Hz over its first 50 ms and
# about 1,280 Hz over its last.
tone="$("$wine" "$wav_tone" "$work/capture.wav" 0.25 2>&1 | tr -d '\r')"
read -r start end <<<"$tone"
awk -v s="${start:-0}" -v e="${end:-0}" 'BEGIN { exit !(s > 280 && s < 360 && e > 1200 && e < 1360) }' ||
  fail "the captured sound does not begin with the start tone: $tone"

echo "wine_console: $failures failed"
[ "$failures" -eq 0 ]
