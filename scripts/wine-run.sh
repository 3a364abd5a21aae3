#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine in the session prefix that
# scripts/wine-session.sh prepared (CTest's emulator for the win64 build).
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree=;mshtml=;winemenubuilder.exe=d"}
exec /usr/lib/wine/wine64 "$@"
