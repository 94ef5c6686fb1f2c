#!/usr/bin/env bash
# The game binary from outside: the fatal path in an empty directory, start-up in levels/.
set -u
game="$1"
levels="$2"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# An empty directory: the working-directory lines, exactly the four fatal lines, status 1,
# within a second (there is no terminal, so the key wait returns at once).
cd "$scratch"
start=$(date +%s%N)
output="$("$game" </dev/null 2>&1)"
status=$?
elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
expected="Engine working directory:
$scratch\\axismundi.txt

********************************
 ERROR: Could not load 'Testing
 Please ensure the file exists

Press any key to close veldra..."
[ "$status" -eq 1 ] || fail "fatal path exit status $status, expected 1"
[ "$output" == "$expected" ] || fail "fatal path printed:
$output"
[ "$elapsed_ms" -lt 1000 ] || fail "fatal path took ${elapsed_ms} ms"

# In levels/ with no terminal at all (a new session has no controlling terminal): the
# working-directory lines and "Map: loaded", then one line on standard error saying there is
# nothing to read keys from, and status 2.
cd "$levels"
output="$(timeout -s TERM 10 setsid -w "$game" </dev/null 2>"$scratch/stderr")"
status=$?
expected="Engine working directory:
$levels\\axismundi.txt

*******************************
Map: loaded"
[ "$output" == "$expected" ] || fail "start-up printed:
$output"
[ "$status" -eq 2 ] || fail "without a terminal the exit status was $status, expected 2"
[ "$(wc -l <"$scratch/stderr")" -eq 1 ] && grep -q "^veldra: no terminal to read keys from" "$scratch/stderr" ||
  fail "without a terminal standard error held: $(cat "$scratch/stderr")"

echo "cli_startup: $failures failed"
[ "$failures" -eq 0 ]
