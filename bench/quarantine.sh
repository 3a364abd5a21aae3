#!/usr/bin/env bash
# Benchmarks the quarantine under Wine: 1,000 findings of the drive
# benchmark's kinds (500 shortcuts of 300 bytes, 500 disguised executables
# of 1 KiB) stored in the quarantine against CopyFileW of the same files
# into one folder, in one run; then one huge finding (2 GiB unless given in
# GiB, 0 for none; sparse on the build machine, stored whole), with the
# process's peak working set.
#   bench/quarantine.sh <win64 build dir> [repetitions] [huge GiB]
# The Wine session lives in $QR_WINE_DIR (default: <build dir>/../wine).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: $0 <win64 build dir> [repetitions]}" && pwd)
repetitions=${2:-5}
huge_gib=${3:-2}
wine_dir=${QR_WINE_DIR:-$(dirname "$build")/wine}

ninja -C "$build" quarantine_bench >/dev/null

source "$root/scripts/wine-session.sh"
wine_session_start "$wine_dir"
trap 'rm -rf "${QR_REMOVABLE_DIR:?}"/* ; wine_session_stop' EXIT

rm -rf "${QR_REMOVABLE_DIR:?}"/*
python3 - "$QR_REMOVABLE_DIR" <<'PY'
import os, sys
root = sys.argv[1]
my_computer = bytes.fromhex("E04FD020EA3A6910A2D808002B30309D")
control_panel = bytes.fromhex("2020EC21EA3A6910A2DD08002B30309D")
for i in range(500):
    data = bytearray(300)
    data[0] = 0x4C
    data[20] = 0x01
    data[82:98] = my_computer
    data[102:118] = control_panel
    with open(os.path.join(root, f"link{i:04}.lnk"), "wb") as f:
        f.write(data)
for i in range(500):
    with open(os.path.join(root, f"temp{i:04}.tmp"), "wb") as f:
        f.write(b"MZ" + bytes(1022))
PY
huge=()
if [ "$huge_gib" != 0 ]; then
  printf 'MZ' > "$QR_REMOVABLE_DIR/huge.TMP"
  truncate -s "${huge_gib}G" "$QR_REMOVABLE_DIR/huge.TMP"
  huge=(huge.TMP)
fi

"$root/scripts/wine-run.sh" "$build/bench/quarantine/quarantine_bench.exe" \
  "$QR_REMOVABLE_DRIVE" "$repetitions" "${huge[@]}"
