#!/usr/bin/env python3
"""A thin link between a terminal and a program: the program runs on a pty of its own, and
every byte each way waits in an unbounded queue, goes out at a byte rate and arrives after a
delay, as over a slow network with deep buffers. Run it in the terminal (a tmux pane):

    link_sim.py --rate BITS_PER_SECOND --delay MS [--stats FILE] -- PROGRAM [ARGS...]

A rate of 0 is no limit. With --stats, on exit it writes the bytes the program wrote and the
frames it sent whole (counted by their synchronized-output brackets), and how long it ran.
"""
import argparse
import collections
import fcntl
import os
import pty
import select
import signal
import struct
import sys
import termios
import time
import tty

FRAME_START = b"\x1b[?2026h"


class Direction:
    """One way of the link: a queue, a byte rate and a delay."""

    def __init__(self, rate_bits, delay_ms):
        self.rate = rate_bits / 8.0  # bytes a second; 0: unlimited
        self.delay = delay_ms / 1000.0
        self.queue = collections.deque()  # (time it may arrive, bytes)
        self.line_free_at = 0.0  # when the line has sent everything queued before

    def send(self, data, now):
        # Each chunk leaves once the line has sent what came before it, then travels.
        start = max(now, self.line_free_at)
        on_line = len(data) / self.rate if self.rate else 0.0
        self.line_free_at = start + on_line
        self.queue.append((self.line_free_at + self.delay, data))

    def due(self, now):
        out = b""
        while self.queue and self.queue[0][0] <= now:
            out += self.queue.popleft()[1]
        return out

    def next_time(self):
        return self.queue[0][0] if self.queue else None

    def waiting(self):
        return sum(len(d) for _, d in self.queue)


def copy_window_size(source_fd, target_fd):
    try:
        size = fcntl.ioctl(source_fd, termios.TIOCGWINSZ, b"\0" * 8)
        fcntl.ioctl(target_fd, termios.TIOCSWINSZ, size)
    except OSError:
        pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rate", type=float, default=0, help="bits a second each way (0: no limit)")
    parser.add_argument("--delay", type=float, default=0, help="milliseconds each way")
    parser.add_argument("--stats", help="file for what was carried")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    options = parser.parse_args()
    command = options.command[1:] if options.command[:1] == ["--"] else options.command
    if not command:
        parser.error("no program given")

    pid, master = pty.fork()
    if pid == 0:
        os.execvp(command[0], command)
    stdin, stdout = sys.stdin.fileno(), sys.stdout.fileno()
    copy_window_size(stdout, master)
    signal.signal(signal.SIGWINCH, lambda *_: (copy_window_size(stdout, master), os.kill(pid, signal.SIGWINCH)))
    saved = termios.tcgetattr(stdin) if os.isatty(stdin) else None
    if saved:
        tty.setraw(stdin)
    down = Direction(options.rate, options.delay)  # program to terminal
    up = Direction(options.rate, options.delay)    # terminal to program
    began = time.monotonic()
    written = frames = 0
    tail = b""
    program_open = True
    try:
        while program_open or down.queue:
            now = time.monotonic()
            times = [t for t in (down.next_time(), up.next_time()) if t is not None]
            timeout = max(0.0, min(times) - now) if times else 0.5
            readers = [stdin] + ([master] if program_open else [])
            ready, _, _ = select.select(readers, [], [], min(timeout, 0.5))
            now = time.monotonic()
            if master in ready:
                try:
                    data = os.read(master, 65536)
                except OSError:
                    data = b""
                if not data:
                    program_open = False
                else:
                    written += len(data)
                    frames += (tail + data).count(FRAME_START)
                    tail = data[-(len(FRAME_START) - 1):]
                    down.send(data, now)
            if stdin in ready:
                data = os.read(stdin, 65536)
                if data:
                    up.send(data, now)
            out = down.due(now)
            if out:
                os.write(stdout, out)
            keys = up.due(now)
            if keys and program_open:
                os.write(master, keys)
    finally:
        if saved:
            termios.tcsetattr(stdin, termios.TCSAFLUSH, saved)
        _, status = os.waitpid(pid, 0)
        if options.stats:
            with open(options.stats, "w") as f:
                f.write(f"bytes {written}\nframes {frames}\nseconds {time.monotonic() - began:.2f}\n")
    sys.exit(os.waitstatus_to_exitcode(status) if hasattr(os, "waitstatus_to_exitcode") else 0)


if __name__ == "__main__":
    main()
