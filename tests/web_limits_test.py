#!/usr/bin/env python3
"""veldra-web's limits, with WebSockets spoken by hand: with --max-games 16, sixteen games
play and the seventeenth is refused; a 10 MB frame, a frame of garbage and a page of another
site each end only their own connection; the others' games play on; when all go, every game
ends. Usage: web_limits_test.py PORT (a veldra-web with --max-games 16 and no game yet)."""
import base64
import os
import re
import socket
import sys
import time

PORT = int(sys.argv[1])
failures = []


def fail(what):
    print("FAIL: " + what)
    failures.append(what)


def connect(path="/play?columns=80&rows=24", origin=None):
    """A socket after its upgrade request, and the server's answer's status line."""
    sock = socket.create_connection(("127.0.0.1", PORT), timeout=10)
    key = base64.b64encode(os.urandom(16)).decode()
    head = (f"GET {path} HTTP/1.1\r\nHost: 127.0.0.1:{PORT}\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
            f"Sec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n")
    if origin:
        head += f"Origin: {origin}\r\n"
    sock.sendall((head + "\r\n").encode())
    answer = b""
    while b"\r\n\r\n" not in answer:
        chunk = sock.recv(4096)
        if not chunk:
            break
        answer += chunk
    return sock, answer.split(b"\r\n")[0].decode(errors="replace")


def frame(payload, opcode=2):
    """A masked client frame."""
    mask = os.urandom(4)
    size = len(payload)
    if size < 126:
        head = bytes([0x80 | opcode, 0x80 | size])
    elif size < 65536:
        head = bytes([0x80 | opcode, 0x80 | 126]) + size.to_bytes(2, "big")
    else:
        head = bytes([0x80 | opcode, 0x80 | 127]) + size.to_bytes(8, "big")
    return head + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(payload))


def pump(sock, seconds):
    """Reads for a while, answering the game's pacing queries as a terminal does. The bytes
    read; None when the server closed the connection."""
    got = b""
    sock.settimeout(0.05)
    end = time.time() + seconds
    while time.time() < end:
        try:
            chunk = sock.recv(65536)
        except socket.timeout:
            continue
        except OSError:
            return None
        if not chunk:
            return None
        got += chunk
        try:
            for _ in range(chunk.count(b"\x1b[c")):
                sock.sendall(frame(b"\x1b[?62;22c"))
        except OSError:
            return None
    return got


def games_listed():
    sock = socket.create_connection(("127.0.0.1", PORT), timeout=10)
    sock.sendall(f"GET /watch HTTP/1.1\r\nHost: 127.0.0.1:{PORT}\r\nConnection: close\r\n\r\n".encode())
    page = b""
    while chunk := sock.recv(65536):
        page += chunk
    return len(re.findall(rb'href="/watch/\d+"', page))


players = []
for i in range(16):
    sock, status = connect()
    if "101" not in status:
        fail(f"game {i + 1} of 16 was refused: {status}")
    players.append(sock)
for sock in players:
    pump(sock, 0.1)
refused, status = connect()
if "503" not in status:
    fail(f"the 17th game was not refused: {status}")
refused.close()
foreign, status = connect(origin="http://elsewhere.example")
if "403" not in status:
    fail(f"a page of another site was not refused: {status}")
foreign.close()

huge, garbage = players[0], players[1]
try:
    # A text frame: the game would never see it (text is the page's control messages), so
    # only the bound on a message's size can close the connection for it.
    huge.sendall(frame(b"a" * (10 * 1024 * 1024), opcode=1))
except OSError:
    pass  # closed while it was still being sent
garbage.sendall(os.urandom(64) + b"\xff" * 64)
for name, sock in (("a 10 MB frame", huge), ("a frame of garbage", garbage)):
    if pump(sock, 3) is not None:
        fail(f"{name} did not close its connection")
for i, sock in enumerate(players[2:], start=3):
    got = pump(sock, 0.5)
    if not got:
        fail(f"game {i} did not play on after the bad frames ({'closed' if got is None else 'silent'})")
listed = games_listed()
if listed != 14:
    fail(f"{listed} games listed after two connections were closed, not 14")
again, status = connect()
if "101" not in status:
    fail(f"a game was refused with two of sixteen free: {status}")
pump(again, 0.5)
players.append(again)

for sock in players:
    sock.close()
for _ in range(100):
    if games_listed() == 0:
        break
    time.sleep(0.1)
else:
    fail("games were left running when their players had gone")
sys.exit(1 if failures else 0)
