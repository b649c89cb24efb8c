#!/usr/bin/env bash
# With Wine reporting Windows 10: silent install -> files, server keys, shortcut and uninstall
# entry are there, nothing of the Windows 11 package -> an association saved through the store
# and RegisterExtension -> silent uninstall -> all of it is gone again. Then with Wine reporting
# Windows 11 (build 22000): the package's registration is attempted, its failure (Wine deploys
# no packages) logged, the install intact and the classic menu working; uninstall takes the
# certificate's trust and Active Setup entry along. Checks the registry and the disk, not exit
# codes alone.
# Usage: installer-test.sh SETUP.exe associate-for-test.exe Wendrift.dll WendriftConfig.exe
#                          wendrift-shellhost.exe Wendrift.cer
set -u
setup=$1 helper=$2 library=$3 config=$4 shellhost=$5 certificate=$6
: "${WINEPREFIX:?}"
# No .desktop files for the shortcut in the Linux home: Wine's menu builder stays off.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ -n "${WENDRIFT_DISPLAY_FILE:-}" ] && [ -s "$WENDRIFT_DISPLAY_FILE" ]; then
  export DISPLAY=":$(head -n1 "$WENDRIFT_DISPLAY_FILE")"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/wendrift-installer.XXXXXX")
log="$work/wine.log"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }

# Wine's helper processes inherit output handles: keep them away from ctest's pipe.
w() { timeout --kill-after=5 60 wine "$@" >>"$log" 2>&1 </dev/null; }
key_exists() { timeout 30 wine reg query "$1" >/dev/null 2>&1 </dev/null; }
# The data of one value (empty name: the default value), without type or trailing CR.
value_of() {
  local key=$1 name=$2 args
  if [ -z "$name" ]; then args=(/ve); else args=(/v "$name"); fi
  timeout 30 wine reg query "$key" "${args[@]}" 2>/dev/null </dev/null | tr -d '\r' |
    sed -n -E 's/^    .*    (REG_[A-Z_]+)    (.*)$/\1 \2/p' | head -n1
}
expect_value() {  # key name "REG_TYPE data"
  local got; got=$(value_of "$1" "$2")
  if [ "$got" = "$3" ]; then pass "$1 [$2] = $3"; else fail "$1 [$2]: expected '$3', got '$got'"; fi
}
expect_key() { if key_exists "$1"; then pass "key $1"; else fail "missing key $1"; fi; }
expect_no_key() { if key_exists "$1"; then fail "key $1 still there"; else pass "no key $1"; fi; }
expect_file() { if [ -f "$1" ]; then pass "file $1"; else fail "missing file $1"; fi; }
expect_no_file() { if [ -e "$1" ]; then fail "$1 still there"; else pass "no $1"; fi; }

clsid='{6C2D91B4-0F3E-4a58-9B17-E4D0A3C5F829}'
server="HKCR\\CLSID\\$clsid"
progid='HKCR\Wendrift.ShellCallback.1'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Wendrift'
store='HKCU\Software\Wendrift\Extensions'
dir="$WINEPREFIX/drive_c/Program Files/Wendrift"
windir='C:\Program Files\Wendrift'
# Our extensions: one the shell never saw, one with a file type of its own.
ext1=.zwdinst1 ext2=.zwdinst2 type2=zwdinsttype
# Windows 11: what NSIS and the library read as the build; the trust and Active Setup entries.
version_key='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
thumbprint=$(openssl x509 -inform der -in "$certificate" -noout -fingerprint -sha1 | sed 's/.*=//; s/://g')
trust="HKLM\\Software\\Microsoft\\SystemCertificates\\TrustedPeople\\Certificates\\$thumbprint"
active_setup='Software\Microsoft\Active Setup\Installed Components\{9294691A-26A1-45AB-8DF0-74A655584D53}'

# Other test programs share the prefix: keep the server keys and the store as they were, and
# empty the store so that the uninstaller touches only what this test saved.
saved=()
for key in "$server" "$progid" 'HKCU\Software\Wendrift'; do
  if key_exists "$key"; then
    file="$work/saved${#saved[@]}.reg"
    w reg export "$key" "$(winepath -w "$file")" /y && saved+=("$file")
  fi
