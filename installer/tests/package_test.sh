#!/usr/bin/env bash
# The MSI packages under Wine's msiexec, on a fresh prefix of their own.
#   package_test.sh SCENARIO PACKAGES PROBE SOURCE OLDER_VERSION
#     x64      install; files, registry (against regsvr32 of the same DLL),
#              shortcut, listing, a Control Panel shortcut blocked; uninstall
#              leaves nothing of ours but the quarantine
#     upgrade  the older package, then this one: one product; the same
#              version again repairs; uninstall is clean
#     rollback an install that fails at its end puts back what it found
#     x86      refused on 64-bit Windows, nothing installed
set -euo pipefail
scenario=$1 packages=$2 probe=$3 source=$4 older_version=$5

x64=$packages/QuorvexRemover-x64.msi
x86=$packages/QuorvexRemover-x86.msi
older=$packages/tests/QuorvexRemover-x64-$older_version.msi
failing=$packages/tests/QuorvexRemover-x64-failing.msi
stage=$packages/stage/QuorvexRemover-x64
for f in "$x64" "$x86" "$older" "$failing"; do
  [ -f "$f" ] || { echo "missing $f: the 32-bit build makes the packages"; exit 1; }
done

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() {  # description, command...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else fail "$what"; fi
}

session=$(mktemp -d /tmp/wine-installer-XXXXXX)
# shellcheck source=/dev/null
source "$source/scripts/wine-session.sh"
cleanup() { wine_session_stop; rm -rf "$session"; }
trap cleanup EXIT
wine_session_start "$session" >/dev/null 2>&1

