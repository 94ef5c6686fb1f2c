#!/usr/bin/env bash
# Makes the release packages in dist/: the Debian package (veldra_<version>_amd64.deb,
# installed with `apt install ./dist/veldra_<version>_amd64.deb`) and the Windows zip
# (veldra-<version>-windows-x86_64.zip, cross-built with MinGW-w64). Installs what is
# missing first. Builds only the game and its manual page.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
"$root/scripts/install-deps.sh" dpkg-dev g++-mingw-w64-x86-64-posix googletest
mkdir -p "$root/dist"

cd "$root"
echo "== Debian package"
cmake --preset release >/dev/null
cmake --build --preset release -j"$jobs"
cpack --config build/release/CPackConfig.cmake -B "$root/dist" >/dev/null

echo "== Windows zip"
# The build the Windows tests use (scripts/test_windows.sh): a test run builds it once.
cmake --preset windows >/dev/null
cmake --build --preset windows-release -j"$jobs"
cpack --config build/windows/CPackConfig.cmake -B "$root/dist" >/dev/null

rm -rf "$root/dist/_CPack_Packages"
ls -1 "$root/dist"
