#!/usr/bin/env bash
# A fight in a real terminal (a tmux pane): on a small level written here, the player walks
# over four health pickups toward an enemy that comes straight at him, and strikes it with
# the staff (Left Ctrl, sent as keyboard-protocol events) until its 'E' has left the minimap
# and its health label the view. The terminal is given back as it was.
# Then the keys of a terminal that only sends characters (tmux itself): the letters that
# stand in for lone modifier keys on both presets, the HUD naming them, and the walk toggle;
# and win32-input-mode events, in which a lone Left Ctrl is one swing.
name=e2e_fight
source "${BASH_SOURCE[0]%/*}/e2e_common.sh" || exit 1
pane=fight
send() { tm send-keys -t "$pane" "$@"; }
raw() { send_raw "$pane" "$1"; }
on_screen() { screen "$pane"; }

# The minimap's 13 x 13 cells in the top right corner of a 100-column frame, and the middle
# of the view, right of the message lines (the enemy's label reads "<health> HP").
# Columns counted in characters: the view has block characters of several bytes.
columns() { LC_ALL=C.UTF-8 sed -E "s/^.{$(($1 - 1))}(.{$2}).*/\1/"; }  # first, count
minimap() { on_screen | sed -n '2,14p' | columns 86 13; }
enemy_on_minimap() { minimap | grep -q E; }
label_in_view() { on_screen | columns 43 42 | grep -qE '[0-9]+ HP'; }
health() { on_screen | grep -m1 -oE '[0-9]+/100' | cut -d/ -f1; }

mkdir -p "$work/level"
cat >"$work/level/otestinggrounds.txt" <<'LEVEL'
Arena
##############################
#......Phhhh........E........#
##############################
LEVEL

play_in_pane fight "$work/level"

wait_for fight "PRESS ENTER TO START VELDRA!"
send Enter
wait_for fight "HP: "

# The terminal's answer to the game's keyboard-protocol query: presses and releases from now on.
raw $'\e[?11u'
sleep 0.2
# Forward over the four pickups: 20 + 4 x 20 = 100 health.
raw $'\e[1;1:1A'
sleep 0.7
raw $'\e[1;1:3A'
sleep 0.2
[ "$(health)" == "100" ] || fail "walking over four health pickups gave $(health) health, not 100"
label_in_view || fail "the enemy's health label is not in view"
for _ in $(seq 1 50); do enemy_on_minimap && break; sleep 0.1; done
enemy_on_minimap || fail "the enemy did not come onto the minimap"

# Strike whenever the staff is ready; now and then step back so the enemy, which stands on
# the player once it reaches him, comes into the staff's reach again.
killed=0
for round in $(seq 1 40); do
  for _ in 1 2 3 4 5 6; do
    raw $'\e[57442;5:1u'
    sleep 0.05
    raw $'\e[57442;1:3u'
    sleep 0.07
  done
  if ! enemy_on_minimap && ! label_in_view; then killed=1; break; fi
  [ -n "$(health)" ] || break   # the game is over
  raw $'\e[1;1:1B'
  sleep 0.25
  raw $'\e[1;1:3B'
done
echo "killed in round $round with $(health) health left"
[ $killed -eq 1 ] || fail "the enemy was not killed (health $(health)); the screen:"
[ $killed -eq 1 ] || on_screen | sed 's/^/    | /'

quit_and_check fight

# An enemy held by a wall just beyond the staff's reach of the start: the player walks up to
# the wall (over an ELECTRICA scroll) and every swing reaches it; six swings of 35 kill it.
cat >"$work/level/otestinggrounds.txt" <<'LEVEL'
Pen
#######
#PL#E.#
#######
LEVEL
mana() { on_screen | grep -m1 -oE '[-0-9]+/50\b' | cut -d/ -f1; }
walk_to_the_wall() { for _ in $(seq 1 10); do send Up; sleep 0.12; done; }
# Taps further apart than the longest auto-repeat interval, so none is taken for a repeat.
swings_to_kill() {  # how to swing once...
  local swings=0
  for _ in $(seq 1 10); do
    enemy_on_minimap || break
    "$@"
    swings=$((swings + 1))
    sleep 0.4
  done
  sleep 0.2
  enemy_on_minimap && echo never || echo "$swings"
}
tap() { send "$1"; }

