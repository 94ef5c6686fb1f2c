#!/usr/bin/env bash
# The include graph stays layered: each folder includes its own headers and those of the
# folders below it, and nothing else. Prints every include that breaks the rule and fails;
# run by the test command. Usage: check_layers.sh [ROOT]
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"

# folder: what it may include besides its own folder (folders, or single headers). A rule
# names a folder exactly: "platform" is platform/'s own headers, not its backends'.
#
# The house, bottom up: platform/ is the ground, with platform/backend/ (the devices
# behind it, which only the platform and its backends see) and one folder per backend,
# which never see one another; then audio/, core/ (the Game and what it holds), render/,
# frontend/, world/, player/, and program/ on top, which runs it all. Outside the game:
# the tests see everything but a backend's devices; the fuzz targets, benchmarks and tools
# likewise, and none of them sees the tests but the fuzz targets (the model terminal).
# veldra-web (web/) is a program beside the game that runs it: it sees none of its code.
game="platform audio core render frontend world player program"
declare -A allowed=(
  [platform]="platform/backend"
  [platform/backend]="platform"
  [platform/terminal]="platform platform/backend"
  [platform/headless]="platform platform/backend"
  [platform/win32]="platform platform/backend"
  [audio]="platform"
  [core]="platform audio"
  [render]="platform audio core"
  [frontend]="platform audio core render/frame_view.h"
  [world]="platform audio core"
  [player]="platform audio core world frontend"
  [program]="platform audio core render world player frontend"
  [tests]="$game platform/terminal platform/headless"
  [fuzz]="$game platform/terminal platform/headless tests"
  [bench]="$game platform/terminal platform/headless"
  [tools]="$game platform/terminal platform/headless"
  [web]=""
)

status=0
# Keys are read in one place of the player's and the front end's code, the command step:
# everything else reads the command record it fills.
while IFS= read -r file; do
  echo "layering: ${file#"$root"/} reads keys; only player/bindings.cpp (the command step) does"
  status=1
done < <(grep -l 'keyDown(' "$root"/player/*.cpp "$root"/frontend/*.cpp | grep -v '/player/bindings\.cpp$')
# A folder with code and no rule is a layer nobody placed.
while IFS= read -r dir; do
  folder="${dir#"$root"/}"
  if [[ -z "${allowed[$folder]+set}" ]]; then
    echo "layering: $folder has no rule in scripts/check_layers.sh"
    status=1
  fi
done < <(find "$root"/{platform,audio,core,render,frontend,world,player,program,tests,fuzz,bench,tools,web} \
  -name node_modules -prune -o -type f \( -name '*.h' -o -name '*.cpp' \) -printf '%h\n' | sort -u)

for folder in "${!allowed[@]}"; do
  for file in "$root/$folder"/*.h "$root/$folder"/*.cpp; do
    [[ -e "$file" ]] || continue
    while IFS= read -r target; do
      [[ "$target" == */* ]] || continue  # a header beside the file
      target_folder="$(dirname "$target")"
      [[ "$target_folder" == "$folder" ]] && continue
      ok=0
      for rule in ${allowed[$folder]}; do
        if [[ "$target" == "$rule" || "$target_folder" == "$rule" ]]; then ok=1; break; fi
      done
      if [[ $ok == 0 ]]; then
        echo "layering: ${file#"$root"/} includes \"$target\" ($folder may not include $target_folder)"
        status=1
      fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
  done
done
if [[ $status == 0 ]]; then echo "layering: every include follows the layers"; fi
exit $status
