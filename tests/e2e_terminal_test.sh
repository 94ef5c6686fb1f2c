#!/usr/bin/env bash
# The game in a real terminal (a tmux pane): the title, the preset page, preset B, walking
# and turning with W A S D, pausing, quitting with Esc, and the terminal given back as it was.
set -u
game="$1"
levels="$2"
skip=77

if ! command -v tmux >/dev/null 2>&1; then
  echo "SKIPPED: tmux is not installed (scripts/install-deps.sh installs it), so there is no terminal to play in"
  exit $skip
fi

work="$(mktemp -d)"
server="veldra-e2e-$$"
cleanup() {
  tmux -L "$server" kill-server >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
screen() { tmux -L "$server" capture-pane -p -t game; }
send() { tmux -L "$server" send-keys -t game "$@"; }

# Waits up to 10 s for the screen to show (or, with "not", to stop showing) a text.
wait_for() {
  local negate=0
  if [ "$1" == "not" ]; then negate=1; shift; fi
  for _ in $(seq 1 100); do
    if screen | grep -qF -- "$1"; then
      [ $negate -eq 0 ] && return 0
    else
      [ $negate -eq 1 ] && return 0
    fi
    sleep 0.1
  done
  fail "waited for $([ $negate -eq 1 ] && echo 'the end of ')'$1'"
  screen | sed 's/^/    | /'
  return 1
}

# The minimap's 13 x 13 cells: rows 1 to 13 of the top right corner of a 100-column frame.
minimap() { screen | sed -n '2,14p' | cut -c86-98; }
arrow() { screen | sed -n '8p' | cut -c92; }

cat >"$work/run.sh" <<RUN
cd "$levels"
stty -g >"$work/stty-before"
"$game"
echo "EXIT=\$?" >"$work/exit"
stty -g >"$work/stty-after"
sleep 600
RUN
tmux -L "$server" new-session -d -s game -x 100 -y 32 "bash $work/run.sh"

wait_for "PRESS ENTER TO START VELDRA!"
send c
wait_for "CHOOSE YOUR CORE GAME CONTROLS PRESET"
wait_for " >  PRESET A"
send Down
wait_for " >  PRESET B"
send Space                      # choose; Space does nothing on the title page
wait_for "PRESS ENTER TO START VELDRA!"
sleep 0.8                       # let the held Space run out
send Enter
wait_for "HP: "
wait_for "Testing Ground"   # the name is cut at the frame's edge
[ "$(arrow)" == ">" ] || fail "the start faces east, the arrow shows '$(arrow)'"

map_before="$(minimap)"
send d                          # preset B: turn right
sleep 0.8
[ "$(arrow)" != ">" ] || fail "turning right did not turn the minimap's arrow"
send w                          # preset B: forward, now south
sleep 0.8
[ "$(minimap)" != "$map_before" ] || fail "walking did not move the minimap"
send s                          # preset B: back
sleep 0.8

send p
wait_for "=== GAME PAUSED ==="
wait_for "Press 'P' to Resume"
sleep 0.8
send p
wait_for not "=== GAME PAUSED ==="

# The keyboard protocol, as a terminal that speaks it would send it (tmux itself does not):
# its answer to the game's query says releases will be reported, then D is pressed, held
# well past any timed hold, and released.
raw() { tmux -L "$server" send-keys -t game -H $(printf '%s' "$1" | od -An -tx1); }
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

send Escape
for _ in $(seq 1 100); do [ -f "$work/exit" ] && break; sleep 0.1; done
[ -f "$work/exit" ] || fail "the game did not end within 10 s of Esc"
[ "$(cat "$work/exit" 2>/dev/null)" == "EXIT=0" ] || fail "exit status: $(cat "$work/exit" 2>/dev/null)"
wait_for "Game loop closed gracefully."
cmp -s "$work/stty-before" "$work/stty-after" || fail "terminal settings changed: $(cat "$work/stty-before") -> $(cat "$work/stty-after")"
screen | grep -qF "Map: loaded" || fail "the start-up lines are not back on the screen after the game"

echo "e2e_terminal: $failures failed"
[ $failures -eq 0 ]
