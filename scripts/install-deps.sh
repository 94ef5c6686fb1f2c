#!/usr/bin/env bash
# Installs what building, playing and testing need, only where it is missing (Debian/Ubuntu).
# Further package names may be given (the fuzz script asks for clang this way).
set -euo pipefail

packages=(cmake ninja-build ccache g++ make libgtest-dev libbenchmark-dev tmux libasound2 "$@")
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# libasound2 became libasound2t64 on newer releases; take whichever exists.
if ! $sudo apt-get install -y -qq "${missing[@]}"; then
  $sudo apt-get install -y -qq "${missing[@]/libasound2/libasound2t64}"
fi
