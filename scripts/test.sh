#!/usr/bin/env bash
# Installs what the tests need, then builds and runs every suite:
# native, native under AddressSanitizer + UBSan, and the Windows build under Wine
# (unit tests and end-to-end tests against the real Dactyla.exe on a virtual display), then the
# release packages, installed and uninstalled under Wine.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs=$(nproc 2>/dev/null || echo 2)
"$root/scripts/install-deps.sh" || { echo "FAIL: could not install the test dependencies"; exit 1; }

results=()
failed=0

# Runs one suite: configure, build, ctest; records "name: N tests, passed/failed".
suite() {
  local name=$1 dir=$2; shift 2
  echo "=== $name ==="
  if ! cmake -S . -B "$dir" "$@" >"$dir.configure.log" 2>&1; then
    cat "$dir.configure.log"; results+=("$name: configure FAILED"); failed=1; return
  fi
  if ! cmake --build "$dir" -j"$jobs" >"$dir.build.log" 2>&1; then
    grep -E 'error|Error' "$dir.build.log" | head -40; results+=("$name: build FAILED"); failed=1; return
  fi
  local log="$dir.ctest.log"
  ctest --test-dir "$dir" -j"$jobs" --output-on-failure --timeout 300 >"$log" 2>&1
  local rc=$?
  tail -n 4 "$log"
  local summary
  summary=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
  if [ $rc -ne 0 ] || [ -z "$summary" ]; then
    grep -E 'Failed|\*\*\*' "$log" | head -40
    results+=("$name: FAILED (${summary:-no tests ran})"); failed=1
  else
    results+=("$name: ${summary}")
  fi
}

mkdir -p build
suite "native" build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo
suite "native-asan-ubsan" build/asan -DCMAKE_BUILD_TYPE=Debug -DDACTYLA_SANITIZE=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
export LANG=en_US.UTF-8  # an English Windows: code page 1252, the harder case for Russian text
# Windows tests that open windows need a screen; a virtual one when there is none.
. "$root/scripts/display.sh"
if [ -z "${DISPLAY:-}" ]; then dactyla_display_start 800x600; fi
suite "windows-under-wine" build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release
dactyla_display_stop

# The real Dactyla.exe of the Windows build, driven on virtual displays of its own.
end_to_end() {
  echo "=== end-to-end ==="
  local log=build/win.e2e.log
  "$root/scripts/e2e.sh" build/win >"$log" 2>&1
  local rc=$?
  grep -E '^BENCHMARK' "$log" | sort -u
  local summary
  summary=$(grep -E '^E2E: [0-9]+ tests, [0-9]+ failed' "$log" | tail -1)
  echo "${summary:-no end-to-end summary}"
  if [ $rc -ne 0 ] || [ -z "$summary" ]; then
    grep -E 'Failure|FAILED|E2E:' -A4 "$log" | head -60
    results+=("end-to-end: FAILED (${summary:-see $log})"); failed=1
  else
    results+=("end-to-end: ${summary#E2E: }")
  fi
}
end_to_end

# The release: both packages made from the Windows build, then installed, run and uninstalled
# under Wine in a prefix of their own.
release() {
  echo "=== release ==="
  local log=build/win.release.log
  if ! "$root/scripts/dist.sh" build/win >"$log" 2>&1; then
    tail -20 "$log"; results+=("release: packaging FAILED"); failed=1; return
  fi
  grep -E '^PACKAGE' "$log"
  "$root/tests/e2e/release.sh" "$root/dist" >>"$log" 2>&1
  local rc=$?
  local summary
  summary=$(grep -E '^RELEASE: [0-9]+ checks, [0-9]+ failed' "$log" | tail -1)
  echo "${summary:-no release summary}"
  if [ $rc -ne 0 ] || [ -z "$summary" ]; then
    grep -E '^FAIL|RELEASE:' "$log" | head -20
    results+=("release: FAILED (${summary:-see $log})"); failed=1
  else
    results+=("release: ${summary#RELEASE: }")
  fi
}
release

echo
echo "=== Summary ==="
printf '  %s\n' "${results[@]}"
if [ $failed -ne 0 ]; then
  echo "RESULT: FAIL"
  exit 1
fi
echo "RESULT: PASS"
