#!/usr/bin/env bash
# Runs a timed end-to-end test holding one of its kind's locks: the first that is free, else
# (all taken) the first, once it is given up. flock itself holds it, never what the test
# starts. Usage: take_turn.sh LOCK_PREFIX SLOTS COMMAND...
prefix="$1" slots="$2"
shift 2
readonly busy=75
for slot in $(seq 1 "$slots"); do
  flock -o -n -E "$busy" "$prefix-$slot.lock" "$@"
  status=$?
  [ "$status" -ne "$busy" ] && exit "$status"
done
exec flock -o "$prefix-1.lock" "$@"