wine=/usr/lib/wine/wine64
drive=$WINEPREFIX/drive_c
windows_path() { local p=${1//\//\\}; echo "Z:$p"; }
msiexec() {  # log name, arguments...
  local log=$1; shift
  local rc=0
  # The reg.exe runs of the package print to the console msiexec has.
  "$wine" msiexec "$@" /qn /l*v "$(windows_path "$session/$log.log")" </dev/null \
    >"$session/$log.out" 2>&1 || rc=$?
  echo "$rc"
}
probe() { "$wine" "$probe" "$@" </dev/null | tr -d '\r'; }
property() {  # package, property
  msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v p="$2" '$1 == p { print $2 }'
}
query() { "$wine" reg query "$@" 2>/dev/null </dev/null | tr -d '\r' || true; }
# An MSI's packed form of a GUID, as the Installer's own keys name products.
packed() {
  local g=${1//[\{\}]/}
  IFS=- read -r a b c d e <<<"$g"
  local out="" i
  out+=$(rev <<<"$a")$(rev <<<"$b")$(rev <<<"$c")
  for ((i = 0; i < 4; i += 2)); do out+=${d:i+1:1}${d:i:1}; done
  for ((i = 0; i < 12; i += 2)); do out+=${e:i+1:1}${e:i:1}; done
  echo "$out"
}

product_code=$(property "$x64" ProductCode)
upgrade_code=$(property "$x64" UpgradeCode)
version=$(property "$x64" ProductVersion)
clsid='{A45D89B4-2E99-4E4D-A719-D7AAB775D750}'
system_handler='{00021401-0000-0000-C000-000000000046}'
program_dir=$drive/'Program Files/Quorvex Remover'
program_dir32=$drive/'Program Files (x86)/Quorvex Remover'
quarantine_item=$drive/ProgramData/'Quorvex Remover/Quarantine/1.qri'

installed_files_match() {
  cmp -s "$program_dir/QuorvexRemover.exe" "$stage/QuorvexRemover.exe" &&
    cmp -s "$program_dir/Corvane.dll" "$stage/64/Corvane.dll" &&
    cmp -s "$program_dir32/Corvane.dll" "$stage/32/Corvane.dll"
}
none_exist() {
  local path
  for path; do [ ! -e "$path" ] || return 1; done
}
start_menu_shortcuts() { find "$drive" -name 'Quorvex Remover.lnk' | wc -l; }
products() { probe products "$upgrade_code"; }

# What an install must show; $1 is the version expected.
expect_installed() {
  check "the files are those of the package" installed_files_match
  check "one Start-menu shortcut" [ "$(start_menu_shortcuts)" = 1 ]
  check "one installed product of version $1" [ "$(products)" = "$product_code $1" ]
  local arp
  arp=$(query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product_code")
  for line in "DisplayName    REG_SZ    Quorvex Remover" "Publisher    REG_SZ    Halvorn Software" \
              "DisplayVersion    REG_SZ    $1" "HelpLink    REG_SZ    http://www.halvorn.example"; do
    check "listed with $line" grep -qF "$line" <<<"$arp"
  done
  check "the event-log source is registered" grep -q 'TypesSupported    REG_DWORD    0x7' \
    <<<"$(query 'HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Quorvex Remover')"
}

# After uninstall: both handlers are the system's, nothing else of ours is
# in the registry (whole export searched, both views), nor in Program Files
# or the Start menu; the quarantine stays.
expect_removed() {
  local expected
  expected=$(for view in 64 32; do
    for type in lnkfile piffile; do
      echo "$view|$type\\ShellEx\\IconHandler"
      echo "$view|$type\\ShellEx\\IconHandler||1|$system_handler"
    done
  done)
  local left
  left=$(probe dump)
  check "only the system's icon handlers are left of our keys" [ "$left" = "$expected" ]
  [ "$left" = "$expected" ] || diff <(echo "$expected") <(echo "$left") || true
  "$wine" regedit /e "$(windows_path "$session/after.reg")" </dev/null
  local traces
  # The guard's record of what it blocked is the user's, like the
  # quarantine, and read by the companion product: it stays.
  traces=$(iconv -f UTF-16LE -t UTF-8 "$session/after.reg" | tr -d '\r' |
           grep -vE '^\[HKEY_USERS\\[^\\]+\\Software\\Halvorn(\\Marrowind(\\Threats)?)?\]$' |
           grep -iE "corvane|quorvex|halvorn|A45D89B4|7126CBA2|D981D441|${product_code//[\{\}]/}|${upgrade_code//[\{\}]/}|$(packed "$product_code")|$(packed "$upgrade_code")" || true)
  check "no trace of ours in the registry" [ -z "$traces" ]
  [ -z "$traces" ] || echo "$traces" | head -20
  check "nothing under Program Files" none_exist "$program_dir" "$program_dir32"
  check "no Start-menu shortcut" [ "$(start_menu_shortcuts)" = 0 ]
  check "no installed product" [ -z "$(products)" ]
  check "the quarantine stays" [ -f "$quarantine_item" ]
}

seed_quarantine() {
  mkdir -p "$(dirname "$quarantine_item")"
  echo "a quarantined file" >"$quarantine_item"
}

# The long path of the 64-bit guard, as the installer writes it.
dll64='C:\Program Files\Quorvex Remover\Corvane.dll'
dll32='C:\Program Files (x86)\Quorvex Remover\Corvane.dll'

case $scenario in
x64)
  seed_quarantine
  check "msiexec /i succeeds" [ "$(msiexec install /i "$(windows_path "$x64")")" = 0 ]
  expect_installed "$version"
  installed=$(probe dump)
  check "a Control Panel shortcut is blocked" probe block 'C:\qr-links' "$dll64"

  check "msiexec /x succeeds" [ "$(msiexec uninstall /x "$(windows_path "$x64")")" = 0 ]
  expect_removed

  # What the system's registration tool makes of the same DLL at the same
  # place. 64-bit Wine cannot run the 32-bit DLL's registration: the 32-bit
  # view is held to the 64-bit DLL's with its own path (the two carry the
  # same registration script, which installer_tables checks).
  mkdir -p "$program_dir"
  cp "$stage/64/Corvane.dll" "$program_dir/Corvane.dll"
  "$wine" regsvr32 /s "$dll64" </dev/null
  registered=$(probe dump)
  "$wine" regsvr32 /s /u "$dll64" </dev/null
  rm -rf "$program_dir"
  expected=$(grep '^64|' <<<"$registered"
             grep '^64|' <<<"$registered" | while IFS= read -r line; do
               line=${line/#64|/32|}
               echo "${line//"$dll64"/"$dll32"}"
             done)
  check "the package registers what regsvr32 does, in both views" [ "$installed" = "$expected" ]
  [ "$installed" = "$expected" ] || diff <(echo "$expected") <(echo "$installed") || true

  # Another product took over one handler meanwhile: the uninstall leaves it.
  other='{11111111-2222-3333-4444-555555555555}'
  check "installed again" [ "$(msiexec again /i "$(windows_path "$x64")")" = 0 ]
  "$wine" reg add 'HKLM\SOFTWARE\Classes\piffile\ShellEx\IconHandler' /ve /d "$other" \
    /f /reg:32 >/dev/null 2>&1 </dev/null
  check "uninstalled again" [ "$(msiexec again-x /x "$(windows_path "$x64")")" = 0 ]
  handlers=$(probe dump | grep '|1|')
  check "another product's handler is left alone, ours are restored" [ "$handlers" = \
    "$(printf '%s\n' "64|lnkfile\\ShellEx\\IconHandler||1|$system_handler" \
                      "64|piffile\\ShellEx\\IconHandler||1|$system_handler" \
                      "32|lnkfile\\ShellEx\\IconHandler||1|$system_handler" \
                      "32|piffile\\ShellEx\\IconHandler||1|$other")" ]
  echo "$handlers"
  ;;
upgrade)
  seed_quarantine
  check "the older package installs" [ "$(msiexec older /i "$(windows_path "$older")")" = 0 ]
  check "the older product is installed" [ "$(products)" = "$(property "$older" ProductCode) $older_version" ]
  check "this package installs over it" [ "$(msiexec install /i "$(windows_path "$x64")")" = 0 ]
  expect_installed "$version"
  upgraded=$(probe dump)

  # Damage, then the same version again as a repair.
  rm "$program_dir/Corvane.dll"
  "$wine" reg delete "HKCR\\CLSID\\$clsid\\InprocServer32" /f /reg:64 >/dev/null 2>&1 </dev/null
  "$wine" reg add 'HKLM\SOFTWARE\Classes\lnkfile\ShellEx\IconHandler' /ve /d "$system_handler" \
    /f /reg:32 >/dev/null 2>&1 </dev/null
  check "the same version again repairs" \
    [ "$(msiexec repair /i "$(windows_path "$x64")" REINSTALL=ALL REINSTALLMODE=vomus)" = 0 ]
  expect_installed "$version"
  check "the repair restores the registration" [ "$(probe dump)" = "$upgraded" ]

  check "msiexec /x succeeds" [ "$(msiexec uninstall /x "$(windows_path "$x64")")" = 0 ]
  expect_removed
  ;;
rollback)
  seed_quarantine
  values() { probe dump | grep -F '|1|' || true; }
  before=$(values)
  check "an install that fails at its end fails" \
    [ "$(msiexec failed-install /i "$(windows_path "$failing")" QR_TEST_FAIL=1)" != 0 ]
  check "its rollback puts the icon handlers back" [ "$(values)" = "$before" ]
  check "and leaves no class" [ -z "$(probe dump | grep -v IconHandler)" ]
  check "no product" [ -z "$(products)" ]
  check "no files" none_exist "$program_dir" "$program_dir32"

  # Wine rolls back no failed uninstall (it finishes the removal), so the
  # rollback of the restoring actions is checked in the tables only.
  check "the package installs after it" [ "$(msiexec install /i "$(windows_path "$x64")")" = 0 ]
  expect_installed "$version"
  check "and uninstalls" [ "$(msiexec uninstall /x "$(windows_path "$x64")")" = 0 ]
  expect_removed
  ;;
x86)
  # 1603 (ERROR_INSTALL_FAILURE) as a Unix exit status keeps its low byte.
  check "the x86 package is refused on 64-bit Windows" \
    [ "$(msiexec install /i "$(windows_path "$x86")")" = $((1603 & 255)) ]
  check "stopped by its launch condition" \
    grep -q "LaunchConditions" "$session/install.log"
  check "before any file is installed" bash -c '! grep -q "InstallFiles" "$1"' - "$session/install.log"
  check "nothing installed" [ -z "$(probe products "$(property "$x86" UpgradeCode)")" ]
  check "no files" none_exist "$program_dir" "$program_dir32"
  check "no registration" [ -z "$(probe dump | grep -v IconHandler)" ]
  ;;
*)
  echo "unknown scenario $scenario"
  exit 2
  ;;
esac

echo "$failures failure(s)"
[ "$failures" = 0 ]
