#!/usr/bin/env bash
# The game in real terminals on a virtual X server, keys pressed as a keyboard presses them
# (xdotool: X key events, each press and release its own event):
# - kitty, which speaks the keyboard protocol: a tap of Return, pressed and released within
#   a millisecond, starts the game; it takes 24-bit colour, so the first view's sky, walls
#   and health bar show the game's palette exactly (a screenshot read by ImageMagick);
# - xterm, which does not: the game reads the X server's key map, so Up and Right held
#   together walk and turn at once, and a lone Left Ctrl is seen; with TERM=xterm-256color
#   and no COLORTERM the same cells show the nearest entries of the 256-colour palette;
# - xterm again without $WINDOWID and as if under Wayland, so with only the characters the
#   keyboard's auto-repeat types: a tap turns a few frames, a held key a first few, then
#   after the repeat delay without a break;
# - GNOME Terminal, which sets no $WINDOWID: the X server's key map is read while the
#   terminal's focus reports say it has the focus, so a lone Left Ctrl and Up with Right
#   reach the game exactly; under Wayland it stays with the characters, and F is the staff;
#   there the mouse turns the view and its buttons swing the staff and walk.
# Screens are read through the terminals themselves (kitty's remote control, xterm's
# print-immediate); what the game read in xterm comes from a recording of the game.
name=e2e_x11
source "${BASH_SOURCE[0]%/*}/e2e_common.sh" || exit 1
recording_keys="$3"
view="$4"

for tool in Xvfb xdotool kitty xterm gnome-terminal dbus-run-session setsid; do
  command -v "$tool" >/dev/null 2>&1 || skip_for_lack_of "$tool"
done

# A virtual X server on a free display.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
end_sessions() {
  local leader
  for leader in $(cat "$work/sessions" 2>/dev/null); do kill -- "-$leader" 2>/dev/null; done
}
trap 'end_sessions; kill $xvfb 2>/dev/null; pkill -f -- "$work/" 2>/dev/null; cleanup' EXIT
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start: $(cat "$work/xvfb.log")"; exit 1; }
export DISPLAY=":$(cat "$work/display")"


# Waits up to `seconds` for a command's output to contain a text.
wait_output() {  # seconds, text, command...
  local seconds="$1" text="$2"
  shift 2
  for _ in $(seq 1 $((seconds * 10))); do
    "$@" 2>/dev/null | grep -qF -- "$text" && return 0
    sleep 0.1
  done
  fail "waited $seconds s for '$text'"
  "$@" 2>/dev/null | sed 's/^/    | /'
  return 1
}

# Whether a block of cells of a 100 x 32 terminal window has a pixel of exactly this colour.
cells_show() {  # window, first column, first row, columns, rows, RRGGBB
  import -window "$1" "$work/shot.png" 2>/dev/null || return 1
  local width height
  read -r width height < <(identify -format '%w %h' "$work/shot.png")
  local cw=$((width / 100)) ch=$((height / 32))
  local bx=$(((width - 100 * cw) / 2)) by=$(((height - 32 * ch) / 2))
  convert "$work/shot.png" -crop "$(($4 * cw))x$(($5 * ch))+$((bx + $2 * cw))+$((by + $3 * ch))" +repage \
    -unique-colors txt: 2>/dev/null | grep -qi "#$6"
}
# The first view of the first level: sky (light blue blocks) along the top row, walls ('X'
# in grey) on the left, and the health bar's two red blocks.
first_view_shows() {  # window, sky, wall, bar colours
  cells_show "$1" 20 0 9 1 "$2" || fail "the sky does not show #$2"
  cells_show "$1" 5 14 21 5 "$3" || fail "the walls do not show #$3"
  cells_show "$1" 6 1 2 1 "$4" || fail "the health bar does not show #$4"
}

# Waits for the game started by run_script to end; its "EXIT=status" line.
wait_exit() {  # folder
  for _ in $(seq 1 150); do [ -f "$1/exit" ] && break; sleep 0.1; done
  cat "$1/exit" 2>/dev/null
}

# The script a terminal runs: the game in levels/ with the given arguments, its window's id
# and exit status noted in `folder`.
run_script() {  # folder, arguments...
  local folder="$1"
  shift
  mkdir -p "$folder"
  cat >"$folder/run.sh" <<RUN
echo "\$WINDOWID" >"$folder/window"
[ -f "$folder/no-windowid" ] && unset WINDOWID
[ -f "$folder/wayland" ] && export WAYLAND_DISPLAY=wayland-0
cd "$levels"
export VELDRA_FAREWELL_MS=0
"$game" $*
echo "EXIT=\$?" >"$folder/exit.part" && mv "$folder/exit.part" "$folder/exit"  # appears whole
RUN
}

