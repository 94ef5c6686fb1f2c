#!/usr/bin/env bash
# Keys in a terminal that reports no releases (a tmux pane), with standard input not the
# terminal: taps four to seven times a second are each a press from the first second of a
# game, one tap of a turn key turns the view a little, a held one keeps turning; the keys
# come from the controlling terminal. The mouse is reported while the game is up.
name=e2e_keys
source "${BASH_SOURCE[0]%/*}/e2e_common.sh" || exit 1
recording_keys="$3"
arrow() { screen keys | sed -n '8p' | cut -c92; }  # the minimap's arrow in a 100-column frame
arrow_own() { screen own | sed -n '8p' | cut -c92; }

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

# The player's own keys: a settings file binds preset B (bound at start) forward to Z, turn
# left to Q and HERBA to H. A copy of the first level holds the HERBA scroll where IGNIS's
# lies, three cells ahead of the start. Z walks there, the HUD then names H, Q turns, W no
# longer walks; the recording verifies with no settings file present.
mkdir -p "$work/own" "$XDG_CONFIG_HOME/veldra"
cp "$levels"/*.txt "$work/own/"
sed -i '34s/S/B/' "$work/own/otestinggrounds.txt"
printf 'preset = "B"\n[preset-b]\nforward = "Z"\nturn-left = "Q"\nherba = "H"\n' >"$XDG_CONFIG_HOME/veldra/veldra.toml"
place() { screen own | sed -n '8p' | cut -c86-91; }  # the minimap's row west of the player
play_in_pane own "$work/own" "--record $work/own.vdm"
wait_for own "PRESS ENTER TO START VELDRA!"
tm send-keys -t own Enter
wait_for own "[HERBA]: [LOCKED]"
before="$(place)"
changes_while_holding own w 0.8 place && fail "W still walked with forward bound to Z"
hold_key own z 1.5
wait_for own "HERBA: (H)" || fail "after the HERBA scroll the HUD did not name H: $(screen own | sed -n '3,6p')"
[ "$(place)" != "$before" ] || fail "Z did not walk"
changes_while_holding own q 1.2 arrow_own || fail "Q did not turn the view"
quit_and_check own
rm -f "$XDG_CONFIG_HOME/veldra/veldra.toml"
(cd "$work/own" && "$game" --verify "$work/own.vdm") >"$work/own.verify" 2>&1 ||
  fail "the game with the player's keys did not verify without the settings file: $(cat "$work/own.verify")"
finish
