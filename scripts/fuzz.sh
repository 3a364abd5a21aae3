#!/usr/bin/env bash
# A long fuzzing run: builds the fuzz targets (clang's libFuzzer with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each one for the
# given number of seconds (default 600) from its seeds. The test suite runs
# each for 30 seconds only. Inputs that crash are left in build/fuzz as
# crash-* files; new inputs gather in each target's corpus in build/fuzz.
#   bash scripts/fuzz.sh [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QR_BUILD_DIR:-$root/build}
seconds=${1:-600}

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQR_FUZZ=ON -DQR_UNIT_TESTS=OFF \
  -DQR_FUZZ_SECONDS="$seconds" >/dev/null
cmake --build "$build/fuzz" -j "$(nproc)" --target fuzz_targets
ctest --test-dir "$build/fuzz" --output-on-failure
