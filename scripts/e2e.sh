#!/usr/bin/env bash
# Runs the end-to-end tests: the driver dactyla_e2e.exe starts the real Dactyla.exe under Wine
# on virtual displays (800 x 600, 1600 x 1200, and 1200 x 900 at 144 DPI), drives it and checks
# what it shows and writes.
#   scripts/e2e.sh [build directory] [GoogleTest arguments...]
# The build directory is a Windows build (default build/win) holding bin/Dactyla.exe, its texts
# and sounds, and bin/dactyla_e2e.exe. Screenshots go to artifacts/. Prints "E2E: N tests, F failed".
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build/win}" && pwd)"
shift || true
bin="$build/bin"
for needed in Dactyla.exe dactyla_e2e.exe; do
  [ -f "$bin/$needed" ] || { echo "E2E: $bin/$needed is missing"; exit 1; }
done

# A prefix of its own for this checkout: its server is stopped between displays, which must not
# disturb anyone else's programs. Runs on the same prefix take turns.
export DACTYLA_WINEPREFIX="${DACTYLA_E2E_WINEPREFIX:-/tmp/dactyla-e2e-wine-$(printf '%s' "$root" | md5sum | cut -c1-8)}"
exec 8>"$DACTYLA_WINEPREFIX.lock"
if ! flock -n 8; then
  echo "Waiting for another end-to-end run on $DACTYLA_WINEPREFIX ..."
  flock 8
fi
. "$root/scripts/wine-env.sh"
. "$root/scripts/display.sh"
export LANG="${LANG:-en_US.UTF-8}"

work="$(mktemp -d /tmp/dactyla-e2e.XXXXXX)"
export DACTYLA_E2E_PROGRAM="$bin" DACTYLA_E2E_WORK="$work" DACTYLA_E2E_ARTIFACTS="$root/artifacts" DACTYLA_WINE
mkdir -p "$root/artifacts"

cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  dactyla_display_stop
  rm -rf "$work"
}
trap cleanup EXIT

total=0
failed=0
# One pass of the driver on a fresh display of the given size, with its own Wine server (the
# server keeps the screen size it first saw).
run_pass() {
  local size=$1 dpi=$2; shift 2
  # Nothing started here may keep the lock (descriptor 8) once this run is over.
  dactyla_display_start "$size" 8>&- || { echo "E2E: no virtual display"; failed=$((failed + 1)); return; }
  dactyla_wine_prepare 8>&-
  dactyla_wine_dpi "$dpi" 8>&-
  wineserver -p >/dev/null 2>&1 8>&- || true
  "$DACTYLA_WINE" cmd /c exit >/dev/null 2>&1 8>&- || true
  local log="$work/pass.log"
  # A hung scenario must not hold the whole run: the pass has a generous time limit.
  timeout --kill-after=10 "${DACTYLA_E2E_TIMEOUT:-1200}" "$DACTYLA_WINE" "$bin/dactyla_e2e.exe" "$@" 2>&1 8>&- |
    tee "$log" | grep --line-buffered -vE '^\[ *(RUN|OK) *\]'
  local ran passed
  ran=$(sed -nE 's/^\[==========\] ([0-9]+) tests? from .* ran\..*/\1/p' "$log" | tail -1)
  passed=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\..*/\1/p' "$log" | tail -1)
  ran=${ran:-0}
  passed=${passed:-0}
  if [ "$ran" -eq 0 ]; then failed=$((failed + 1)); fi
  total=$((total + ran))
  failed=$((failed + ran - passed))
  grep -h '^BENCHMARK' "$log" >> "$work/benchmarks" || true
  # The shell's own benchmarks need the same display and Wine server.
  if [ "$size" = 800x600 ] && [ -f "$bin/dactyla_win_bench.exe" ]; then
    timeout 120 "$DACTYLA_WINE" "$bin/dactyla_win_bench.exe" 2>&1 8>&- | grep '^BENCHMARK' >> "$work/benchmarks" || true
  fi
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  dactyla_display_stop
}

if printf '%s\n' "$@" | grep -q '^--gtest_filter'; then
  # A chosen subset runs once, on the display size asked for.
  run_pass "${DACTYLA_E2E_SIZE:-800x600}" "${DACTYLA_E2E_DPI:-96}" "$@"
else
  run_pass 800x600 96 --gtest_filter="-LargeScreen.*:HighDpi.*" "$@"
  run_pass 1600x1200 96 --gtest_filter="LargeScreen.*" "$@"
  run_pass 1200x900 144 --gtest_filter="HighDpi.*" "$@"
fi

[ -f "$work/benchmarks" ] && cat "$work/benchmarks"
echo "E2E: $total tests, $failed failed"
[ "$failed" -eq 0 ] && [ "$total" -gt 0 ]
