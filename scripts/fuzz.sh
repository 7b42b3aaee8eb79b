#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UBSan) and runs each one for a
# bounded number of inputs and a bounded time. Any crash or sanitizer report fails the script;
# libFuzzer leaves the input that caused it as build/fuzz/crash-* for a regression test.
#
#   scripts/fuzz.sh [-runs=N] [-seconds=S] [TARGET...]
#   (defaults: 1000000 runs, 900 seconds per target, every fuzz/*_fuzz.cpp)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs=1000000
seconds=900
targets=()
for argument in "$@"; do
  case "$argument" in
    -runs=*) runs="${argument#-runs=}" ;;
    -seconds=*) seconds="${argument#-seconds=}" ;;
    *) targets+=("$argument") ;;
  esac
done
if [ ${#targets[@]} -eq 0 ]; then
  for source in "$root"/fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

build="$root/build/fuzz"
# The targets write scratch files for every input: keep them in memory where possible.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDACTYLA_FUZZ=ON -DDACTYLA_SANITIZE=ON \
  -DDACTYLA_TESTS=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >"$build.configure.log" 2>&1 \
  || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j2 --target "${targets[@]}"

failed=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  log="$build/$target.log"
  echo "=== $target: up to $runs inputs or $seconds s"
  if (cd "$build" && "$build/bin/$target" -runs="$runs" -max_total_time="$seconds" -max_len=4096 \
        -print_final_stats=1 "$corpus" >"$log" 2>&1); then
    grep -E '^stat::number_of_executed_units|^Done' "$log" | tr '\n' ' '; echo
  else
    failed=1
    tail -n 40 "$log"
    echo "FAIL: $target (input kept in $build as crash-*)"
  fi
done
exit $failed
