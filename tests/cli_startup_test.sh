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
# So does a recorded game: its file was written whole, so nothing more is said.
timeout -s TERM 10 setsid -w "$game" --record "$scratch/none.vdm" </dev/null >/dev/null 2>"$scratch/stderr"
[ $? -eq 2 ] && [ "$(wc -l <"$scratch/stderr")" -eq 1 ] ||
  fail "a recorded game without a terminal said: $(cat "$scratch/stderr")"

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

# Settings files. Each kind of bad file ends the game before the terminal is touched: one
# line "FILE:LINE: ..." on standard error, nothing on standard output, status 2.
export XDG_CONFIG_HOME="$scratch/config"
mkdir -p "$XDG_CONFIG_HOME/veldra"
bad_file() {  # line, what the line says, the file's text
  printf '%s\n' "$3" >"$scratch/bad.toml"
  "$game" --config "$scratch/bad.toml" >"$scratch/out" 2>"$scratch/err"
  local status=$?
  [ "$status" -eq 2 ] && [ ! -s "$scratch/out" ] && [ "$(wc -l <"$scratch/err")" -eq 1 ] &&
    grep -q "^$scratch/bad.toml:$1: .*$2" "$scratch/err" ||
    fail "bad file ($2): status $status, said: $(cat "$scratch/err" "$scratch/out")"
  cat "$scratch/out" "$scratch/err" | grep -q $'\e' && fail "bad file ($2): an escape sequence was written"
}
bad_file 2 "not TOML" $'preset = "A"\n[preset-a\nforward = "W"'
bad_file 1 "unknown table \[controls\]" '[controls]'
bad_file 2 "unknown setting 'size'" $'[display]\nsize = 3'
bad_file 3 "unknown action 'jump'" $'\n[preset-b]\njump = "J"'
bad_file 2 "unknown key name \"Wobble\"" $'[preset-a]\nforward = ["Up", "Wobble"]'
bad_file 2 "\"P\" cannot be bound" $'[preset-b]\nherba = "P"'
bad_file 2 "\"Tab\" cannot be bound" $'[preset-a]\nforward = "tab"'
bad_file 3 "\"W\" is bound to both forward and herba in \[preset-b\]" $'[preset-b]\n\nherba = "W"'
bad_file 2 "the stand-in \"Q\" of electrica is also bound to forward in \\[preset-a\\]; give electrica-stand-in" $'[preset-a]\nforward = "Q"'
bad_file 2 "volume is a whole number from 0" $'[sound]\nvolume = 101'
bad_file 2 "volume is a whole number from 0" $'[sound]\nvolume = "loud"'
bad_file 2 "enabled is true or false" $'[mouse]\nenabled = 1'
bad_file 1 "preset is \"A\" or \"B\"" 'preset = "C"'
bad_file 2 "dead-zone is a whole number" $'[pad]\ndead-zone = 95'
bad_file 2 "\"Pad Start\" cannot be bound" $'[preset-a]\nstaff = ["Pad A", "pad start"]'
# The pad's library is loaded when the game starts, where it is installed: never linked.
ldd "$game" | grep -qi sdl && fail "the game is linked against SDL: $(ldd "$game" | grep -i sdl)"
for folder_or_absent in "$scratch/absent.toml" "$scratch"; do
  "$game" --config "$folder_or_absent" >"$scratch/out" 2>"$scratch/err"
  [ $? -eq 2 ] && grep -q "^veldra: $folder_or_absent: " "$scratch/err" || fail "--config $folder_or_absent was not refused"
  "$game" --verify "$folder_or_absent" >"$scratch/out" 2>"$scratch/err"
  [ $? -eq 2 ] && grep -q "^veldra: $folder_or_absent: " "$scratch/err" || fail "--verify $folder_or_absent was not refused"
done
# The default file is read where XDG_CONFIG_HOME says, and --no-config reads none.
printf '[sound]\nvolume = 300\n' >"$XDG_CONFIG_HOME/veldra/veldra.toml"
"$game" --print-settings >/dev/null 2>"$scratch/err"
[ $? -eq 2 ] && grep -q "^$XDG_CONFIG_HOME/veldra/veldra.toml:2: " "$scratch/err" || fail "the default file was not read"
"$game" --no-config --print-settings >/dev/null 2>&1 || fail "--no-config still read the default file"
# With no XDG_CONFIG_HOME (or a relative one, which does not count), the file is under HOME;
# with no HOME either, or an empty one, there is no default file at all.
mkdir -p "$scratch/home/.config/veldra"
cp "$XDG_CONFIG_HOME/veldra/veldra.toml" "$scratch/home/.config/veldra/"
HOME="$scratch/home" XDG_CONFIG_HOME=relative "$game" --print-settings >/dev/null 2>"$scratch/err"
grep -q "^$scratch/home/.config/veldra/veldra.toml:2: " "$scratch/err" ||
  fail "without XDG_CONFIG_HOME the file under HOME was not read: $(cat "$scratch/err")"
for home in unset ""; do
  if [ "$home" == unset ]; then (unset HOME XDG_CONFIG_HOME; "$game" --print-settings >/dev/null 2>"$scratch/err")
  else HOME="" XDG_CONFIG_HOME="" "$game" --print-settings >/dev/null 2>"$scratch/err"; fi
  [ $? -eq 0 ] || fail "with HOME $home the game did not start: $(cat "$scratch/err")"
done
# --print-settings: the file and the options merged, as a file that prints itself again.
# Every setting away from its default, so that one left out of the print shows.
printf '%s\n' 'preset = "B"' '[preset-b]' 'forward = "Z"' 'turn-left = "Q"' 'herba = "H"' 'staff-stand-in = "U"' \
  '[keyboard]' 'letters = "position"' '[mouse]' 'enabled = false' 'speed = 250' '[pad]' 'enabled = false' \
  'dead-zone = 10' 'turn-speed = 150' '[display]' 'colours = "256"' '[sound]' 'volume = 40' \
  >"$XDG_CONFIG_HOME/veldra/veldra.toml"
"$game" --print-settings --volume 70 >"$scratch/printed.toml" 2>"$scratch/err" || fail "--print-settings failed: $(cat "$scratch/err")"
for line in 'volume = 70' 'preset = "B"' 'forward = "Z"' 'turn-left = "Q"' 'herba = "H"' 'staff-stand-in = "U"' \
  'letters = "position"' 'speed = 250' 'dead-zone = 10' 'turn-speed = 150' 'colours = "256"'; do
  grep -qxF "$line" "$scratch/printed.toml" || fail "--print-settings did not print '$line' of the file and the options"
done
[ "$(grep -cx 'enabled = false' "$scratch/printed.toml")" -eq 2 ] || fail "--print-settings lost an 'enabled = false'"
"$game" --config "$scratch/printed.toml" --print-settings >"$scratch/again.toml" &&
  cmp -s "$scratch/printed.toml" "$scratch/again.toml" || fail "--print-settings did not print itself again"
grep -q $'\e' "$scratch/printed.toml" && fail "--print-settings wrote an escape sequence"
rm -f "$XDG_CONFIG_HOME/veldra/veldra.toml"

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
