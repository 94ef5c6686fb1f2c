#!/usr/bin/env bash
# The layering check holds the tree as it is, and fails on a planted include of the header
# only tests may include or of the one only the platform's backends may include, and on a
# key read in the player's code outside the command step.
set -u
root="$1"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
copy="$(mktemp -d)"
trap 'rm -rf "$copy"' EXIT

bash "$root/scripts/check_layers.sh" "$root" || fail "the tree breaks its layers"
cp -r "$root"/{platform,audio,core,render,frontend,world,player,program,tests,fuzz,bench,tools} "$copy"/
cp "$copy/player/movement.cpp" "$copy/movement.cpp"
for header in platform/headless/headless.h platform/backend/device.h; do
  { cat "$copy/movement.cpp"; echo "#include \"$header\""; } >"$copy/player/movement.cpp"
  bash "$root/scripts/check_layers.sh" "$copy" | grep -qF "player/movement.cpp includes \"$header\"" ||
    fail "an include of $header in player/ was let through"
done
{ cat "$copy/movement.cpp"; echo "bool readsAKey() { return keyDown(0); }"; } >"$copy/player/movement.cpp"
bash "$root/scripts/check_layers.sh" "$copy" | grep -qF "player/movement.cpp reads keys" ||
  fail "a key read in player/ outside the command step was let through"

echo "layering: $failures failed"
[ "$failures" -eq 0 ]
