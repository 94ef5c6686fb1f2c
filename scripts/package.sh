#!/usr/bin/env bash
# Makes the release packages in dist/: the Debian package (veldra_<version>_amd64.deb,
# installed with `apt install ./dist/veldra_<version>_amd64.deb`) and the Windows zip
# (veldra-<version>-windows-x86_64.zip, cross-built with MinGW-w64). Installs what is
# missing first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
"$root/scripts/install-deps.sh" dpkg-dev g++-mingw-w64-x86-64-posix googletest
mkdir -p "$root/dist"

echo "== Debian package"
cmake -S "$root" -B "$root/build/package" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DVELDRA_BUILD_TESTS=OFF -DVELDRA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$root/build/package" -j"$jobs"
(cd "$root/build/package" && cpack -B "$root/dist" >/dev/null)

echo "== Windows zip"
# The same build the Windows tests use (scripts/test_windows.sh), so a test run builds it once.
cmake -S "$root" -B "$root/build/windows" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DVELDRA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$root/build/windows" -j"$jobs"
(cd "$root/build/windows" && cpack -B "$root/dist" >/dev/null)

rm -rf "$root/dist/_CPack_Packages"
ls -1 "$root/dist"
