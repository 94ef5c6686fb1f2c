#!/usr/bin/env bash
# Installs what building, playing and testing need, only where it is missing (Debian/Ubuntu).
# Further package names may be given (the fuzz script asks for clang this way).
# Elsewhere (no apt), checks that what building the game needs is there, says what is not
# and how to get it, and fails only then.
set -euo pipefail

# Without apt: the game's own build needs a C++20 compiler, CMake and Ninja; nothing else.
check_build_tools() {
  local missing=()
  command -v c++ >/dev/null 2>&1 || command -v g++ >/dev/null 2>&1 || command -v clang++ >/dev/null 2>&1 ||
    missing+=("a C++20 compiler (g++ 10 or later, or clang++ 13 or later)")
  command -v cmake >/dev/null 2>&1 || missing+=("CMake 3.21 or later")
  command -v ninja >/dev/null 2>&1 || missing+=("Ninja")
  if [ ${#missing[@]} -gt 0 ]; then
    echo "install-deps: this system has no apt, and building the game needs:" >&2
    printf '  - %s\n' "${missing[@]}" >&2
    cat >&2 <<'HOW'
Install them with the system's package manager, for example:
  Fedora:  sudo dnf install gcc-c++ cmake ninja-build
  Arch:    sudo pacman -S gcc cmake ninja
  macOS:   xcode-select --install; brew install cmake ninja
HOW
    exit 1
  fi
  if [ $# -gt 0 ]; then
    echo "install-deps: this system has no apt; the tests also need: $*" >&2
    echo "Install those with the system's package manager, or run the tests on Debian or Ubuntu." >&2
    exit 1
  fi
}
if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
  check_build_tools "$@"
  exit 0
fi

packages=(cmake ninja-build ccache g++ make libgtest-dev libbenchmark-dev libtomlplusplus-dev libsdl2-dev tmux libasound2 python3 "$@")
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
