#!/usr/bin/env bash
# Corvane.dll exports exactly the four server entry points, undecorated, and
# imports nothing but system DLLs (the runtime is linked statically).
# usage: check_exports.sh OBJDUMP DLL
set -u
objdump=$1 dll=$2
dump=$("$objdump" -p "$dll") || exit 1

exports=$(printf '%s\n' "$dump" |
  awk '/\[Ordinal\/Name Pointer\] Table/ {t=1; next} t && /^[ \t]*\[/ {print $NF; next} t {t=0}' |
  sort | tr '\n' ' ')
expected="DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer "
if [ "$exports" != "$expected" ]; then
  echo "exports: '$exports'"; echo "expected: '$expected'"; exit 1
fi

status=0
while read -r name; do
  case ${name,,} in
    kernel32.dll | advapi32.dll | user32.dll | shell32.dll | ole32.dll | oleaut32.dll | \
      msvcrt.dll | gdi32.dll | shlwapi.dll | ntdll.dll) ;;
    *) echo "unexpected import: $name"; status=1 ;;
  esac
done < <(printf '%s\n' "$dump" | awk '/DLL Name:/ {print $3}')
exit $status
