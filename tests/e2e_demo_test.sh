#!/usr/bin/env bash
# Recordings made in a real terminal (a tmux pane): a short game recorded with --record
# (the title, Enter, a walk, a turn, Esc) verifies as identical; a recording cut by SIGINT
# ends on a whole frame and verifies up to it; --replay shows a recording and Esc stops it.
name=e2e_demo
source "${BASH_SOURCE[0]%/*}/e2e_common.sh" || exit 1

verify() { (cd "$levels" && "$game" --verify "$1"); }

# A whole game, recorded.
play_in_pane whole "$levels" --record "$work/whole.vdm"
wait_for whole "PRESS ENTER TO START VELDRA!"
tm send-keys -t whole Enter
wait_for whole "HP: "
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
play_in_pane cut "$levels" --record "$work/cut.vdm"
wait_for cut "PRESS ENTER TO START VELDRA!"
tm send-keys -t cut Enter
wait_for cut "HP: "
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