# --- a terminal that never reports its focus ------------------------------------------------
# A tmux pane (focus events off) with the X server there but no WINDOWID: the game never
# hears that its terminal has the focus, so it must not read the X server's keys at all, or
# keys typed into any other window would move it.
play_in_pane unfocused "$levels" "--record $work/unfocused.vdm"
if wait_for unfocused "PRESS ENTER TO START VELDRA!"; then
  tm send-keys -t unfocused Enter
  wait_for unfocused "HP: "
  xdotool keydown Up
  sleep 0.5
  xdotool keyup Up
  sleep 0.2
  quit_and_check unfocused
  ! "$recording_keys" "$work/unfocused.vdm" | grep -qE ': ([0-9]+ )*38( |$)' ||
    fail "keys typed elsewhere reached a game whose terminal never said it has the focus"
fi

# --- kitty ---------------------------------------------------------------------------------
k="$work/kitty"
run_script "$k" --record "$k/game.vdm"
kitty --config NONE -o allow_remote_control=yes --listen-on "unix:$k/socket" \
  -o initial_window_width=100c -o initial_window_height=32c -o remember_window_size=no \
  bash "$k/run.sh" >"$k/log" 2>&1 &
kitty_text() { kitty @ --to "unix:$k/socket" get-text; }
if wait_output 30 "PRESS ENTER TO START VELDRA!" kitty_text; then
  xdotool windowfocus --sync "$(cat "$k/window")"
  xdotool key Return
  wait_output 10 "HP: " kitty_text || fail "in kitty, a tap of Return did not start the game"
  first_view_shows "$(cat "$k/window")" 0000FF C0C0C0 FF0000
  xdotool key Escape
  [ "$(wait_exit "$k")" == "EXIT=0" ] || fail "in kitty the game ended with '$(wait_exit "$k")'"
  # Exact keys throughout: no letter stands in for a modifier there.
  "$recording_keys" "$k/game.vdm" | awk '/: 13( |$)/ { on = 1 } on && /~$/ { bad = 1 } END { exit !bad }' &&
    fail "in kitty the keys were not exact in some frames"
else
  sed 's/^/    kitty: /' "$k/log"
fi

# --- xterm ---------------------------------------------------------------------------------
# Starts the game in an xterm, recording, with F9 bound to write xterm's screen to a file in
# the folder (F9 is no game key).
start_xterm() {  # folder
  (cd "$1" && xterm -tn xterm-256color -geometry 100x32 -xrm 'XTerm.vt100.printOptsImmediate: 1' \
    -xrm 'XTerm.vt100.translations: #override <Key>F9: print-immediate()' -e bash "$1/run.sh" >"$1/log" 2>&1 &)
  for _ in $(seq 1 100); do [ -s "$1/window" ] && break; sleep 0.1; done
  xdotool windowfocus --sync "$(cat "$1/window")"
}
x="$work/xterm"
xterm_text() {
  rm -f "$x"/XTerm*
  xdotool key F9
  for _ in $(seq 1 20); do ls "$x"/XTerm* >/dev/null 2>&1 && break; sleep 0.05; done
  sleep 0.05
  cat "$x"/XTerm* 2>/dev/null
}
# The minimap's arrow and cells: rows 2 to 14, columns 86 to 98 of a 100-column frame.
xterm_minimap() { xterm_text | sed -n '2,14p' | LC_ALL=C.UTF-8 sed -E 's/^.{85}(.{13}).*/\1/'; }
xterm_arrow() { xterm_text | sed -n '8p' | LC_ALL=C.UTF-8 sed -E 's/^.{91}(.).*/\1/'; }

