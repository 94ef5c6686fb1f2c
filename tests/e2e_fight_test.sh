#!/usr/bin/env bash
# A fight in a real terminal (a tmux pane): on a small level written here, the player walks
# over four health pickups toward an enemy that comes straight at him, and strikes it with
# the staff (Left Ctrl, sent as keyboard-protocol events) until its 'E' has left the minimap
# and its health label the view. The terminal is given back as it was.
name=e2e_fight
source "${BASH_SOURCE[0]%/*}/e2e_common.sh" || exit 1
send() { tm send-keys -t fight "$@"; }
raw() { send_raw fight "$1"; }
on_screen() { screen fight; }

# The minimap's 13 x 13 cells in the top right corner of a 100-column frame, and the middle
# of the view, right of the message lines (the enemy's label reads "<health> HP").
minimap() { on_screen | sed -n '2,14p' | cut -c86-98; }
enemy_on_minimap() { minimap | grep -q E; }
label_in_view() { on_screen | cut -c43-84 | grep -qE '[0-9]+ HP'; }
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

finish