pane=legacy
play_in_pane "$pane" "$work/level"
wait_for "$pane" "PRESS ENTER TO START VELDRA!"
send Enter
wait_for "$pane" "HP: "
walk_to_the_wall
wait_for "$pane" "ELECTRICA: (Q)"
for _ in $(seq 1 50); do [ "$(mana)" == "50" ] && break; sleep 0.1; done
send q
sleep 0.1
[ "$(mana)" -ge 40 ] && [ "$(mana)" -le 44 ] || fail "Q cast no ELECTRICA: mana $(mana) after a cast at 50"
[ "$(swings_to_kill tap f)" == "6" ] || fail "F is not the staff in a terminal that only sends characters"
send Tab
wait_for "$pane" "Walking on"
send Down
wait_for "$pane" "Walking off"
quit_and_check "$pane"

# Preset B: J is its staff (Right Shift).
pane=preset-b
play_in_pane "$pane" "$work/level"
wait_for "$pane" "PRESS ENTER TO START VELDRA!"
send c
wait_for "$pane" " >  PRESET A"
send Down
wait_for "$pane" " >  PRESET B"
send Space
wait_for "$pane" "PRESS ENTER TO START VELDRA!"
send Enter
wait_for "$pane" "HP: "
for _ in $(seq 1 10); do send w; sleep 0.12; done
[ "$(swings_to_kill tap j)" == "6" ] || fail "J is not preset B's staff in a terminal that only sends characters"
quit_and_check "$pane"

# win32-input-mode: the first event makes every key exact; a lone Left Ctrl press and
# release (virtual key 17, scan code 29) is one swing.
win32_ctrl_tap() { raw $'\e[17;29;0;1;8;1_'; sleep 0.05; raw $'\e[17;29;0;0;0;1_'; }
pane=win32
play_in_pane "$pane" "$work/level"
wait_for "$pane" "PRESS ENTER TO START VELDRA!"
send Enter
wait_for "$pane" "HP: "
walk_to_the_wall
[ "$(swings_to_kill win32_ctrl_tap)" == "6" ] || fail "a lone Left Ctrl in win32-input-mode is not one swing"
on_screen | grep -q "ELECTRICA: (LEFT ALT)" || fail "with exact keys the HUD does not name Left Alt"
quit_and_check "$pane"

# Tab then a held Right walks and turns at once; Down stops the walk. A field of pillars,
# wide enough that the minimap never looks beyond the grid (where the view shows through).
awk 'BEGIN { print "Field"; for (r = 0; r < 30; r++) { line = "";
       for (c = 0; c < 40; c++) line = line ((r == 0 || r == 29 || c == 0 || c == 39 || (r % 4 == 0 && c % 4 == 0)) ? "#" : (r == 15 && c == 20 ? "P" : "."));
       print line } }' >"$work/level/otestinggrounds.txt"
arrow() { on_screen | sed -n 8p | columns 92 1; }
# The minimap's cells without the arrow: they move only when the player does.
map_rows() { on_screen | sed -n '4,13p' | columns 87 11 | tr -d '<>^v'; }
pane=walk
play_in_pane "$pane" "$work/level"
wait_for "$pane" "PRESS ENTER TO START VELDRA!"
send Enter
wait_for "$pane" "HP: "
send Tab
wait_for "$pane" "Walking on"
# Both are watched during the hold: walking while turning goes round a circle of 2.4 cells
# in about two seconds, so on a slow machine, where the hold lasts longer, a reading taken
# after it could find the arrow and the field as they were.
before="$(map_rows)"
hold_key "$pane" Right 1 &
holder=$!
turned=no walked=no
while kill -0 "$holder" 2>/dev/null; do
  [ "$(arrow)" != ">" ] && turned=yes
  [ "$(map_rows)" != "$before" ] && walked=yes
  sleep 0.1
done
wait "$holder"
[ "$turned" == yes ] || fail "holding Right while walking did not turn"
[ "$walked" == yes ] || fail "the walk toggle did not walk"
send Down
wait_for "$pane" "Walking off"
sleep 0.3
still="$(map_rows)"
sleep 0.5
[ "$(map_rows)" == "$still" ] || fail "the walk went on after Down"
quit_and_check "$pane"

finish
