#!/usr/bin/env bash
# The terminal is given back on every way out: suspend and resume, Ctrl+C, SIGTERM, SIGHUP
# and a crash signal. Checked in a tmux pane: the terminal settings (stty -g), the cursor
# shown again and the alternate screen left.
name=e2e_signals
source "${BASH_SOURCE[0]%/*}/e2e_common.sh" || exit 1

# A pane that runs the game once and records how it ended.
start_game() {  # name
  cat >"$work/$1.sh" <<RUN
cd "$levels"
stty -g >"$work/$1.before"
echo \$\$ >"$work/$1.shell"
"$game" </dev/tty &
echo \$! >"$work/$1.pid"
wait \$!
status=\$?
# The settings are noted before the exit status: whoever sees the status reads both.
stty -g >"$work/$1.after"
echo "EXIT=\$status" >"$work/$1.exit.part" && mv "$work/$1.exit.part" "$work/$1.exit"
sleep 600
RUN
  tm new-session -d -s "$1" -x 100 -y 30 "bash $work/$1.sh"
  wait_for "$1" "PRESS ENTER TO START VELDRA!"
}

check_given_back() {  # name, expected exit status
  for _ in $(seq 1 100); do [ -f "$work/$1.exit" ] && break; sleep 0.1; done
  [ "$(cat "$work/$1.exit" 2>/dev/null)" == "EXIT=$2" ] || fail "$1: $(cat "$work/$1.exit" 2>/dev/null), expected EXIT=$2"
  cmp -s "$work/$1.before" "$work/$1.after" || fail "$1: terminal settings changed"
  [ "$(pane_flag "$1" alternate_on)" == "0" ] || fail "$1: still on the alternate screen"
  [ "$(pane_flag "$1" cursor_flag)" == "1" ] || fail "$1: the cursor is still hidden"
  mouse_given_back "$1"
}

# A background job of the pane's shell does not get the terminal's signals, so each one is
# sent to the game directly, as the terminal driver would.
for case in "INT 130" "TERM 143" "HUP 129" "SEGV 139" "ABRT 134"; do
  set -- $case
  start_game "sig$1"
  [ "$(pane_flag "sig$1" alternate_on)" == "1" ] || fail "sig$1: the game is not on the alternate screen"
  mouse_taken "sig$1"
  kill -s "$1" "$(cat "$work/sig$1.pid")"
  check_given_back "sig$1" "$2"
done

# Ctrl+Z in an interactive shell: the shell's prompt comes back on a sane terminal, and fg
# brings the game back, drawn whole.
tm new-session -d -s suspend -x 100 -y 30 "bash --norc -i"
sleep 0.3
tm send-keys -t suspend "cd '$levels' && stty -g >'$work/suspend.before' && '$game'" Enter
wait_for suspend "PRESS ENTER TO START VELDRA!"
tm send-keys -t suspend C-z
wait_for suspend "Stopped"
tm send-keys -t suspend "stty -g >'$work/suspend.during'" Enter
# On a busy machine the shell may take a while to run it: wait for the whole line.
for _ in $(seq 1 100); do [ -n "$(tr -d '\n' <"$work/suspend.during" 2>/dev/null)" ] && break; sleep 0.1; done
sleep 0.1
cmp -s "$work/suspend.before" "$work/suspend.during" || fail "suspend: terminal settings while suspended differ"
[ "$(pane_flag suspend cursor_flag)" == "1" ] || fail "suspend: the cursor is hidden while suspended"
mouse_given_back suspend
tm send-keys -t suspend "fg" Enter
wait_for suspend "PRESS ENTER TO START VELDRA!"
[ "$(pane_flag suspend alternate_on)" == "1" ] || fail "suspend: not back on the alternate screen"
mouse_taken suspend
tm send-keys -t suspend Escape
wait_for suspend "Game loop closed gracefully."

# A terminal that offers mouse reports in pixels, as kitty does, on a pty of this test's own
# (9 pixels a cell): the game asks for them, and asks again each time it takes the terminal
# back after a suspend. (The game leads its own session there, so its stop is a no-op and
# it takes the terminal back at once.)
python3 - "$game" "$levels" <<'PY' || fail "pixel reports: see above"
import fcntl, os, pty, select, signal, struct, sys, termios, time
game, levels = sys.argv[1:3]
pid, fd = pty.fork()
if pid == 0:
    os.chdir(levels)
    os.execv(game, [game])
fcntl.ioctl(fd, termios.TIOCSWINSZ, struct.pack("HHHH", 30, 100, 900, 600))
answers = {b"\x1b[c": b"\x1b[?62;22c", b"\x1b[?1016$p": b"\x1b[?1016;2$y"}
output, answered = b"", {query: 0 for query in answers}
def read_until(*texts):
    """Reads (answering every query) until the texts have come in order after the output so far."""
    global output
    start, deadline = len(output), time.monotonic() + 10
    while time.monotonic() < deadline:
        at = start
        for text in texts:
            at = output.find(text, at)
            if at < 0: break
            at += len(text)
        if at >= 0: return True
        if select.select([fd], [], [], 0.1)[0]:
            try: output += os.read(fd, 65536)
            except OSError: return False
        for query, answer in answers.items():
            for _ in range(output.count(query) - answered[query]):
                os.write(fd, answer)
            answered[query] = output.count(query)
    return False
ok = read_until(b"\x1b[?1016h")
if not ok: print("FAIL: the game never asked a terminal that offers them for pixel reports")
os.kill(pid, signal.SIGTSTP)
if ok and not read_until(b"\x1b[?1016l", b"\x1b[?1003h", b"\x1b[?1016h"):
    ok = False
    print("FAIL: after a suspend the game did not ask for pixel reports again")
os.write(fd, b"\x1b")
if not read_until(b"Game loop closed gracefully."):
    os.kill(pid, signal.SIGKILL)
os.waitpid(pid, 0)
sys.exit(0 if ok else 1)
PY

finish
