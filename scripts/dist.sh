#!/usr/bin/env bash
# Builds the Windows release into dist/: Dactyla-<version>-win64.zip (portable) and
# Dactyla-<version>-win64-setup.exe (installer), and prints their sizes.
#   scripts/dist.sh [build directory]   (default build/dist, a Release cross build)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(mkdir -p "${1:-$root/build/dist}" && cd "${1:-$root/build/dist}" && pwd)"
jobs=$(nproc 2>/dev/null || echo 2)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
# Only what ships; the package step itself builds nothing.
cmake --build "$build" -j"$jobs" --target Dactyla dactyla-text dactyla_content
mkdir -p "$root/dist"
(cd "$build" && cpack -B "$root/dist" >"$build/cpack.log") ||
  { cat "$build/cpack.log"; exit 1; }
rm -rf "$root/dist/_CPack_Packages"
for package in "$root"/dist/Dactyla-*-win64.zip "$root"/dist/Dactyla-*-win64-setup.exe; do
  echo "PACKAGE $(basename "$package") $(stat -c %s "$package") bytes"
done
