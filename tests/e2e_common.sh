# Shared by the end-to-end tests: sourced after setting `name`, with the game binary and
# the levels folder as $1 and $2. Runs a tmux server of its own, cleaned up on exit, and
# skips (status 77) where tmux is missing.
set -u
game="$1"
levels="$2"

if ! command -v tmux >/dev/null 2>&1; then
  echo "SKIPPED: tmux is not installed (scripts/install-deps.sh installs it), so there is no terminal to play in"
  exit 77
fi

work="$(mktemp -d)"
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

finish() {
  echo "$name: $failures failed"
  [ "$failures" -eq 0 ]
}
