#!/usr/bin/env python3
"""Many games at once, as on a host that serves players over SSH: each game on a pty of its
own (100 x 32), recording, played with random keys as a terminal without key releases sends
them. The driver answers what the game asks as a terminal does: the pacing query after every
frame (DA1, CSI c) and the mode query for pixel mouse reports (DECRQM, answered "not known").
After the given seconds every game is told to quit; prints the frames each simulated a second
(from the ticks its recording holds: slowest and median, while all the games play, after the
first second of it; and over each game's whole life, start-up and the end included), the
games' CPU (user and kernel) apart from the
driver's own, and the bytes a second each game sent.

    load_games.py GAMES SECONDS [GAME_BINARY]   (run in levels/; default ../build/tests/veldra)

The games run without a settings file and without reading a pad (as over SSH).
"""
import fcntl
import os
import pty
import random
import re
import resource
import select
import statistics
import struct
import subprocess
import sys
import tempfile
import termios
import time

KEYS = [b"\x1b[A", b"\x1b[B", b"\x1b[C", b"\x1b[D", b" ", b"e", b"f", b"q", b"r", b"\t"]
QUERIES = [(b"\x1b[c", b"\x1b[?62;22c"), (b"\x1b[?1016$p", b"\x1b[?1016;0$y")]
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def start_game(binary, recording, settings):
    pid, fd = pty.fork()
    if pid == 0:
        os.environ.update(TERM="xterm-256color", VELDRA_FAREWELL_MS="0")
        os.environ.pop("DISPLAY", None)
        options = ["--config", settings] if settings else []  # an older game has no settings file
        os.execv(binary, [binary] + options + ["--record", recording])
    fcntl.ioctl(fd, termios.TIOCSWINSZ, struct.pack("HHHH", 32, 100, 0, 0))
    os.set_blocking(fd, False)
    return pid, fd


def varint(data, at):
    value, shift = 0, 0
    while True:
        byte = data[at]
        at += 1
        value |= (byte & 0x7F) << shift
        shift += 7
        if byte < 0x80:
            return value, at


def frame_ticks(path):
    """The tick count (ms, the game's steady clock) each recorded frame read, in order: the
    header's start ticks, then each frame record's first number, its tick step."""
    with open(path, "rb") as file:
        data = file.read()
    at, ticks, found = len(b"VELDRA DEMO\n"), 0, []
    try:
        while at < len(data):
            tag = data[at:at + 1]
            length, at = varint(data, at + 1)
            payload = data[at:at + length]
            at += length + 4  # the record's CRC
            if tag == b"H":
                _, field = varint(payload, 0)  # the version, then the generator's state
                ticks = int.from_bytes(payload[field + 4:field + 8], "little")
            elif tag == b"F":
                ticks = (ticks + varint(payload, 0)[0]) & 0xFFFFFFFF
                found.append(ticks)
    except IndexError:
        pass  # a cut file: the frames before the cut
    return found


def frames_between(path, start, end):
    """Frames a recording shows simulated between two readings of the monotonic clock."""
    low, high = int(start * 1000) & 0xFFFFFFFF, int(end * 1000) & 0xFFFFFFFF
    return sum(1 for tick in frame_ticks(path) if (tick - low) & 0xFFFFFFFF < (high - low) & 0xFFFFFFFF)


def cpu_seconds(pid):
    """User and kernel seconds of a process so far, from /proc (0, 0 once it is gone)."""
    try:
        with open(f"/proc/{pid}/stat") as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return int(fields[11]) / CLOCK_TICKS, int(fields[12]) / CLOCK_TICKS
    except (OSError, IndexError, ValueError):
        return 0.0, 0.0


def answer(fd, out, tail):
    """Answers every query in the output (a query may be split across two reads)."""
    seen = tail + out
    for query, reply in QUERIES:
        count = seen.count(query) - tail.count(query)
        for _ in range(count):
            try:
                os.write(fd, reply)
            except OSError:
                pass
    return seen[-16:]