done
build=$(value_of "$version_key" CurrentBuildNumber | sed 's/^REG_SZ //')
restore() {
  w reg add "$version_key" /v CurrentBuildNumber /d "${build:-7601}" /f
  for key in "HKCR\\$ext1" "HKCR\\$ext2" "HKCR\\$type2"; do w reg delete "$key" /f; done
  for file in "${saved[@]}"; do w reg import "$(winepath -w "$file")"; done
  rm -rf "$work"
}
trap restore EXIT
w reg delete 'HKCU\Software\Wendrift\Extensions' /f
for key in "$server" "$progid" "HKCR\\$ext1" "HKCR\\$ext2" "HKCR\\$type2"; do w reg delete "$key" /f; done

# The uninstaller re-starts itself from a temporary copy and returns at once; its last step
# removes the uninstall entry.
uninstall() {
  w "$dir/Uninstall.exe" /S || fail "uninstaller exited with $?"
  for _ in $(seq 120); do key_exists "$uninstall_key" || break; sleep 0.5; done
  for _ in $(seq 20); do [ -e "$dir" ] || break; sleep 0.25; done
}

echo "--- Windows 10: silent install"
w reg add "$version_key" /v CurrentBuildNumber /d 19045 /f
w "$setup" /S || fail "setup exited with $?"
expect_file "$dir/Wendrift.dll"
expect_file "$dir/WendriftConfig.exe"
expect_file "$dir/Uninstall.exe"
cmp -s "$dir/Wendrift.dll" "$library" || fail "installed Wendrift.dll differs from the build's"
cmp -s "$dir/WendriftConfig.exe" "$config" || fail "installed WendriftConfig.exe differs from the build's"
expect_value "$server\\InprocServer32" "" "REG_SZ $windir\\Wendrift.dll"
expect_value "$server\\InprocServer32" ThreadingModel "REG_SZ Apartment"
expect_value "$progid\\CLSID" "" "REG_SZ $clsid"
expect_value "$progid\\shellex\\ContextMenuHandlers\\Wendrift" "" "REG_SZ $clsid"
# Written in the 64-bit view: nothing under the 32-bit classes.
expect_no_key "HKLM\\Software\\Wow6432Node\\Classes\\CLSID\\$clsid"
expect_value "$uninstall_key" DisplayName "REG_SZ Wendrift"
expect_value "$uninstall_key" DisplayVersion "REG_SZ 1.0.0.1"
expect_value "$uninstall_key" Publisher "REG_SZ The Wendrift authors"
expect_value "$uninstall_key" UninstallString "REG_SZ \"$windir\\Uninstall.exe\""
expect_value "$uninstall_key" QuietUninstallString "REG_SZ \"$windir\\Uninstall.exe\" /S"
size=$(value_of "$uninstall_key" EstimatedSize)
case "$size" in
  "REG_DWORD 0x0" | "") fail "EstimatedSize missing or 0 ($size)" ;;
  REG_DWORD*) pass "EstimatedSize $size KB" ;;
  *) fail "EstimatedSize has the wrong type ($size)" ;;
esac
shortcut=$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Wendrift/Wendrift Configuration.lnk' 2>/dev/null | head -n1)
if [ -n "$shortcut" ]; then pass "shortcut $shortcut"; else fail "no Start-menu shortcut"; fi
grep -q 'build 19045: no Windows 11 menu' "$dir/Wendrift-setup.log" && pass "log: nothing attempted" ||
  fail "log: $(cat "$dir/Wendrift-setup.log")"
expect_no_file "$dir/Wendrift.msix"
expect_no_key "$trust"
expect_no_key "HKLM\\$active_setup"

