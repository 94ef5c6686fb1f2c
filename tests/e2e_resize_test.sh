#!/usr/bin/env bash
# A storm of window-size changes in a real terminal (a tmux pane): the pane resized two
# hundred times and five thousand SIGWINCH signals on top, while the game plays. It goes on
# playing, its picture is whole again at the final size, and it quits cleanly.
name=e2e_resize
source "${BASH_SOURCE[0]%/*}/e2e_common.sh" || exit 1

play_in_pane storm "$levels"
wait_for storm "PRESS ENTER TO START VELDRA!"
tm send-keys -t storm Enter
wait_for storm "HP: "
pid="$(pgrep -P "$(pane_flag storm pane_pid)" -f -- "$game")"  # this pane's game, whatever else runs

for i in $(seq 1 200); do
  tm resize-window -t storm -x $((40 + i % 90)) -y $((10 + i % 45))
done
for _ in $(seq 1 50); do
  for _ in $(seq 1 100); do kill -WINCH "$pid" 2>/dev/null; done
done
tm resize-window -t storm -x 100 -y 32
sleep 1

kill -0 "$pid" 2>/dev/null || fail "the game did not survive the storm"
# The status lines stand where a 100 x 32 frame puts them, the minimap's frame is whole,
# and every row is 100 characters wide (counted as characters, not bytes).
export LC_ALL=C.UTF-8
mapfile -t rows < <(screen storm)
[ "${rows[1]:2:4}" == "HP: " ] || fail "the health line is not whole: ${rows[1]}"
[ "${rows[2]:2:4}" == "MP: " ] || fail "the mana line is not whole: ${rows[2]}"
[ "${rows[13]:85:13}" == "+++++++++++++" ] || fail "the minimap's frame is broken: ${rows[13]}"
for k in 0 1 13 20 31; do
  [ "${#rows[$k]}" -eq 100 ] || fail "row $((k + 1)) is ${#rows[$k]} characters wide: ${rows[$k]}"
done

tm send-keys -t storm Right
sleep 0.5
quit_and_check storm

finish