run_script "$x" --record "$x/game.vdm"
start_xterm "$x"
if wait_output 30 "PRESS ENTER TO START VELDRA!" xterm_text; then
  xdotool key Return
  wait_output 10 "HP: " xterm_text || fail "in xterm, a tap of Return did not start the game"
  [ "$(xterm_arrow)" == ">" ] || fail "in xterm the start faces east, the arrow shows '$(xterm_arrow)'"
  first_view_shows "$(cat "$x/window")" 0000FF BCBCBC FF0000
  map_before="$(xterm_minimap)"
  xdotool keydown Up keydown Right
  sleep 1
  xdotool keyup Up keyup Right
  sleep 0.3
  [ "$(xterm_arrow)" != ">" ] || fail "in xterm, holding Right with Up did not turn"
  [ "$(xterm_minimap)" != "$map_before" ] || fail "in xterm, holding Up with Right did not walk"
  xdotool keydown Control_L
  sleep 0.3
  xdotool keyup Control_L
  sleep 0.2
  xdotool key Escape
  [ "$(wait_exit "$x")" == "EXIT=0" ] || fail "in xterm the game ended with '$(wait_exit "$x")'"

  # What the game read: Up (38) and Right (39) down together for most of a second, and
  # Left Ctrl (162, with the generic Ctrl 17) alone, which no terminal byte could have told.
  "$recording_keys" "$x/game.vdm" >"$x/keys" || fail "the recording of the xterm game could not be read"
  together=$(grep -cE '^[0-9]+: 38 39$' "$x/keys")
  [ "$together" -ge 30 ] || fail "Up and Right were down together in $together frames, expected about 60"
  ctrl=$(grep -cE '^[0-9]+: 17 162$' "$x/keys")
  [ "$ctrl" -ge 5 ] || fail "a lone Left Ctrl was seen in $ctrl frames, expected about 18"
  # Exact keys from the Return on (before it the window may not have had the focus yet).
  awk '/: 13( |$)/ { on = 1 } on && /~$/ { bad = 1 } END { exit !bad }' "$x/keys" &&
    fail "in xterm the keys were not exact in some frames"
else
  sed 's/^/    xterm: /' "$x/log"
fi

# --- xterm without the X server's keys ------------------------------------------------------
l="$work/legacy"
run_script "$l" --record "$l/game.vdm"
touch "$l/no-windowid" "$l/wayland"
start_xterm "$l"
sleep 2  # the title is up well before this
xdotool key Return
sleep 1
xdotool key Right
sleep 1
xdotool keydown Right  # the X server repeats it: after 660 ms, 25 times a second
sleep 1.5
xdotool keyup Right
sleep 0.5
xdotool key Escape
if [ "$(wait_exit "$l")" == "EXIT=0" ] && "$recording_keys" "$l/game.vdm" >"$l/keys"; then
  # Runs of frames with Right (39) down, in order: the tap's, the hold's first character's,
  # and the hold's auto-repeat. A machine busy with other work may deliver a repeat late
  # enough to break the auto-repeat's run once or twice; a hold that does not bridge the
  # repeats breaks it at every one.
  runs="$(awk '{ d = ($2 == "39") } d { n++ } !d && n { print n; n = 0 }' "$l/keys" | tr '\n' ' ')"
  read -r tap first repeat <<<"$runs"
  pieces=$(wc -w <<<"${repeat:-}")
  longest=$(tr ' ' '\n' <<<"${repeat:-0}" | sort -n | tail -1)
  [ "$pieces" -ge 1 ] && [ "$pieces" -le 3 ] || fail "without X keys Right was down in runs of '$runs' frames"
  [ "${tap:-99}" -le 4 ] && [ "${first:-99}" -le 4 ] || fail "without X keys a tap of Right lasted ${tap:-?} and ${first:-?} frames"
  [ "${longest:-0}" -ge 25 ] || fail "without X keys the auto-repeat held Right for only ${longest:-0} frames in a row"
else
  fail "the game in xterm without X keys ended with '$(wait_exit "$l")' or left no recording"
fi

# --- GNOME Terminal --------------------------------------------------------------------------
# It needs a session bus and its server running before the terminal is asked for a window.
# Everything the session starts (the bus, the terminal's server, the services the bus
# activates) lives in a process group of its own, writes to a log, and ends with the test:
# nothing is left holding the test's output open.
gnome_game() {  # folder: runs run.sh in a GNOME Terminal window and waits for the game's end
  setsid dbus-run-session -- bash -c "
    LANG=C.UTF-8 /usr/libexec/gnome-terminal-server >'$1/server.log' 2>&1 &
    sleep 2
    LANG=C.UTF-8 gnome-terminal --geometry=100x32 -- bash '$1/run.sh' >'$1/log' 2>&1
    for _ in \$(seq 1 300); do [ -f '$1/exit' ] && break; sleep 0.1; done" >"$1/session.log" 2>&1 &
  echo $! >>"$work/sessions"
}
gnome_window() {
  for _ in $(seq 1 100); do
    xdotool search --onlyvisible --class gnome-terminal 2>/dev/null | tail -1 | grep . && return
    sleep 0.1
  done
}
# A recorded game in GNOME Terminal: Return, then the keys a command presses, then Esc; what
# the game read ends up in folder/keys. False, with the terminal's logs, when it went wrong.
gnome_play() {  # folder, command pressing keys
  local folder="$1" window
  gnome_game "$folder"
  window="$(gnome_window)"
  sleep 2
  [ -n "$window" ] || { sed 's/^/    gnome-terminal: /' "$folder/log" "$folder/server.log"; return 1; }
  timeout 10 xdotool windowfocus --sync "$window"
  xdotool key Return
  sleep 1
  "$2"
  xdotool key Escape
  [ "$(wait_exit "$folder")" == "EXIT=0" ] && "$recording_keys" "$folder/game.vdm" >"$folder/keys"
}

