#!/usr/bin/env bash
# Over a thin link (256 kbit/s, 40 ms each way, through tools/link_sim.py) the picture keeps
# up with the keys: after five seconds of turning, the pause page shows well within 1.5 s of
# P (seconds, with the frames queued in the line, before the frames were paced), and the
# game still simulates its 60 frames a second.
name=e2e_link
source "${BASH_SOURCE[0]%/*}/e2e_common.sh" || exit 1
command -v python3 >/dev/null 2>&1 || skip_for_lack_of python3
root="$(cd "${BASH_SOURCE[0]%/*}/.." && pwd)"

line="$("$root/scripts/link_lag.sh" 256000 40 16 "$game")" || fail "the game over the link did not run its course"
echo "$line"
read -r lag simulated < <(sed -E 's/.*shown ([0-9.]+) s after P; ([0-9.]+) frames simulated.*/\1 \2/' <<<"$line")
awk -v l="${lag:-99}" 'BEGIN { exit !(l < 1.5) }' || fail "the pause page showed ${lag:-?} s after P"
awk -v s="${simulated:-0}" 'BEGIN { exit !(s > 50) }' || fail "the game simulated ${simulated:-?} frames a second"
finish
