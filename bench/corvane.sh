#!/usr/bin/env bash
# Benchmarks the icon guard under Wine: GetIconLocation + Extract on 1,000
# harmless shortcuts through CorvaneExt against the same calls straight on
# the system's shortcut object, in one run.
#   bench/corvane.sh <win64 build dir>
# The Wine session lives in $QR_WINE_DIR (default: <build dir>/../wine).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: $0 <win64 build dir>}" && pwd)
wine_dir=${QR_WINE_DIR:-$(dirname "$build")/wine}

ninja -C "$build" corvane_bench >/dev/null

source "$root/scripts/wine-session.sh"
wine_session_start "$wine_dir"
trap wine_session_stop EXIT

"$root/scripts/wine-run.sh" "$build/bench/iconguard/corvane_bench.exe" 'C:\corvane-bench'
