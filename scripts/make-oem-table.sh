#!/usr/bin/env bash
# Re-makes platform/memory/oem437_table.inc, the in-memory machine's OEM
# conversion: builds the generator in the win64 build and runs it under
# Wine, whose OEM code page is 437. Afterwards run the win64
# platform_contract_tests: they compare the table with the system for every
# UTF-16 code unit.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QR_BUILD_DIR:-$root/build}

cmake -S "$root" -B "$build/win64" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-win64.cmake" >/dev/null
cmake --build "$build/win64" --target make_oem437_table

source "$root/scripts/wine-session.sh"
wine_session_start "$build/wine"
trap wine_session_stop EXIT
table=$root/platform/memory/oem437_table.inc
"$root/scripts/wine-run.sh" "$build/win64/platform/memory/make_oem437_table.exe" >"$table.new"
mv "$table.new" "$table"
echo "wrote $table"
