#!/usr/bin/env bash
# The game in a real terminal (a tmux pane): the title, the preset page, preset B, walking
# and turning with W A S D, pausing, quitting with Esc, and the terminal given back as it was.
name=e2e_terminal
source "${BASH_SOURCE[0]%/*}/e2e_common.sh" || exit 1
send() { tm send-keys -t game "$@"; }
on_screen() { screen game; }
wait_game() { if [ "$1" == "not" ]; then wait_for not game "$2"; else wait_for game "$1"; fi; }

# The minimap's 13 x 13 cells: rows 1 to 13 of the top right corner of a 100-column frame.
minimap() { on_screen | sed -n '2,14p' | cut -c86-98; }
arrow() { on_screen | sed -n '8p' | cut -c92; }

# This game waits its farewell pause out, as a player's does.
VELDRA_FAREWELL_MS=5000 play_in_pane game "$levels"

wait_game "PRESS ENTER TO START VELDRA!"
send c
wait_game "CHOOSE YOUR CORE GAME CONTROLS PRESET"
wait_game " >  PRESET A"
send Down
wait_game " >  PRESET B"
send Space                      # choose; Space does nothing on the title page
wait_game "PRESS ENTER TO START VELDRA!"
send Enter
wait_game "HP: "
wait_game "Testing Ground"   # the name is cut at the frame's edge
[ "$(arrow)" == ">" ] || fail "the start faces east, the arrow shows '$(arrow)'"

changes_while_holding game d 1.0 arrow || fail "turning right did not turn the minimap's arrow"  # preset B
sleep 0.3
changes_while_holding game w 1.0 minimap || fail "walking did not move the minimap"  # preset B: forward
hold_key game s 0.5             # preset B: back
sleep 0.3

send p
wait_game "=== GAME PAUSED ==="
wait_game "Press 'P' to Resume"
sleep 0.8
send p
wait_game not "=== GAME PAUSED ==="

# The keyboard protocol, as a terminal that speaks it would send it (tmux itself does not):
# its answer to the game's query says releases will be reported, then D is pressed, held
# well past any timed hold, and released.
raw() { send_raw game "$1"; }
raw $'\e[?11u'
sleep 0.2
raw $'\e[100;1:1u'
sleep 0.8
held_early="$(arrow)"
sleep 1.5
held_late="$(arrow)"
raw $'\e[100;1:3u'
sleep 0.2
released="$(arrow)"
sleep 0.8
[ "$held_early" != "$held_late" ] || fail "a key held through the protocol stopped turning ('$held_early' at 0.8 s and 2.3 s)"
[ "$(arrow)" == "$released" ] || fail "turning went on after the release ('$released', then '$(arrow)')"

# The farewell line shows at once; the game ends after its pause of five seconds.
send Escape
wait_game "Game loop closed gracefully."
sleep 3.5
[ ! -f "$work/game.exit" ] || fail "the game ended within 3.5 s of its farewell line, before the pause was out"
check_ending game
on_screen | grep -qF "Map: loaded" || fail "the start-up lines are not back on the screen after the game"

finish
