#!/usr/bin/env bash
# The Windows build under Wine, from outside: in an empty directory, with standard output
# sent to a file, it prints the working-directory lines and exactly the four fatal lines and
# exits with status 1 (no console to wait on, so at once).
set -u
game="$1"
wine="$2"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
"$wine" "$game" >"$scratch/out.txt" 2>"$scratch/err.txt" </dev/null
status=$?
directory="$("$wine" winepath -w "$scratch" 2>/dev/null | tr -d '\r')"
expected="Engine working directory:
$directory\\axismundi.txt

********************************
 ERROR: Could not load 'Testing
 Please ensure the file exists

Press any key to close veldra..."
[ "$status" -eq 1 ] || fail "fatal path exit status $status, expected 1"
[ "$(cat "$scratch/out.txt")" == "$expected" ] || fail "fatal path printed:
$(cat -A "$scratch/out.txt")
expected:
$expected"

echo "wine_startup: $failures failed"
[ "$failures" -eq 0 ]