echo "--- associations saved through the store and RegisterExtension"
w reg add "HKCR\\$ext2" /ve /d "$type2" /f
w "$helper" "$ext1" 'C:\Wendrift Target\One' 'C:\Wendrift Target\Two' || fail "associating $ext1"
w "$helper" "$ext2" 'C:\Wendrift Target\One' || fail "associating $ext2"
expect_value "HKCR\\$ext1" "" "REG_SZ Wendrift.ShellCallback.1"
expect_key "HKCR\\$ext1\\CLSID\\$clsid"
expect_key "HKCR\\$ext2\\CLSID\\$clsid"
expect_value "HKCR\\$type2\\shellex\\ContextMenuHandlers\\Wendrift" "" "REG_SZ $clsid"
# The directory as a value name, folded (Wine's reg shows 0-byte REG_SZ data as garbage).
case "$(value_of "$store\\$ext1" 'c:\wendrift target\two')" in
  REG_SZ*) pass "directory stored under $ext1" ;;
  *) fail "directory value missing under $ext1" ;;
esac
expect_key "$store\\$ext2"

echo "--- Windows 10: silent uninstall"
uninstall
expect_no_key "$uninstall_key"
expect_no_file "$dir"
if [ -n "$shortcut" ]; then expect_no_file "$shortcut"; expect_no_file "$(dirname "$shortcut")"; fi
expect_no_key "$server"
expect_no_key "$progid"
expect_no_key "HKCR\\$ext1\\CLSID\\$clsid"
expect_no_key "HKCR\\$ext2\\CLSID\\$clsid"
expect_no_key "HKCR\\$type2\\shellex\\ContextMenuHandlers\\Wendrift"
expect_no_key "$store\\$ext1"
expect_no_key "$store\\$ext2"
# The file type we gave an extension that had none goes with our ProgID; a foreign one stays.
expect_no_key "HKCR\\$ext1"
expect_value "HKCR\\$ext2" "" "REG_SZ $type2"

echo "--- Windows 11: silent install"
w reg add "$version_key" /v CurrentBuildNumber /d 22000 /f
w "$setup" /S || fail "setup exited with $?"
cmp -s "$dir/Wendrift.msix" "$(dirname "$certificate")/Wendrift.msix" || fail "installed Wendrift.msix differs from the build's"
expect_file "$dir/Wendrift.cer"
expect_file "$dir/WendriftPackage.ps1"
expect_key "$trust"
for line in 'build 22000: registering' 'Certificate trusted' 'Package registration failed' 'Other users: registered at their next logon'; do
  grep -q "$line" "$dir/Wendrift-setup.log" && pass "log: $line" || fail "log lacks '$line': $(cat "$dir/Wendrift-setup.log")"
done
expect_value "HKLM\\$active_setup" StubPath "REG_SZ \"C:\\windows\\system32\\WindowsPowerShell\\v1.0\\powershell.exe\" -NoProfile -NonInteractive -ExecutionPolicy Bypass -WindowStyle Hidden -File \"$windir\\WendriftPackage.ps1\" register"
expect_no_key "HKCU\\$active_setup"  # registration failed: this user retries at logon too
expect_value "$server\\InprocServer32" "" "REG_SZ $windir\\Wendrift.dll"
w "$helper" "$ext1" 'C:\Wendrift Target\One' || fail "associating $ext1"
mkdir -p "$WINEPREFIX/drive_c/wendrift installer" && : >"$WINEPREFIX/drive_c/wendrift installer/a$ext1"
timeout 60 wine "$shellhost" "C:\\wendrift installer\\a$ext1" >"$work/menu.txt" 2>&1 </dev/null
grep -q 'Cop&y To' "$work/menu.txt" && pass "the classic menu shows" || fail "no classic menu: $(cat "$work/menu.txt")"
rm -rf "$WINEPREFIX/drive_c/wendrift installer"

echo "--- Windows 11: silent uninstall"
uninstall
expect_no_file "$dir"
expect_no_key "$trust"
expect_no_key "HKLM\\$active_setup"
expect_no_key "$server"
expect_no_key "$store\\$ext1"

if [ "$failures" -ne 0 ]; then
  echo "--- wine output"; cat "$log"
  echo "$failures check(s) failed"
  exit 1
fi
echo "all installer checks passed"
