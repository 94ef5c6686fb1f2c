#!/usr/bin/env bash
# Recordings made in a real terminal (a tmux pane): a short game recorded with --record
# (the title, Enter, a walk, a turn, Esc) verifies as identical; a recording cut by SIGINT
# ends on a whole frame and verifies up to it; --replay shows a recording and Esc stops it,
# and in a smaller terminal shows the part that fits.
# The colours: tmux (TERM=screen, no COLORTERM) gets only its own sixteen; --colours asks
# for 24-bit colour while recording and for the 256 while replaying, in the game's palette.
name=e2e_recording
source "${BASH_SOURCE[0]%/*}/e2e_common.sh" || exit 1
recording_keys="$3"

verify() { (cd "$levels" && "$game" --verify "$1"); }
# Starts a recorded game in a pane of that name and leaves the title for play.
record_in_pane() {  # pane, more arguments...
  play_in_pane "$1" "$levels" --record "$work/$1.vdm" "${@:2}"
  wait_for "$1" "PRESS ENTER TO START VELDRA!"
  tm send-keys -t "$1" Enter
  wait_for "$1" "HP: "
}

# The SGR colour escapes on a pane's screen, as tmux re-encodes what it shows.
colour_escapes() { tm capture-pane -p -e -t "$1" | grep -oE $'\e\\[[0-9;]*m' | sort -u; }

# A whole game, recorded.
record_in_pane whole
colour_escapes whole | grep -qE '[34]8;[25];' && fail "in tmux without COLORTERM more than sixteen colours were sent"
colour_escapes whole | grep -qE '(^|[;[])9[0-7]($|[;m])' || fail "in tmux the bright colours were not sent"
tm send-keys -t whole Up
sleep 0.4
tm send-keys -t whole Right
sleep 0.6
quit_and_check whole
result="$(verify "$work/whole.vdm")"
status=$?
[ $status -eq 0 ] || fail "--verify exited with $status: $result"
[[ "$result" =~ ^$work/whole.vdm:\ [0-9]+\ frames,\ identical$ ]] || fail "--verify said: $result"

# Cut short by SIGINT: whole frames up to the signal, no closing record, the frames of the
# last tenth of a second before it included (the game writes its records out about once a
# second, and at a signal); in 24-bit colour, the sky's blue and the HUD's bright green are
# the palette's own.
record_in_pane cut --colours 24bit
colour_escapes cut | grep -qE '8;2;0;0;128[;m]' || fail "--colours 24bit did not send the palette's dark blue"
colour_escapes cut | grep -qE '8;2;0;255;0[;m]' || fail "--colours 24bit did not send the palette's bright green"
tm send-keys -t cut Up
sleep 0.5
tm send-keys -t cut Down
sleep 0.1
pkill -INT -f -- "--record $work/cut.vdm"
[ "$(game_exit cut)" == "EXIT=130" ] || fail "the interrupted recording ended with $(game_exit cut)"
result="$(verify "$work/cut.vdm")"
status=$?
[ $status -eq 0 ] || fail "--verify of the cut recording exited with $status: $result"
[[ "$result" =~ frames,\ identical\ \(the\ recording\ has\ no\ closing\ record\)$ ]] || fail "--verify said: $result"
"$recording_keys" "$work/cut.vdm" | grep -qE ': ([0-9]+ )*40( |$)' ||
  fail "the cut recording lost its last frames: Down, pressed a tenth of a second before the signal, is not in it"

# A recording into a pipe (which has no places to write at) is whole too.
play_in_pane piped "$levels" --record ">(cat > $work/piped.vdm)"
wait_for piped "PRESS ENTER TO START VELDRA!"
tm send-keys -t piped Enter
wait_for piped "HP: "
quit_and_check piped
result="$(verify "$work/piped.vdm")"
[[ "$result" =~ frames,\ identical$ ]] || fail "--verify of the recording through a pipe said: $result"

# A recording to a full disk: the game plays on and, once over, says the file is not whole.
play_in_pane full "$levels" --record /dev/full
wait_for full "PRESS ENTER TO START VELDRA!"
tm send-keys -t full Enter
wait_for full "HP: "
sleep 1.2  # past the first second's write
tm send-keys -t full Escape
[ "$(game_exit full)" == "EXIT=2" ] || fail "a recording to a full disk ended with $(game_exit full)"
wait_for full "veldra: /dev/full: could not be written in full" || fail "a recording to a full disk was not reported"

# Shown again in the terminal; Esc stops it and the terminal is as it was.
play_in_pane replay "$levels" --colours 256 --replay "$work/whole.vdm"
wait_for replay "HP: "
colour_escapes replay | grep -qE '[34]8;5;(18|244|250)[;m]' || fail "--colours 256 did not send the palette's entries"
tm send-keys -t replay Escape
[ "$(game_exit replay)" == "EXIT=0" ] || fail "the replay ended with $(game_exit replay)"
cmp -s "$work/replay.stty-before" "$work/replay.stty-after" || fail "the replay changed the terminal settings"
wait_for replay "replay stopped"
screen replay | grep -qE "^$work/whole.vdm: replay stopped" || fail "'replay stopped' does not start a line of its own"

# Replayed in a smaller terminal: the top-left part that fits, nothing wrapped (the HUD's
# first line on the pane's second row), and a word at the end that it was cut.
pane_columns=60 pane_rows=20 play_in_pane small "$levels" --replay "$work/whole.vdm"
wait_for small "HP: "
screen small | sed -n 2p | grep -q "HP: " || fail "in a smaller terminal the HUD's first line is not on the second row"
tm send-keys -t small Escape
[ "$(game_exit small)" == "EXIT=0" ] || fail "the replay in a smaller terminal ended with $(game_exit small)"
cmp -s "$work/small.stty-before" "$work/small.stty-after" || fail "the smaller replay changed the terminal settings"
sleep 0.3
tm capture-pane -p -J -t small | grep -qF "the terminal was smaller than the recording's 100 x 32 cells" ||
  fail "the smaller replay did not say it was cut"

finish
