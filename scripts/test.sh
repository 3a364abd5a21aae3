#!/usr/bin/env bash
# The whole test suite: installs what it needs, builds the native, win64
# and win32 builds, and runs every test (the win64 ones under Wine).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QR_BUILD_DIR:-$root/build}
jobs=$(nproc)

"$root/scripts/install-deps.sh"

configure() {  # dir, extra cmake arguments...
  local dir=$1; shift
  cmake -S "$root" -B "$build/$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null
  cmake --build "$build/$dir" -j "$jobs"
}

configure native
# The fuzz targets (clang's libFuzzer, sanitizers on); only they are built.
cmake -S "$root" -B "$build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQR_FUZZ=ON -DQR_UNIT_TESTS=OFF \
  -DQR_FUZZ_SECONDS=30 >/dev/null
cmake --build "$build/fuzz" -j "$jobs" --target fuzz_targets
configure win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-win64.cmake"
configure win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-win32.cmake" -DQR_UNIT_TESTS=OFF

status=0
passed=0
failed=0
run_ctest() {  # build dir, extra ctest arguments...
  local dir=$1; shift
  local log=$build/$dir-ctest.log
  ctest --test-dir "$build/$dir" --output-on-failure "$@" | tee "$log" || status=1
  # "100% tests passed, 0 tests failed out of 12"
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$line" ]; then status=1; return; fi
  local bad total
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

echo "== native tests"
run_ctest native -j "$jobs"

echo "== fuzz targets, a short run of each"
run_ctest fuzz -j "$jobs"

echo "== win32 build inspection"
run_ctest win32

echo "== win64 tests under Wine"
source "$root/scripts/wine-session.sh"
wine_session_start "$build/wine"
trap wine_session_stop EXIT
run_ctest win64

echo "tests: $passed passed, $failed failed"
exit $status
