#!/usr/bin/env bash
# The include graph of the game code stays layered: each folder includes its own headers
# and those of the folders below it, and nothing else. Prints every include that breaks
# the rule and fails; run by the test command. Usage: check_layers.sh [ROOT]
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"

# folder: what it may include besides its own folder (folders, or single headers).
# platform/ is the ground; the backends see the interface, never one another. core/ is the
# game's ground (the Game record, the grid, the level loader); core/program/ is the top
# that runs the game (the program, the frame loop, recordings).
declare -A allowed=(
  [platform]=""
  [platform/terminal]="platform"
  [platform/headless]="platform"
  [platform/win32]="platform"
  [audio]="platform"
  [core]="platform audio render/console_screen.h"
  [render]="core platform audio"
  [frontend]="core platform audio render/console_screen.h render/frame_view.h"
  [world]="core platform audio player/messages.h"  # the world posts messages to the log
  [player]="core platform audio world frontend"
  [core/program]="core platform audio render world player frontend"
)

status=0
# A folder of game code with no rule is a layer nobody placed.
while IFS= read -r dir; do
  folder="${dir#"$root"/}"
  if [[ -z "${allowed[$folder]+set}" ]]; then
    echo "layering: $folder has no rule in scripts/check_layers.sh"
    status=1
  fi
done < <(find "$root"/{platform,audio,core,render,frontend,world,player} -type f \( -name '*.h' -o -name '*.cpp' \) -printf '%h\n' | sort -u)

for folder in "${!allowed[@]}"; do
  for file in "$root/$folder"/*.h "$root/$folder"/*.cpp; do
    [[ -e "$file" ]] || continue
    while IFS= read -r target; do
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
