#!/usr/bin/env bash
# Makes the README's pictures in docs/screenshots/ from the game itself, in a real terminal
# (kitty, 100 x 32 cells, 24-bit colour) on a virtual X server:
# - title.png: the game's title page, and first-view.png: the first frame of play after
#   Return, from the game played in the terminal;
# - fight.png: the frame of the golden fight recording in which the first IGNIS bolt flies, as the game
#   composes it when it plays the recording back (veldra_view --recording);
# - indoor.png: the Axis Mundi's torch-lit axis, as the game draws it looking east along it.
# Installs what is missing first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" xvfb kitty imagemagick xdotool
cd "$root"
cmake --preset tests >/dev/null
cmake --build --preset tests --target veldra veldra_view >/dev/null
out="$root/docs/screenshots"
mkdir -p "$out"
work="$(mktemp -d)"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
trap 'pkill -f -- "$work/" 2>/dev/null; kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
unset WAYLAND_DISPLAY

# Runs a command in a new kitty window; its window id is in $work/<name>.window once it is up.
in_kitty() {  # name, command
  cat >"$work/$1.sh" <<RUN
echo "\$WINDOWID" >"$work/$1.window"
cd "$root/levels"
$2
RUN
  kitty --config NONE -o initial_window_width=100c -o initial_window_height=32c -o remember_window_size=no \
    -o font_size=12 -o cursor_blink_interval=0 bash "$work/$1.sh" >/dev/null 2>&1 &
  for _ in $(seq 1 100); do [ -s "$work/$1.window" ] && break; sleep 0.1; done
}
shoot() {  # window's name, picture's name
  import -window "$(cat "$work/$1.window")" "$out/$2.png"
  echo "$out/$2.png"
}
# A frame printed by veldra_view, held on the screen with the cursor hidden.
show_frame() {  # name, veldra_view arguments...
  local name="$1"
  shift
  in_kitty "$name" "printf '\\e[?25l'; '$root/build/tests/veldra_view' $* --24bit | head -c -1; sleep 600"
  sleep 2
  shoot "$name" "$name"
}

in_kitty game "VELDRA_FAREWELL_MS=0 '$root/build/tests/veldra'"
sleep 3
shoot game title
xdotool windowfocus --sync "$(cat "$work/game.window")"
xdotool key Return
sleep 1
shoot game first-view
xdotool key Escape

recording="$root/tests/demos/fight.vdm"
bolt="$(cd levels && "$root/build/tests/veldra_view" --recording "$recording" --list | awk -F'[ ,:]+' '$4 > 0 && !found { print $1; found = 1 }')"
show_frame fight --recording "$recording" --frame "$bolt"
show_frame indoor "$root/levels/iaxismundi.txt" 20.5 7.5 0 --size 100x32
