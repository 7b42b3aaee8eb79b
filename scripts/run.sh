#!/usr/bin/env bash
# Builds Dactyla.exe with its texts and sounds (cross-compiled with MinGW-w64) and starts it
# under Wine in a ready program directory, build/win/bin. On $DISPLAY when there is one;
# otherwise on a virtual display, saving a screenshot to artifacts/dactyla.png after a few seconds.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs=$(nproc 2>/dev/null || echo 2)
"$root/scripts/install-deps.sh"

build="$root/build/win"
mkdir -p "$root/build"
echo "Building Dactyla.exe in $build ..."
if ! cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    >"$build.configure.log" 2>&1; then
  cat "$build.configure.log"; exit 1
fi
targets=(Dactyla)
# The shipped texts and sounds are generated when their sources are in the tree.
build_targets=$(cmake --build "$build" --target help 2>/dev/null || true)
with_content=0
if grep -q dactyla_content <<<"$build_targets"; then targets+=(dactyla_content); with_content=1; fi
if ! cmake --build "$build" -j"$jobs" --target "${targets[@]}" >"$build.run-build.log" 2>&1; then
  grep -E 'error|Error' "$build.run-build.log" | head -40; exit 1
fi

# A ready program directory: the program with its texts and sounds, or empty ones when this tree
# cannot make them (never otherwise: they would stand in for the generated files).
bin="$build/bin"
if [ "$with_content" = 0 ]; then
  [ -f "$bin/TextData.Rus" ] || : > "$bin/TextData.Rus"
  [ -f "$bin/TextData.Eng" ] || : > "$bin/TextData.Eng"
  mkdir -p "$bin/Sound"
fi

. "$root/scripts/display.sh"
export LANG="${LANG:-en_US.UTF-8}"

if [ -n "${DISPLAY:-}" ]; then
  . "$root/scripts/wine-env.sh"
  dactyla_wine_prepare
  echo "Starting Dactyla on $DISPLAY"
  cd "$bin"
  exec "$DACTYLA_WINE" "$bin/Dactyla.exe"
fi

# A Wine server keeps the screen size it first saw: the virtual display gets a prefix and a
# server of its own, stopped again at the end.
export DACTYLA_WINEPREFIX="${DACTYLA_RUN_WINEPREFIX:-/tmp/dactyla-run-wine}"
. "$root/scripts/wine-env.sh"
dactyla_display_start 800x600
trap 'wineserver -k >/dev/null 2>&1 || true; dactyla_display_stop' EXIT
dactyla_wine_prepare
echo "No display: starting Dactyla on the virtual display $DISPLAY"
(cd "$bin" && exec "$DACTYLA_WINE" "$bin/Dactyla.exe") &
program=$!
sleep "${DACTYLA_SCREENSHOT_DELAY:-5}"
mkdir -p "$root/artifacts"
import -window root "$root/artifacts/dactyla.png"
echo "Screenshot saved to artifacts/dactyla.png"
# Nobody can reach a virtual display: end the program again.
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