g="$work/gnome"
run_script "$g" --record "$g/game.vdm"
ctrl_then_up_and_right() {
  xdotool keydown Control_L
  sleep 0.3
  xdotool keyup Control_L
  xdotool keydown Up keydown Right
  sleep 1
  xdotool keyup Up keyup Right
  sleep 0.2
}
if gnome_play "$g" ctrl_then_up_and_right; then
  ctrl=$(grep -cE '^[0-9]+: 17 162$' "$g/keys")
  [ "$ctrl" -ge 5 ] || fail "in GNOME Terminal a lone Left Ctrl was seen in $ctrl frames, expected about 18"
  together=$(grep -cE '^[0-9]+: 38 39$' "$g/keys")
  [ "$together" -ge 30 ] || fail "in GNOME Terminal Up and Right were down together in $together frames, expected about 60"
else
  fail "the game in GNOME Terminal did not run its course (exit '$(wait_exit "$g")')"
fi

# Under Wayland the X server cannot see the terminal's keys: characters only, and F swings.
w="$work/gnome-wayland"
run_script "$w" --record "$w/game.vdm"
touch "$w/wayland"
tap_f() {
  xdotool key f
  sleep 0.3
}
# And the mouse: moved right across the window and back, rested at its right edge, a click
# of the left button, the right one held for a second.
use_the_mouse() {
  local window
  window="$(gnome_window)"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool key f
  sleep 0.3
  for x in $(seq 100 20 700) -- $(seq 700 -20 100); do
    [ "$x" == "--" ] && { sleep 0.3; continue; }
    xdotool mousemove --window "$window" "$x" 200
    sleep 0.02
  done
  sleep 0.3
  # On to the edge in small steps: a terminal reports nothing past its last column.
  for x in $(seq 700 4 $((WIDTH + 20))); do xdotool mousemove --window "$window" "$x" 200; done
  sleep 1
  xdotool mousemove --window "$window" $((WIDTH / 2)) 200
  sleep 0.3
  xdotool click 1
  sleep 0.3
  xdotool mousedown 3
  sleep 1
  xdotool mouseup 3
  sleep 0.3
}
if gnome_play "$w" use_the_mouse; then
  grep -qE '^[0-9]+: 70 ~$' "$w/keys" || fail "under Wayland F did not reach the game as a legacy key"
  ! grep -qE ' (17|162)( |$)' "$w/keys" || fail "under Wayland a lone Ctrl was seen"
  # Turns right in many frames, then left in many, each soon after its motion; the angle
  # (from the game played back) rose and fell by about the same.
  turns="$(grep -oE 'turn=-?' "$w/keys" | uniq -c | awk '{ printf "%s%s ", $1, ($2 == "turn=-" ? "L" : "R") }')"
  [[ "$turns" =~ ^([0-9]+)R\ ([0-9]+)L\  ]] && [ "${BASH_REMATCH[1]}" -ge 10 ] && [ "${BASH_REMATCH[2]}" -ge 10 ] ||
    fail "moving the mouse right and back turned in runs of '$turns' frames"
  [ "$(grep -c 'edge=1' "$w/keys")" -ge 40 ] || fail "the pointer rested at the right edge in $(grep -c 'edge=1' "$w/keys") frames"
  clicks="$(awk '{ d = / 1( |$)/ } d { n++ } !d && n { print n; n = 0 }' "$w/keys" | tr '\n' ' ')"
  [[ "$clicks" =~ ^[1-4]\ $ ]] || fail "a left click held the button in runs of '$clicks' frames"
  walk=$(grep -cE ': ([0-9]+ )*2( |$)' "$w/keys")
  [ "$walk" -ge 40 ] && [ "$walk" -le 90 ] || fail "the right button held for a second was down in $walk frames"
  (cd "$levels" && "$view" --recording "$w/game.vdm" --list) >"$w/list" 2>&1
  grep -q 'x=.* y=.* angle=.*, health 20, mana' "$w/list" || fail "veldra_view --list names no place: $(tail -1 "$w/list")"
  (cd "$levels" && "$game" --verify "$w/game.vdm") | grep -q "frames, identical$" || fail "the game played with the mouse does not verify"
else
  fail "the game in GNOME Terminal under Wayland did not run its course (exit '$(wait_exit "$w")')"
fi

finish