def main():
    games, seconds = int(sys.argv[1]), float(sys.argv[2])
    binary = os.path.abspath(sys.argv[3] if len(sys.argv) > 3 else "../build/tests/veldra")
    work = tempfile.mkdtemp()
    settings = None
    if "--config" in subprocess.run([binary, "--help"], capture_output=True, text=True).stdout:
        settings = os.path.join(work, "veldra.toml")
        with open(settings, "w") as out:
            out.write("[pad]\nenabled = false\n")
    rng = random.Random(1)
    running = {}  # fd: (game, pid)
    started = {}  # game: when it was started (its recording counts its frames from then)
    for i in range(games):
        started[i] = time.monotonic()
        pid, fd = start_game(binary, os.path.join(work, f"{i}.vdm"), settings)
        running[fd] = (i, pid)
    poller = select.epoll()
    for fd in running:
        poller.register(fd, select.EPOLLIN)
    tails = {fd: b"" for fd in running}
    sent = {fd: 0 for fd in running}
    ended = {}  # game: when its terminal closed (a game may die before the end)
    playing = set()  # the games whose HUD has been drawn: past the title

    def drain(timeout):
        for fd, _ in poller.poll(timeout):
            try:
                out = os.read(fd, 65536)
            except BlockingIOError:
                continue
            except OSError:
                out = b""
            if not out:
                ended.setdefault(running[fd][0], time.monotonic())
                poller.unregister(fd)
                continue
            sent[fd] += len(out)
            if b"HP: " in tails[fd] + out:
                playing.add(fd)
            tails[fd] = answer(fd, out, tails[fd])

    # Past the title: Enter, again every half second to a game that has not begun to play (a
    # game still starting up may not have read it yet); a game left on the title would play
    # the menu with the random keys, and its pauses there are no measure of a frame's cost.
    next_enter = time.monotonic() + 0.5 + games / 200
    deadline = next_enter + 10 + games / 20
    while len(playing) + len(ended) < games and time.monotonic() < deadline:
        drain(0.05)
        if time.monotonic() >= next_enter:
            next_enter += 0.5
            for fd, (game, _) in running.items():
                if fd not in playing and game not in ended:
                    os.write(fd, b"\r")
    if len(playing) < games:
        print(f"{games - len(playing)} games did not begin to play", file=sys.stderr)
    began = time.monotonic()
    cpu_at_start = {fd: cpu_seconds(pid) for fd, (_, pid) in running.items()}
    sent_at_start = dict(sent)
    driver_at_start = resource.getrusage(resource.RUSAGE_SELF)
    next_keys = began
    while time.monotonic() - began < seconds:
        drain(0.02)
        if time.monotonic() >= next_keys:  # a few keys a second for each game
            next_keys += 0.1
            for fd, (game, _) in running.items():
                if game not in ended and rng.random() < 0.5:
                    try:
                        os.write(fd, rng.choice(KEYS))
                    except OSError:
                        pass
    elapsed = time.monotonic() - began
    cpu_at_end = {fd: cpu_seconds(pid) for fd, (_, pid) in running.items()}
    driver = resource.getrusage(resource.RUSAGE_SELF)
    sent_during = {fd: sent[fd] - sent_at_start[fd] for fd in running}
    for fd in running:
        try:
            os.write(fd, b"\x1b")
        except OSError:
            pass
    deadline = time.monotonic() + 30
    while len(ended) < games and time.monotonic() < deadline:
        drain(0.1)
    for fd, (_, pid) in running.items():
        try:
            os.waitpid(pid, 0)
            os.close(fd)
        except OSError:
            pass
    rates = []   # over each game's whole life, from its start to its end
    steady = []  # while all of them play, after the first second (a game that died, till then)
    for i in range(games):
        recording = os.path.join(work, f"{i}.vdm")
        result = subprocess.run([binary, "--verify", recording], capture_output=True, text=True)
        match = re.search(r"(\d+) frames", result.stdout)
        rates.append(int(match.group(1)) / (ended.get(i, time.monotonic()) - started[i]) if match else 0.0)
        until = min(began + elapsed, ended.get(i, began + elapsed))  # a game may die before the end
        steady.append(frames_between(recording, began + 1, until) / (until - began - 1) if until > began + 2 else 0.0)
    user = sum(cpu_at_end[fd][0] - cpu_at_start[fd][0] for fd in running)
    kernel = sum(cpu_at_end[fd][1] - cpu_at_start[fd][1] for fd in running)
    own = (driver.ru_utime - driver_at_start.ru_utime) + (driver.ru_stime - driver_at_start.ru_stime)
    cores = os.cpu_count()
    share = lambda seconds_used: seconds_used / elapsed * 100 / cores
    print(f"{games} games for {elapsed:.1f} s: frames simulated a second min {min(steady):.1f}, "
          f"median {statistics.median(steady):.1f} while all play (min {min(rates):.1f}, "
          f"median {statistics.median(rates):.1f} from start to end); the games' CPU {share(user + kernel):.0f}% of {cores} cores "
          f"(user {share(user):.0f}%, kernel {share(kernel):.0f}%), the driver's {share(own):.0f}%; "
          f"{statistics.mean(sent_during.values()) / elapsed / 1024:.1f} KiB a second a game; "
          f"{(user + kernel) / (sum(steady) * elapsed) * 1e6:.0f} us of CPU a frame")


if __name__ == "__main__":
    main()
