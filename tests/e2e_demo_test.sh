#!/usr/bin/env bash
# Recordings made in a real terminal (a tmux pane): a short game recorded with --record
# (the title, Enter, a walk, a turn, Esc) verifies as identical; a recording cut by SIGINT
# ends on a whole frame and verifies up to it; --replay shows a recording and Esc stops it.
name=e2e_demo
source "${BASH_SOURCE[0]%/*}/e2e_common.sh" || exit 1

verify() { (cd "$levels" && "$game" --verify "$1"); }
# Starts a recorded game in a pane of that name and leaves the title for play.
record_in_pane() {  # pane
  play_in_pane "$1" "$levels" --record "$work/$1.vdm"
  wait_for "$1" "PRESS ENTER TO START VELDRA!"
  tm send-keys -t "$1" Enter
  wait_for "$1" "HP: "
}

# A whole game, recorded.
record_in_pane whole
tm send-keys -t whole Up
sleep 0.4
tm send-keys -t whole Right
sleep 0.6
quit_and_check whole
result="$(verify "$work/whole.vdm")"
status=$?
[ $status -eq 0 ] || fail "--verify exited with $status: $result"
[[ "$result" =~ ^$work/whole.vdm:\ [0-9]+\ frames,\ identical$ ]] || fail "--verify said: $result"

# Cut short by SIGINT: whole frames up to the signal, no closing record.
record_in_pane cut
tm send-keys -t cut Up
sleep 0.5
pkill -INT -f -- "--record $work/cut.vdm"
[ "$(game_exit cut)" == "EXIT=130" ] || fail "the interrupted recording ended with $(game_exit cut)"
result="$(verify "$work/cut.vdm")"
status=$?
[ $status -eq 0 ] || fail "--verify of the cut recording exited with $status: $result"
[[ "$result" =~ frames,\ identical\ \(the\ recording\ has\ no\ closing\ record\)$ ]] || fail "--verify said: $result"

# Shown again in the terminal; Esc stops it and the terminal is as it was.
play_in_pane replay "$levels" --replay "$work/whole.vdm"
wait_for replay "HP: "
tm send-keys -t replay Escape
[ "$(game_exit replay)" == "EXIT=0" ] || fail "the replay ended with $(game_exit replay)"
cmp -s "$work/replay.stty-before" "$work/replay.stty-after" || fail "the replay changed the terminal settings"
wait_for replay "replay stopped"

finish
