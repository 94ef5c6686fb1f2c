#!/usr/bin/env python3
"""Many games at once, as on a host that serves players over SSH: each game on a pty of its
own (100 x 32), recording, played with random keys as a terminal without key releases sends
them; every frame's pacing query is answered, as a terminal would. After the given seconds
every game is told to quit; prints the frames each simulated a second (from its recording)
and the CPU all of them used.

    load_games.py GAMES SECONDS [GAME_BINARY]   (run in levels/; default ../build/tests/veldra)
"""
import fcntl
import os
import pty
import random
import re
import resource
import select
import struct
import subprocess
import sys
import tempfile
import termios
import time

KEYS = [b"\x1b[A", b"\x1b[B", b"\x1b[C", b"\x1b[D", b" ", b"e", b"f", b"q", b"r", b"\t"]
QUERY = b"\x1b[c"
ANSWER = b"\x1b[?62;22c"


def start_game(binary, recording):
    pid, fd = pty.fork()
    if pid == 0:
        os.environ.update(TERM="xterm-256color", VELDRA_FAREWELL_MS="0")
        os.execv(binary, [binary, "--record", recording])
    fcntl.ioctl(fd, termios.TIOCSWINSZ, struct.pack("HHHH", 32, 100, 0, 0))
    return pid, fd


def main():
    games, seconds = int(sys.argv[1]), float(sys.argv[2])
    binary = os.path.abspath(sys.argv[3] if len(sys.argv) > 3 else "../build/tests/veldra")
    work = tempfile.mkdtemp()
    rng = random.Random(1)
    running = {}
    ended = {}  # game: when its terminal closed (a game may die before the end)
    for i in range(games):
        pid, fd = start_game(binary, os.path.join(work, f"{i}.vdm"))
        running[fd] = (i, pid)
    time.sleep(0.5)
    for fd in running:
        os.write(fd, b"\r")  # past the title
    began = time.monotonic()
    next_keys = began
    while time.monotonic() - began < seconds:
        ready, _, _ = select.select([fd for fd in running if running[fd][0] not in ended], [], [], 0.05)
        for fd in ready:
            try:
                out = os.read(fd, 65536)
            except OSError:
                out = b""
            if not out and running[fd][0] not in ended:
                ended[running[fd][0]] = time.monotonic()
            for _ in range(out.count(QUERY)):
                os.write(fd, ANSWER)
        if time.monotonic() >= next_keys:  # a few keys a second for each game
            next_keys += 0.1
            for fd in running:
                if running[fd][0] not in ended and rng.random() < 0.5:
                    os.write(fd, rng.choice(KEYS))
    for fd in running:
        try:
            os.write(fd, b"\x1b")
        except OSError:
            pass
    deadline = time.monotonic() + 30
    alive = dict(running)
    while alive and time.monotonic() < deadline:
        ready, _, _ = select.select(list(alive), [], [], 0.1)
        for fd in ready:
            try:
                if not os.read(fd, 65536):
                    raise OSError
            except OSError:
                game, pid = alive.pop(fd)
                ended.setdefault(game, time.monotonic())
                os.waitpid(pid, 0)
                os.close(fd)
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    elapsed = time.monotonic() - began
    rates = []
    for i in range(games):
        result = subprocess.run([binary, "--verify", os.path.join(work, f"{i}.vdm")], capture_output=True, text=True)
        match = re.search(r"(\d+) frames", result.stdout)
        rates.append(int(match.group(1)) / (ended.get(i, time.monotonic()) - began + 0.5) if match else 0.0)
    cpu = usage.ru_utime + usage.ru_stime
    print(f"{games} games for {elapsed:.1f} s: frames simulated a second min {min(rates):.1f}, "
          f"mean {sum(rates) / len(rates):.1f}; CPU {cpu / elapsed * 100 / os.cpu_count():.0f}% of "
          f"{os.cpu_count()} cores")


if __name__ == "__main__":
    main()
