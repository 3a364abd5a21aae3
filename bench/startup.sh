#!/usr/bin/env bash
# Benchmarks the program's start-up under Wine: time from process start
# until the main window is visible and idle, against a minimal Win32
# program that opens one window of the same size, alternating in one run.
#   bench/startup.sh <win64 build dir> [rounds]
# The Wine session lives in $QR_WINE_DIR (default: <build dir>/../wine).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: $0 <win64 build dir> [rounds]}" && pwd)
wine_dir=${QR_WINE_DIR:-$(dirname "$build")/wine}

ninja -C "$build" QuorvexRemover minimal_window startup_bench >/dev/null

source "$root/scripts/wine-session.sh"
wine_session_start "$wine_dir"
trap wine_session_stop EXIT

"$root/scripts/wine-run.sh" "$build/bench/startup/startup_bench.exe" \
  "$build/app/win32/QuorvexRemover.exe" "$build/bench/startup/minimal_window.exe" "${2:-15}"
