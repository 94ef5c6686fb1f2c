#!/usr/bin/env bash
# Keys in a terminal that reports no releases (a tmux pane), with standard input not the
# terminal: one tap of a turn key turns the view a little, a held one keeps turning; the
# keys come from the controlling terminal.
name=e2e_keys
source "${BASH_SOURCE[0]%/*}/e2e_common.sh" || exit 1
arrow() { screen keys | sed -n '8p' | cut -c92; }  # the minimap's arrow in a 100-column frame

play_in_pane keys "$levels" "</dev/null"
wait_for keys "PRESS ENTER TO START VELDRA!"
tm send-keys -t keys Enter
wait_for keys "HP: "
[ "$(arrow)" == ">" ] || fail "the start faces east, the arrow shows '$(arrow)'"

# One tap of Right: a turn well below a quarter turn of the arrow's eighth (pi/4).
tm send-keys -t keys Right
sleep 0.8
[ "$(arrow)" == ">" ] || fail "one tap of Right turned the arrow to '$(arrow)'"

# Held (as auto-repeat sends it) for a second and a half: it turns on.
changes_while_holding keys Right 1.5 arrow || fail "holding Right did not turn the arrow"
sleep 0.3
turned="$(arrow)"
sleep 0.8
[ "$(arrow)" == "$turned" ] || fail "the turn went on after the repeats stopped ('$turned', then '$(arrow)')"

quit_and_check keys
finish
