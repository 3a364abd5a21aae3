#!/usr/bin/env bash
# Runs QuorvexRemover.exe on a demonstration Wine prefix that carries a
# harmless simulated infection: the two driver services, placeholder driver
# and loader files, and threats beside harmless files on a folder mapped as
# the removable drive R:.
#
# With a usable $DISPLAY the program opens there and the script waits until
# it ends. Without one it runs under Xvfb, where a walkthrough drives it
# through a whole check (detection, removal, restart declined, then the
# removable drive's threats found and removed) and keeps a PNG screenshot of
# every window; the last line names their folder.
#
# Everything it makes lives in $QR_BUILD_DIR (default build/): the win64
# build and demo/ with the prefix, the drive's folder and the screenshots.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${QR_BUILD_DIR:-$root/build}")
demo=$build/demo

"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build/win64" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-win64.cmake" >/dev/null
cmake --build "$build/win64" -j "$(nproc)" \
  --target QuorvexRemover qr_e2e_seed qr_e2e_walkthrough >/dev/null

program=$build/win64/app/win32/QuorvexRemover.exe
tools=$build/win64/app/e2e
wine=/usr/lib/wine/wine64

windows_path() {  # a path of this machine as Wine's drive Z: shows it
  local path=${1//\//\\}
  echo "Z:$path"
}

# Checked before the session below replaces $DISPLAY with its own.
user_display=
if [ -n "${DISPLAY:-}" ] && xwd -root -silent -display "$DISPLAY" >/dev/null 2>&1; then
  user_display=$DISPLAY
fi

# The prefix is made under Xvfb in any case: Wine wants a display then.
source "$root/scripts/wine-session.sh"
wine_session_start "$demo"
trap wine_session_stop EXIT

seed() { "$wine" "$tools/qr_e2e_seed.exe" seed 'R:\'; }

if [ -n "$user_display" ]; then
  wine_session_stop
  trap - EXIT
  export DISPLAY=$user_display
  # The session leaves the windows to Wine; here the user's window manager frames them.
  "$wine" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
  seed
  echo "QuorvexRemover.exe runs on $DISPLAY (prefix $WINEPREFIX, removable drive R: = $QR_REMOVABLE_DIR)"
  status=0
  "$wine" "$(windows_path "$program")" || status=$?
  /usr/lib/wine/wineserver64 -w
  echo "QuorvexRemover.exe ended with exit code $status"
  exit "$status"
fi

seed
shots=$demo/screenshots
rm -rf "$shots"
mkdir -p "$shots"
"$wine" "$tools/qr_e2e_walkthrough.exe" "$(windows_path "$program")" "$(windows_path "$shots")"
for bmp in "$shots"/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png"
  rm "$bmp"
done
echo "screenshots: $shots"
