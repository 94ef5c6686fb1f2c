#!/usr/bin/env bash
# Keys in a terminal that reports no releases (a tmux pane), with standard input not the
# terminal: taps four to seven times a second are each a press from the first second of a
# game, one tap of a turn key turns the view a little, a held one keeps turning; the keys
# come from the controlling terminal. The mouse is reported while the game is up.
name=e2e_keys
source "${BASH_SOURCE[0]%/*}/e2e_common.sh" || exit 1
recording_keys="$3"
view="$4"
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
# longer walks (as the recording's frames say: where the player stood and faced while each
# key was down); the recording verifies with no settings file present.
mkdir -p "$work/own" "$XDG_CONFIG_HOME/veldra"
cp "$levels"/*.txt "$work/own/"
sed -i '34s/S/B/' "$work/own/otestinggrounds.txt"
printf 'preset = "B"\n[preset-b]\nforward = "Z"\nturn-left = "Q"\nherba = "H"\n' >"$XDG_CONFIG_HOME/veldra/veldra.toml"
# Where a mount namespace of its own can be had (as root), this game runs with SDL's library
# hidden: the pad's library is loaded at run time, and the game plays without it.
sdl="$(ldconfig -p | awk '/libSDL2-2\.0\.so\.0 .*x86-64/ { print $NF; exit }')"
if [ -n "$sdl" ] && unshare -m true 2>/dev/null; then
  printf '#!/usr/bin/env bash\nexec unshare -m bash -c %q bash "$@"\n' \
    "mount --bind /dev/null $(readlink -f "$sdl") && exec $game \"\$@\"" >"$work/without-sdl"
  chmod +x "$work/without-sdl"
  game="$work/without-sdl" play_in_pane own "$work/own" "--record $work/own.vdm"
else
  echo "(SDL's library stays in sight: no mount namespace here)"
  play_in_pane own "$work/own" "--record $work/own.vdm"
fi
wait_for own "PRESS ENTER TO START VELDRA!"
tm send-keys -t own Enter
wait_for own "[HERBA]: [LOCKED]"
hold_key own w 0.8
hold_key own z 1.5
wait_for own "HERBA: (H)" || fail "after the HERBA scroll the HUD did not name H: $(screen own | sed -n '3,6p')"
hold_key own q 1.2
quit_and_check own
rm -f "$XDG_CONFIG_HOME/veldra/veldra.toml"
(cd "$work/own" && "$game" --verify "$work/own.vdm") >"$work/own.verify" 2>&1 ||
  fail "the game with the player's keys did not verify without the settings file: $(cat "$work/own.verify")"
(cd "$work/own" && "$view" --recording "$work/own.vdm" --list) >"$work/own.list"
"$recording_keys" "$work/own.vdm" >"$work/own.keys"
# The place ("x=... y=...") or the facing of a frame, and the frames a key was down in.
place_at() { sed -n "$(($1 + 1))p" "$work/own.list" | grep -oE 'x=[-0-9.]+ y=[-0-9.]+'; }
facing_at() { sed -n "$(($1 + 1))p" "$work/own.list" | grep -oE 'angle=[-0-9.]+'; }
# (A key a terminal without releases shows is held a little past its last byte: W's hold
# runs on into Z's first frames, Z's into Q's; only W's frames without Z count for W.)
frames_with() {  # key, [a key not down]
  awk -v k="$1" -v not="${2:-none}" '{ on = 0; off = 0
    for (i = 2; i <= NF; i++) { if ($i == k) on = 1; if ($i == not) off = 1 }
    if (on && !off) { sub(":", "", $1); print $1 } }' "$work/own.keys"
}
span_changes() {  # key, reading, [a key not down]: whether the reading differs across the key's frames
  local first last
  first="$(frames_with "$1" "${3:-}" | head -1)"
  last="$(frames_with "$1" "${3:-}" | tail -1)"
  [ -n "$first" ] && [ "$("$2" "$first")" != "$("$2" "$last")" ]
}
[ "$(frames_with 87 90 | wc -l)" -gt 10 ] && ! span_changes 87 place_at 90 || fail "W still walked with forward bound to Z"
span_changes 90 place_at || fail "Z did not walk"
span_changes 81 facing_at || fail "Q did not turn the view"
finish
