# Shared by the end-to-end tests: sourced after setting `name`, with the game binary and
# the levels folder as $1 and $2. Runs a tmux server of its own, cleaned up on exit, and
# skips (status 77) where tmux is missing.
set -u
game="$1"
levels="$2"

# A missing tool skips the test; under CI=true, where the test command has installed every
# tool, it fails it instead.
skip_for_lack_of() {  # tool
  if [ "${CI:-}" == "true" ]; then
    echo "FAIL: $1 is not installed (scripts/install-deps.sh installs it)"
    exit 1
  fi
  echo "SKIPPED: $1 is not installed (scripts/install-deps.sh installs it)"
  exit 77
}
command -v tmux >/dev/null 2>&1 || skip_for_lack_of tmux

# The games end at once after their farewell line: one test, which sets this itself, waits
# the pause out and checks it.
export VELDRA_FAREWELL_MS="${VELDRA_FAREWELL_MS:-0}"

# Panes are plain terminals: no X server's key map behind them and no colours beyond tmux's
# own sixteen, whatever this session has.
unset WINDOWID DISPLAY COLORTERM

work="$(mktemp -d)"
# No settings file of whoever runs the tests: a test that wants one writes it here.
export XDG_CONFIG_HOME="$work/config"
server="veldra-$name-$$"
cleanup() {
  tmux -L "$server" kill-server >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
tm() { tmux -L "$server" "$@"; }
screen() { tm capture-pane -p -t "$1"; }          # pane
pane_flag() { tm display-message -p -t "$1" "#{$2}"; }  # pane, tmux format name

# Waits up to 10 s for a pane to show (or, with "not" first, to stop showing) a text.
wait_for() {  # [not] pane text
  local negate=0
  if [ "$1" == "not" ]; then negate=1; shift; fi
  for _ in $(seq 1 100); do
    if screen "$1" | grep -qF -- "$2"; then
      [ $negate -eq 0 ] && return 0
    else
      [ $negate -eq 1 ] && return 0
    fi
    sleep 0.1
  done
  fail "pane $1: waited for $([ $negate -eq 1 ] && echo 'the end of ')'$2'"
  screen "$1" | sed 's/^/    | /'
  return 1
}

# Plays the game in a new 100 x 32 pane (or pane_columns x pane_rows), started in `folder` with the given arguments; the
# pane records the terminal's settings before and after the game and how it ended, for
# quit_and_check.
play_in_pane() {  # pane, folder, arguments...
  local pane="$1" folder="$2"
  shift 2
  cat >"$work/$pane.sh" <<RUN
export TERM=screen  # tmux's long-standing default: the sixteen colours unless told more
export VELDRA_FAREWELL_MS=$VELDRA_FAREWELL_MS
cd "$folder"
stty -g >"$work/$pane.stty-before"
"$game" $*
status=\$?
# The settings after the game are noted before its exit, and the exit appears whole (moved
# into place): whoever sees the exit reads both.
stty -g >"$work/$pane.stty-after"
echo "EXIT=\$status" >"$work/$pane.exit.part" && mv "$work/$pane.exit.part" "$work/$pane.exit"
sleep 600
RUN
  tm new-session -d -s "$pane" -x "${pane_columns:-100}" -y "${pane_rows:-32}" "bash $work/$pane.sh"
}

# Waits up to 10 s for the game in a pane to end; its "EXIT=status" line.
game_exit() {  # pane
  for _ in $(seq 1 100); do [ -f "$work/$1.exit" ] && break; sleep 0.1; done
  cat "$work/$1.exit" 2>/dev/null
}

# Sends a raw byte string into the pane, as a terminal would send it to the game.
send_raw() {  # pane, bytes
  tm send-keys -t "$1" -H $(printf '%s' "$2" | od -An -tx1)
}

# Holds a key as a terminal without releases shows it: one byte, then after the keyboard's
# repeat delay (300 ms) one every 30 ms, for about the given seconds.
hold_key() {  # pane, key name, seconds
  local repeats
  repeats=$(awk -v s="$3" 'BEGIN { n = int((s - 0.3) / 0.03); print (n > 0 ? n : 0) }')
  tm send-keys -t "$1" "$2"
  sleep 0.3
  for _ in $(seq 1 "$repeats"); do
    tm send-keys -t "$1" "$2"
    sleep 0.03
  done
}

# Holds a key as hold_key does and watches a screen reading meanwhile: true when it ever
# differed from what it was before the key went down. (Read after the hold, a turn could
# have come full circle on a slow machine, where the hold lasts longer.)
changes_while_holding() {  # pane, key name, seconds, reading command...
  local pane="$1" key="$2" seconds="$3"
  shift 3
  local before
  before="$("$@")"
  hold_key "$pane" "$key" "$seconds" &
  local holder=$!
  local changed=1
  while kill -0 "$holder" 2>/dev/null; do
    [ "$("$@")" != "$before" ] && changed=0
    sleep 0.1
  done
  wait "$holder"
  [ "$("$@")" != "$before" ] && changed=0
  return $changed
}

# Quits with Esc and checks the game ended well and gave the terminal back as it was.
quit_and_check() {  # pane
  tm send-keys -t "$1" Escape
  check_ending "$1"
}

# Checks a game that was told to quit ended well and gave the terminal back as it was.
check_ending() {  # pane
  for _ in $(seq 1 100); do [ -f "$work/$1.exit" ] && break; sleep 0.1; done
  [ -f "$work/$1.exit" ] || fail "the game did not end within 10 s of Esc"
  [ "$(cat "$work/$1.exit" 2>/dev/null)" == "EXIT=0" ] || fail "exit status: $(cat "$work/$1.exit" 2>/dev/null)"
  wait_for "$1" "Game loop closed gracefully."
  cmp -s "$work/$1.stty-before" "$work/$1.stty-after" ||
    fail "terminal settings changed: $(cat "$work/$1.stty-before") -> $(cat "$work/$1.stty-after")"
  [ "$(pane_flag "$1" alternate_on)" == "0" ] || fail "still on the alternate screen"
  [ "$(pane_flag "$1" cursor_flag)" == "1" ] || fail "the cursor is still hidden"
  mouse_given_back "$1"
}

# While the game is up the pane reports every motion of the mouse in SGR form; after, none.
mouse_taken() {  # pane
  [ "$(pane_flag "$1" mouse_any_flag)$(pane_flag "$1" mouse_sgr_flag)" == "11" ] ||
    fail "pane $1: the mouse is not reported in play"
}
mouse_given_back() {  # pane
  [ "$(pane_flag "$1" mouse_any_flag)$(pane_flag "$1" mouse_sgr_flag)" == "00" ] ||
    fail "pane $1: the mouse is still reported after the game"
}

finish() {
  echo "$name: $failures failed"
  [ "$failures" -eq 0 ]
}
