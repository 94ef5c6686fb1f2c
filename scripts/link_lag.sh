#!/usr/bin/env bash
# How far the picture falls behind the keys over a thin link: the game in a tmux pane
# (100 x 32) behind tools/link_sim.py turns for five seconds (Right held, sent as
# keyboard-protocol events), then P is pressed; prints the time until the pause page shows,
# and the frames the game simulated and drew a second.
# Usage: scripts/link_lag.sh RATE_BITS DELAY_MS [16|256|24bit] [GAME]
#   (rate 0 and delay 0: direct; GAME defaults to build/tests/veldra)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
rate="${1:?rate in bits a second}"
delay="${2:?delay in ms each way}"
colours="${3:-16}"
game="${4:-$root/build/tests/veldra}"
work="$(mktemp -d)"
server="veldra-link-$$"
trap 'tmux -L "$server" kill-server 2>/dev/null; rm -rf "$work"' EXIT
tm() { tmux -L "$server" "$@"; }
raw() { tm send-keys -t link -H $(printf '%s' "$1" | od -An -tx1); }
shows() { tm capture-pane -p -t link | grep -qF "$1"; }
wait_for() {  # text, seconds
  for _ in $(seq 1 $(($2 * 50))); do shows "$1" && return 0; sleep 0.02; done
  echo "link_lag: '$1' did not show within $2 s" >&2
  return 1
}
now_ms() { date +%s%3N; }

tm new-session -d -s link -x 100 -y 32 "cd '$root/levels' && TERM=screen VELDRA_FAREWELL_MS=0 \
  python3 '$root/tools/link_sim.py' --rate $rate --delay $delay --stats '$work/stats' -- \
  '$game' --colours $colours --record '$work/game.vdm'; sleep 60"
wait_for "PRESS ENTER TO START VELDRA!" 30
tm send-keys -t link Enter
wait_for "HP: " 30
raw $'\e[?11u'  # as a terminal speaking the keyboard protocol answers
sleep 0.5
raw $'\e[1;1:1C'
sleep 5
raw $'\e[1;1:3C\e[112;1:1u\e[112;1:3u'
pressed=$(now_ms)
wait_for "GAME PAUSED" 60
lag=$(($(now_ms) - pressed))
raw $'\e[112;1:1u\e[112;1:3u'
sleep 0.3
raw $'\e[27;1:1u\e[27;1:3u'
for _ in $(seq 1 600); do [ -s "$work/stats" ] && break; sleep 0.1; done
seconds=$(awk '/^seconds/ { print $2 }' "$work/stats")
drawn=$(awk '/^frames/ { print $2 }' "$work/stats")
simulated=$(cd "$root/levels" && "$game" --verify "$work/game.vdm" | grep -oE '[0-9]+ frames' | grep -oE '[0-9]+')
awk -v r="$rate" -v d="$delay" -v c="$colours" -v l="$lag" -v s="$seconds" -v n="$simulated" -v f="$drawn" 'BEGIN {
  printf "%s bit/s, %s ms each way, %s colours: pause shown %.2f s after P; %.1f frames simulated, %.1f drawn a second\n",
    (r == 0 ? "unlimited" : r), d, c, l / 1000, n / s, f / s }'
