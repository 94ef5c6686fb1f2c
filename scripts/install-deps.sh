#!/usr/bin/env bash
# Installs what building, playing and testing need, only where it is missing (Debian/Ubuntu).
# Further package names may be given (the fuzz script asks for clang this way); "web" asks
# for what veldra-web and its page need: Boost, Node.js with npm, and the page's npm
# packages (xterm.js), fetched into web/node_modules.
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
root="$(cd "$(dirname "$0")/.." && pwd)"
web=false
asked=()
for package in "$@"; do
  if [ "$package" = web ]; then
    web=true
    asked+=(libboost-dev)
    # Node.js may come from elsewhere (NodeSource's package carries its own npm).
    command -v npm >/dev/null 2>&1 || asked+=(nodejs npm)
  else
    asked+=("$package")
  fi
done

# The page's packages, as package-lock.json pins them, fetched again only when it changed.
fetch_page_packages() {
  $web || return 0
  local lock="$root/web/package-lock.json" fetched="$root/web/node_modules/.fetched-lock.json"
  if ! cmp -s "$lock" "$fetched"; then
    echo "Fetching the page's packages (npm ci in web/)"
    (cd "$root/web" && npm ci --no-audit --no-fund --loglevel=error)
    cp "$lock" "$fetched"
  fi
}

if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
  check_build_tools "${asked[@]}"
  exit 0
fi

packages=(cmake ninja-build ccache g++ make libgtest-dev libbenchmark-dev libtomlplusplus-dev libsdl2-dev tmux libasound2 python3 "${asked[@]}")
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
  fetch_page_packages
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# libasound2 became libasound2t64 on newer releases; take whichever exists.
if ! $sudo apt-get install -y -qq "${missing[@]}"; then
  $sudo apt-get install -y -qq "${missing[@]/libasound2/libasound2t64}"
fi
fetch_page_packages
