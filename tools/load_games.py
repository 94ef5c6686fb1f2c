#!/usr/bin/env python3
"""Many games at once, as on a host that serves players over SSH: each game on a pty of its
own (100 x 32), recording, played with random keys as a terminal without key releases sends
them. The driver answers what the game asks as a terminal does: the pacing query after every
frame (DA1, CSI c) and the mode query for pixel mouse reports (DECRQM, answered "not known").
A game that ends during the run (the random keys get many players killed) is replaced at
once by a new one, so that there are as many games at once all through it. After the given
seconds every game is told to quit; prints the frames each simulated a second (from the ticks
its recording holds: slowest and median, over its steady play in the run, from its first
second of play to the end of the run or to its last frame; and over each game's whole life,
start-up and the end included), the games' CPU (user and kernel) apart from the driver's own,
the bytes a second a game sent and the CPU the games spent on a frame.

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


def ticks_between(path, start, end):
    """The ticks (in seconds of the monotonic clock) of the frames a recording shows simulated
    between two readings of that clock."""
    low, high = int(start * 1000) & 0xFFFFFFFF, int(end * 1000) & 0xFFFFFFFF
    span = (high - low) & 0xFFFFFFFF
    return [start + ((tick - low) & 0xFFFFFFFF) / 1000 for tick in frame_ticks(path)
            if (tick - low) & 0xFFFFFFFF < span]


def steady_rate(ticks, start, end, ended):
    """Frames a second over a game's steady window: from `start` to the end of the run, or, for
    a game that ended before it, to its last frame (its way out is no frame not simulated)."""
    if ended:
        return (len(ticks) - 1) / (ticks[-1] - ticks[0]) if len(ticks) > 1 and ticks[-1] > ticks[0] else 0.0
    return len(ticks) / (end - start)


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


class Game:
    """One game the driver started: its pty and what was seen of it."""

    def __init__(self, number, binary, work, settings):
        self.number = number
        self.recording = os.path.join(work, f"{number}.vdm")
        self.started = time.monotonic()
        self.pid, self.fd = start_game(binary, self.recording, settings)
        self.tail = b""
        self.sent = 0
        self.playing = None  # when its HUD was first drawn: past the title
        self.ended = None    # when its terminal closed (a game may die before the end)


def main():
    slots, seconds = int(sys.argv[1]), float(sys.argv[2])
    binary = os.path.abspath(sys.argv[3] if len(sys.argv) > 3 else "../build/tests/veldra")
    work = tempfile.mkdtemp()
    settings = None
    if "--config" in subprocess.run([binary, "--help"], capture_output=True, text=True).stdout:
        settings = os.path.join(work, "veldra.toml")
        with open(settings, "w") as out:
            out.write("[pad]\nenabled = false\n")
    rng = random.Random(1)
    games = []    # every game started, in order
    running = {}  # fd: the game on it
    poller = select.epoll()

    def start():
        game = Game(len(games), binary, work, settings)
        games.append(game)
        running[game.fd] = game
        poller.register(game.fd, select.EPOLLIN)
        return game

    def drain(timeout):
        for fd, _ in poller.poll(timeout):
            game = running[fd]
            try:
                out = os.read(fd, 65536)
            except BlockingIOError:
                continue
            except OSError:
                out = b""
            if not out:
                game.ended = time.monotonic()
                poller.unregister(fd)
                del running[fd]
                continue
            game.sent += len(out)
            if game.playing is None and b"HP: " in game.tail + out:
                game.playing = time.monotonic()
            game.tail = answer(fd, out, game.tail)

    def enter_the_waiting():
        # Enter, again every half second, to a game that has not begun to play: one still
        # starting up may not have read it yet, and a game left on the title would play the
        # menu with the random keys, whose pauses there are no measure of a frame's cost.
        for game in running.values():
            if game.playing is None:
                try:
                    os.write(game.fd, b"\r")
                except OSError:
                    pass  # it has just ended: drain() sees its end

    for _ in range(slots):
        start()
    next_enter = time.monotonic() + 0.5 + slots / 200
    deadline = next_enter + 10 + slots / 20
    while any(g.playing is None for g in running.values()) and time.monotonic() < deadline:
        drain(0.05)
        if time.monotonic() >= next_enter:
            next_enter += 0.5
            enter_the_waiting()
    if any(g.playing is None for g in running.values()):
        print(f"{sum(g.playing is None for g in running.values())} games did not begin to play", file=sys.stderr)
    began = time.monotonic()
    cpu_at_start = {g.number: cpu_seconds(g.pid) for g in games}
    sent_at_start = {g.number: g.sent for g in games}
    driver_at_start = resource.getrusage(resource.RUSAGE_SELF)
    next_keys = began
    next_enter = began + 0.5
    # A game that ends (a death) is replaced at once by a new one, as a host's players come
    # and go: there are as many games at once all through the run.
    while time.monotonic() - began < seconds:
        drain(0.02)
        while len(running) < slots:
            start()
        now = time.monotonic()
        if now >= next_enter:
            next_enter += 0.5
            enter_the_waiting()
        if now >= next_keys:  # a few keys a second for each game
            next_keys += 0.1
            for game in running.values():
                if game.playing is not None and rng.random() < 0.5:
                    try:
                        os.write(game.fd, rng.choice(KEYS))
                    except OSError:
                        pass
    elapsed = time.monotonic() - began
    finish = began + elapsed
    cpu_at_end = {g.number: cpu_seconds(g.pid) for g in games}
    driver = resource.getrusage(resource.RUSAGE_SELF)
    sent_during = sum(g.sent - sent_at_start.get(g.number, 0) for g in games)
    for game in running.values():
        try:
            os.write(game.fd, b"\x1b")
        except OSError:
            pass
    deadline = time.monotonic() + 30
    while running and time.monotonic() < deadline:
        drain(0.1)
    for game in games:
        try:
            os.waitpid(game.pid, 0)
            os.close(game.fd)
        except OSError:
            pass
    rates = []   # over each game's whole life, from its start to its end
    steady = []  # over each game's steady play in the run: after its first second of it
    frames = 0   # simulated by all the games in the run
    for game in games:
        result = subprocess.run([binary, "--verify", game.recording], capture_output=True, text=True)
        match = re.search(r"(\d+) frames", result.stdout)
        life = (game.ended or time.monotonic()) - game.started
        rates.append(int(match.group(1)) / life if match else 0.0)
        frames += len(ticks_between(game.recording, began, finish))
        if game.playing is None:
            continue
        start_at = max(began, game.playing) + 1
        ended = game.ended is not None and game.ended < finish
        until = game.ended if ended else finish
        if until - start_at < 2:
            continue  # too short a stretch of play to measure
        ticks = ticks_between(game.recording, start_at, until)
        steady.append(steady_rate(ticks, start_at, finish, ended))
    user = sum(cpu_at_end[g.number][0] - cpu_at_start.get(g.number, (0.0, 0.0))[0] for g in games)
    kernel = sum(cpu_at_end[g.number][1] - cpu_at_start.get(g.number, (0.0, 0.0))[1] for g in games)
    own = (driver.ru_utime - driver_at_start.ru_utime) + (driver.ru_stime - driver_at_start.ru_stime)
    cores = os.cpu_count()
    share = lambda seconds_used: seconds_used / elapsed * 100 / cores
    print(f"{slots} games at once for {elapsed:.1f} s ({len(games) - slots} started in place of games that ended): "
          f"frames simulated a second min {min(steady):.1f}, median {statistics.median(steady):.1f} "
          f"in steady play (min {min(rates):.1f}, median {statistics.median(rates):.1f} from start to end); "
          f"the games' CPU {share(user + kernel):.0f}% of {cores} cores "
          f"(user {share(user):.0f}%, kernel {share(kernel):.0f}%), the driver's {share(own):.0f}%; "
          f"{sent_during / slots / elapsed / 1024:.1f} KiB a second a game; "
          f"{(user + kernel) / max(frames, 1) * 1e6:.0f} us of CPU a frame")


if __name__ == "__main__":
    main()
