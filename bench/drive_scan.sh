#!/usr/bin/env bash
# Benchmarks the removable-drive scan under Wine: fills the session's
# removable drive with 10,000 files (1,000 .lnk, some of them Control Panel
# shortcuts, 1,000 .tmp, the rest other files, and one 2 GiB sparse .TMP
# starting with "MZ"), then times the scanner against a plain-Win32 baseline.
#   bench/drive_scan.sh <win64 build dir> [repetitions]
# The Wine session lives in $QR_WINE_DIR (default: <build dir>/../wine).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: $0 <win64 build dir> [repetitions]}" && pwd)
repetitions=${2:-5}
wine_dir=${QR_WINE_DIR:-$(dirname "$build")/wine}

ninja -C "$build" drive_scan_bench >/dev/null

source "$root/scripts/wine-session.sh"
wine_session_start "$wine_dir"
trap 'rm -rf "${QR_REMOVABLE_DIR:?}"/* ; wine_session_stop' EXIT

rm -rf "${QR_REMOVABLE_DIR:?}"/*
python3 - "$QR_REMOVABLE_DIR" <<'PY'
import os, sys
root = sys.argv[1]
my_computer = bytes.fromhex("E04FD020EA3A6910A2D808002B30309D")
control_panel = bytes.fromhex("2020EC21EA3A6910A2DD08002B30309D")

def shortcut(malicious):
    data = bytearray(300)
    data[0] = 0x4C
    data[20] = 0x01
    data[82:98] = my_computer
    if malicious:
        data[102:118] = control_panel
    else:
        data[100:104] = b"/C:\\"
    return bytes(data)

def write(name, data):
    with open(os.path.join(root, name), "wb") as f:
        f.write(data)

for i in range(1000):
    write(f"link{i:04}.lnk", shortcut(i % 10 == 0))
for i in range(1000):
    head = b"MZ" if i % 2 == 0 else b"PK"
    write(f"temp{i:04}.tmp", head + bytes(1022))
extensions = [".txt", ".jpg", ".doc", ".exe", ".inf", ".dat", ".pdf", ".png"]
for i in range(7999):
    write(f"file{i:04}{extensions[i % len(extensions)]}", bytes(256))
PY
printf 'MZ' > "$QR_REMOVABLE_DIR/huge.TMP"
truncate -s 2G "$QR_REMOVABLE_DIR/huge.TMP"
echo "files on $QR_REMOVABLE_DRIVE: $(ls -A "$QR_REMOVABLE_DIR" | wc -l)" \
     "(expected findings: 100 shortcuts + 500 .tmp + huge.TMP = 601)"

"$root/scripts/wine-run.sh" "$build/bench/drive_scan/drive_scan_bench.exe" \
  "$QR_REMOVABLE_DRIVE" "$repetitions" huge.TMP
