#!/usr/bin/env bash
# The frame encoder in a real terminal: for a few seeds, random frames sent one after the
# other into a tmux pane leave it showing exactly the last of them (capture-pane -e).
name=e2e_encoder
source "${BASH_SOURCE[0]%/*}/e2e_common.sh" || exit 1
probe="$game"

for seed in 1 2 3 4 5; do
  tm new-session -d -s "probe$seed" -x 80 -y 24 "$probe show $seed"
  wait_for "probe$seed" "shown" || continue
  result="$(tm capture-pane -p -e -t "probe$seed" | "$probe" check "$seed")" || fail "seed $seed: $result"
  tm kill-session -t "probe$seed"
done

finish
