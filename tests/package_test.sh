#!/usr/bin/env bash
# The release packages in a dist folder, checked without installing anything system-wide:
# the Debian package's files, and its game started from a copy unpacked with dpkg-deb -x
# (through the launcher, in the installed level directory); the Windows zip's files, and
# with Wine at hand, its executable checking a golden recording in the unzipped folder.
set -u
dist="$(cd "$1" && pwd)"
wine="${2:-}"
golden="$(cd "$(dirname "$0")" && pwd)/demos/fight.vdm"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config"  # no settings file of whoever runs this

deb="$(ls "$dist"/veldra_*_amd64.deb 2>/dev/null | head -1)"
if [ -z "$deb" ]; then
  fail "no Debian package in $dist"
else
  files="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $NF }' | sort)"
  expected="./usr/games/veldra
./usr/lib/games/veldra/veldra
./usr/share/doc/veldra/examples/veldra.toml
./usr/share/games/veldra/iaxismundi.txt
./usr/share/games/veldra/otestinggrounds.txt
./usr/share/man/man6/veldra.6.gz"
  [ "$files" == "$expected" ] || fail "the package holds:
$files"
  [ "$(dpkg-deb -f "$deb" Section)" == "games" ] || fail "the package's section is not games"
  dpkg-deb -x "$deb" "$scratch/root"
  # No terminal at all: the level loads ("Map: loaded"), then the game says it has no keys
  # to read and ends with status 2.
  output="$(cd "$scratch" && timeout 10 setsid -w "$scratch/root/usr/games/veldra" </dev/null 2>/dev/null)"
  status=$?
  [[ "$output" == *"Map: loaded"* ]] || fail "the unpacked game printed: $output"
  [[ "$output" == *"/usr/share/games/veldra\\axismundi.txt"* ]] || fail "the launcher did not start it in its level directory: $output"
  [ "$status" -eq 2 ] || fail "the unpacked game ended with status $status, expected 2"
  # A recording named relative to where the command is typed, among other options in any
  # order; one recorded there too (without a terminal the game ends at once, the file made).
  cp "$golden" "$scratch/fight.vdm"
  for arguments in "--verify fight.vdm" "--colours 16 --verify fight.vdm" "--verify fight.vdm --colours 16"; do
    (cd "$scratch" && "$scratch/root/usr/games/veldra" $arguments >"$scratch/verify.txt" 2>&1) ||
      fail "the unpacked game did not verify a golden recording with '$arguments': $(cat "$scratch/verify.txt")"
  done
  (cd "$scratch" && timeout 10 setsid -w "$scratch/root/usr/games/veldra" --no-mouse --record new.vdm </dev/null >/dev/null 2>&1)
  [ -s "$scratch/new.vdm" ] || fail "--record with another option did not write the file where the command was typed"
  gzip -t "$scratch/root/usr/share/man/man6/veldra.6.gz" || fail "the manual page is not a gzip file"
  # The example settings file is a good file as shipped and with every setting taken in.
  example="$scratch/root/usr/share/doc/veldra/examples/veldra.toml"
  sed -E 's/^# (\[[a-z-]+\]$|[a-z-]+ = )/\1/' "$example" >"$scratch/example-on.toml"
  for file in "$example" "$scratch/example-on.toml"; do
    "$scratch/root/usr/games/veldra" --config "$file" --print-settings >/dev/null 2>"$scratch/err" ||
      fail "the example settings file was refused: $(cat "$scratch/err")"
  done
fi

zip="$(ls "$dist"/veldra-*-windows-x86_64.zip 2>/dev/null | head -1)"
if [ -z "$zip" ]; then
  fail "no Windows zip in $dist"
else
  folder="$(basename "$zip" .zip)"
  files="$(cmake -E tar tf "$zip" | sort)"
  expected="$folder/README.txt
$folder/iaxismundi.txt
$folder/otestinggrounds.txt
$folder/veldra.example.toml
$folder/veldra.exe"
  [ "$files" == "$expected" ] || fail "the zip holds:
$files"
  if [ -n "$wine" ]; then
    (cd "$scratch" && cmake -E tar xf "$zip")
    cp "$golden" "$scratch/$folder/fight.vdm"
    result="$(cd "$scratch/$folder" && "$wine" veldra.exe --verify fight.vdm 2>/dev/null | tr -d '\r')"
    [[ "$result" =~ ^fight.vdm:\ [0-9]+\ frames,\ identical$ ]] || fail "the zipped game under Wine said: $result"
  fi
fi

echo "package_test: $failures failed"
[ "$failures" -eq 0 ]
