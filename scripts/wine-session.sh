# Sourced: prepares a display and a Wine prefix for the Windows tests.
#   wine_session_start DIR   Xvfb, prefix DIR/prefix (made once), a folder
#                            DIR/removable mapped as the removable drive R:,
#                            and a persistent wineserver
#   wine_session_stop        ends them again

wine_session_start() {
  local dir
  dir=$(realpath -m "$1")  # Wine wants an absolute prefix path
  mkdir -p "$dir"
  export WINEPREFIX=$dir/prefix WINEARCH=win64 WINEDEBUG=-all
  # No Mono or Gecko lookups; and no winemenubuilder, which Wine starts for
  # every shortcut a program saves and which holds the new file open for a
  # moment, so that deleting it right after fails now and then.
  export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
  export QR_REMOVABLE_DIR=$dir/removable QR_REMOVABLE_DRIVE=R:

  local n=90
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  QR_XVFB_PID=$!
  export DISPLAY=:$n
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done

  if [ ! -f "$WINEPREFIX/.qr-ready" ]; then
    rm -rf "$WINEPREFIX"
    echo "creating Wine prefix $WINEPREFIX"
    /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
    /usr/lib/wine/wineserver64 -w
    local reg=(/usr/lib/wine/wine64 reg add)
    # A crash must fail the test, not wait in the debugger's dialog.
    "${reg[@]}" 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    mkdir -p "$QR_REMOVABLE_DIR"
    ln -sfn "$QR_REMOVABLE_DIR" "$WINEPREFIX/dosdevices/r:"
    "${reg[@]}" 'HKLM\Software\Wine\Drives' /v r: /d floppy /f >/dev/null 2>&1
    # Drive settings take effect with the next wineserver.
    /usr/lib/wine/wineserver64 -w
    touch "$WINEPREFIX/.qr-ready"
  fi
  mkdir -p "$QR_REMOVABLE_DIR"
  /usr/lib/wine/wineserver64 -p
  # The first program starts Wine's own services; started here, they do not
  # inherit (and hold open) the output pipes of the test runner.
  /usr/lib/wine/wine64 cmd /c exit >/dev/null 2>&1 </dev/null || true
  # Xvfb runs no window manager: a window Wine lets one manage waits 2 s
  # for it at every hide and destroy. Read by each new program.
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    >/dev/null 2>&1 </dev/null || true
}

wine_session_stop() {
  /usr/lib/wine/wineserver64 -k 2>/dev/null || true
  /usr/lib/wine/wineserver64 -w 2>/dev/null || true
  [ -n "${QR_XVFB_PID:-}" ] && kill "$QR_XVFB_PID" 2>/dev/null || true
  wait "${QR_XVFB_PID:-}" 2>/dev/null || true
}
