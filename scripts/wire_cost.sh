#!/usr/bin/env bash
# Bytes per frame on the wire in each colour mode: the game in a tmux pane (100 x 32) walks
# and turns for three seconds (Up and Right held, sent as keyboard-protocol events) while
# tmux's pipe-pane keeps every byte the game writes; frames are counted by their
# synchronized-output brackets. Usage: scripts/wire_cost.sh [GAME] (default build/tests/veldra)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
game="${1:-$root/build/tests/veldra}"
work="$(mktemp -d)"
server="veldra-wire-$$"
trap 'tmux -L "$server" kill-server 2>/dev/null; rm -rf "$work"' EXIT
tm() { tmux -L "$server" "$@"; }
raw() { tm send-keys -t wire -H $(printf '%s' "$1" | od -An -tx1); }
wait_for() { for _ in $(seq 1 100); do tm capture-pane -p -t wire | grep -qF "$1" && return; sleep 0.1; done; }

for colours in 16 256 24bit; do
  tm new-session -d -s wire -x 100 -y 32 "cd '$root/levels' && TERM=screen '$game' --colours $colours; sleep 60"
  wait_for "PRESS ENTER TO START VELDRA!"
  tm send-keys -t wire Enter
  wait_for "HP: "
  raw $'\e[?11u'  # as a terminal speaking the keyboard protocol answers
  sleep 0.3
  tm pipe-pane -t wire -o "cat > '$work/$colours'"
  raw $'\e[1;1:1A\e[1;1:1C'
  sleep 3
  raw $'\e[1;1:3A\e[1;1:3C'
  sleep 0.2
  tm pipe-pane -t wire
  tm kill-session -t wire
  bytes=$(wc -c <"$work/$colours")
  frames=$(grep -ao $'\e\\[?2026h' "$work/$colours" | wc -l)
  colour_bytes=$(grep -ao $'\e\\[[0-9;]*m' "$work/$colours" | tr -d '\n' | wc -c)
  frames=$((frames > 0 ? frames : 1))
  echo "$colours: $frames frames, $((bytes / frames)) bytes a frame, $((colour_bytes / frames)) of them colours"
done
