#!/usr/bin/env bash
# Keys in a terminal that reports no releases (a tmux pane), with standard input not the
# terminal: taps four to seven times a second are each a press from the first second of a
# game, one tap of a turn key turns the view a little, a held one keeps turning; the keys
# come from the controlling terminal. The mouse is reported while the game is up.
name=e2e_keys
source "${BASH_SOURCE[0]%/*}/e2e_common.sh" || exit 1
recording_keys="$3"
arrow() { screen keys | sed -n '8p' | cut -c92; }  # the minimap's arrow in a 100-column frame

play_in_pane keys "$levels" "--record $work/keys.vdm </dev/null"
wait_for keys "PRESS ENTER TO START VELDRA!"
tm send-keys -t keys Enter
wait_for keys "HP: "
mouse_taken keys
[ "$(arrow)" == ">" ] || fail "the start faces east, the arrow shows '$(arrow)'"

# Six taps of Q 200 ms apart, then six 150 ms apart, before any auto-repeat was seen.
for gap in 0.2 0.15; do
  for _ in 1 2 3 4 5 6; do
    tm send-keys -t keys q
    sleep "$gap"
  done
  sleep 0.5
done

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
# What the game read: twelve short runs of frames with Q (81) down, one for each tap.
taps="$("$recording_keys" "$work/keys.vdm" | awk '{ d = / 81( |$)/ } d { n++ } !d && n { print n; n = 0 }' | head -12 | tr '\n' ' ')"
[ "$(wc -w <<<"$taps")" -eq 12 ] && ! grep -qE '(^| )([5-9]|[0-9]{2,})( |$)' <<<"$taps" ||
  fail "twelve quick taps of Q were read as runs of '$taps' frames"
finish
