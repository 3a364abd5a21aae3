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
configure win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-win64.cmake"
configure win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-win32.cmake" -DQR_UNIT_TESTS=OFF

status=0
echo "== native tests"
ctest --test-dir "$build/native" --output-on-failure -j "$jobs" || status=1

echo "== win32 build inspection"
ctest --test-dir "$build/win32" --output-on-failure || status=1

echo "== win64 tests under Wine"
source "$root/scripts/wine-session.sh"
wine_session_start "$build/wine"
trap wine_session_stop EXIT
ctest --test-dir "$build/win64" --output-on-failure || status=1
exit $status
