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

# --help and -h: the usage on standard output, nothing on standard error, status 0; --version
# the version the packages carry; a bad option the usage on standard error and status 2.
# None of them writes an escape sequence, whatever the terminal.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
version="$(sed -nE 's/^project\(veldra VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")"
for help in --help -h; do
  out="$("$game" "$help" 2>"$scratch/err")"
  [ $? -eq 0 ] && [[ "$out" == usage:* ]] && [ ! -s "$scratch/err" ] || fail "$help: status, usage or standard error wrong"
done
[ "$("$game" --version 2>&1)" == "veldra $version" ] || fail "--version printed '$("$game" --version 2>&1)', expected 'veldra $version'"
"$game" --colour 16 >"$scratch/out" 2>"$scratch/err"
[ $? -eq 2 ] && [ ! -s "$scratch/out" ] && grep -q '^usage: veldra' "$scratch/err" || fail "a bad option: status, usage or standard output wrong"
cat "$scratch"/out "$scratch"/err | grep -q $'\e' && fail "an escape sequence was written"

# Without apt (dpkg-query and apt-get hidden from PATH): the play script builds and runs the
# game where the build tools are there, and the install script names what is missing.
# The play build keeps the paths of the tools it was configured with: it is configured
# afresh after, with the ordinary PATH.
bin="$root/build/without-apt"
rm -rf "$bin" && mkdir -p "$bin"
for tool in /usr/bin/* /bin/*; do
  case "${tool##*/}" in dpkg-query | apt-get) ;; *) ln -sf "$tool" "$bin/" ;; esac
done
rm -f "$root/build/play/CMakeCache.txt"
[ "$(PATH="$bin" "$root/scripts/play.sh" --version 2>"$scratch/err" | tail -1)" == "veldra $version" ] ||
  fail "without apt, play.sh --version did not print the version: $(tail -3 "$scratch/err")"
rm -f "$root/build/play/CMakeCache.txt" "$bin/ninja"
PATH="$bin" "$root/scripts/install-deps.sh" 2>"$scratch/err" && fail "without apt or Ninja, install-deps.sh succeeded"
grep -q -- "- Ninja" "$scratch/err" || fail "without apt, a missing Ninja was not named: $(cat "$scratch/err")"
rm -rf "$bin"

echo "cli_startup: $failures failed"
[ "$failures" -eq 0 ]
