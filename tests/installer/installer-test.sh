#!/usr/bin/env bash
# The setup and its uninstaller, checked on the disk and in the registry against the signed
# files the build ships: Windows 10 install, associations, uninstall; an upgrade and an
# uninstall while a process has the library loaded and its transfer waits on a question (and a
# file held without sharing); Windows 11 (build 22000), into a folder named with every
# PowerShell quote character: both packages, trust by thumbprint, the registration commands (a
# stand-in PowerShell records them), Active Setup versions, the uninstall taking exactly what
# the setup brought; an upgrade from the one two-verb package; /D folders outside the program
# folders, a busy one refused; Windows on ARM, through the test setup's seam (the machine and
# regsvr32 from the environment); the setup and the uninstaller in the user's language; a full
# install drive.
# Usage: installer-test.sh SETUP.exe TEST_SETUP.exe associate-for-test.exe
#                          installer-probe-for-test.exe wendrift-shellhost.exe SIGNED_FOLDER
#                          PACKAGE_FOLDER
set -u
setup=$1 test_setup=$2 helper=$3 probe=$4 shellhost=$5 signed=$6 package=$7
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
check() {  # description, command...
  local what=$1; shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

# Wine's helper processes inherit output handles: keep them away from ctest's pipe.
w() { timeout --kill-after=5 60 wine "$@" >>"$log" 2>&1 </dev/null; }
# A command line exactly as written, whatever characters it holds (wine would quote arguments
# with spaces, and its conversion of arguments depends on the locale).
run_line() { printf '%s' "$1" >"$work/line.txt"; w "$probe" run "$(winepath -w "$work/line.txt" 2>/dev/null)"; }
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
# A key as `reg export` writes it (UTF-16: `reg query` loses what the console code page lacks).
exported() { w reg export "$1" "$(winepath -w "$work/export.reg")" /y && iconv -f UTF-16 -t UTF-8 "$work/export.reg"; }
expect_key() { if key_exists "$1"; then pass "key $1"; else fail "missing key $1"; fi; }
expect_no_key() { if key_exists "$1"; then fail "key $1 still there"; else pass "no key $1"; fi; }
expect_file() { if [ -f "$1" ]; then pass "file $1"; else fail "missing file $1"; fi; }
expect_no_file() { if [ -e "$1" ]; then fail "$1 still there"; else pass "no $1"; fi; }
setup_log() { iconv -f UTF-16 -t UTF-8 "$dir/Wendrift-setup.log" 2>/dev/null; }
expect_log() { grep -qF -- "$1" <<<"$(setup_log)" && pass "log: $1" || fail "log lacks '$1': $(setup_log)"; }
same() { cmp -s "$1" "$2" && pass "$3" || fail "$3"; }
# Each program the setup installed is the build's, with a signature the certificate verifies.
expect_shipped() {
  local name
  for name in Wendrift.dll WendriftConfig.exe; do same "$dir/$name" "$signed/$name" "installed $name is the build's"; done
  for name in "$dir/Wendrift.dll" "$dir/WendriftConfig.exe" "$dir/Uninstall.exe" "$setup"; do
    osslsigncode verify -in "$name" -CAfile "$package/certificate.pem" >/dev/null 2>&1 &&
      pass "signed: $(basename "$name")" || fail "no valid signature on $name"
  done
}

# The ids and names the setup was built with, from the build's one source of them.
define() { sed -n "s/^!define $1 \"\(.*\)\"\$/\1/p" "${WENDRIFT_BUILD_DIR:?}/generated/WendriftIds.nsh"; }
clsid=$(define SHELL_CALLBACK_CLASS_ID)
server="HKCR\\CLSID\\$clsid"
progid="HKCR\\$(define PROGID)"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Wendrift'
store="HKCU\\$(define STORE_KEY)"
[ -n "$clsid" ] && [ "$progid" != 'HKCR\' ] && [ "$store" != 'HKCU\' ] || { echo "FAIL: no ids"; exit 1; }
dir="$WINEPREFIX/drive_c/Program Files/Wendrift"
windir='C:\Program Files\Wendrift'
pending='HKLM\System\CurrentControlSet\Control\Session Manager'
# Our extensions: one the shell never saw, one with a file type of its own.
ext1=.zwdinst1 ext2=.zwdinst2 type2=zwdinsttype
files="$WINEPREFIX/drive_c/wendrift installer" winfiles='C:\wendrift installer'
# Windows 11: what NSIS and the library read as the build; the trust and Active Setup entries.
version_key='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
trusted='HKLM\Software\Microsoft\SystemCertificates\TrustedPeople\Certificates'
thumbprint() { openssl x509 -in "$1" -noout -fingerprint -sha1 | sed 's/.*=//; s/://g'; }
our_thumbprint=$(thumbprint "$package/certificate.pem")
trust="$trusted\\$our_thumbprint"
active_setup='Software\Microsoft\Active Setup\Installed Components\{9294691A-26A1-45AB-8DF0-74A655584D53}'

# Other test programs share the prefix: keep the server keys and the store as they were, and
# empty the store so that the uninstaller touches only what this test saved.
saved=()
for key in "$server" "$progid" 'HKCU\Software\Wendrift' "$pending"; do
  if key_exists "$key"; then
    file="$work/saved${#saved[@]}.reg"
    w reg export "$key" "$(winepath -w "$file")" /y && saved+=("$file")
  fi
done
build=$(value_of "$version_key" CurrentBuildNumber | sed 's/^REG_SZ //')
# PowerShell: a stand-in that records each command line it is given. Wine's own is kept beside
# it until the end (a run killed before then leaves it there for the next to put back).
powershell="$WINEPREFIX/drive_c/windows/system32/WindowsPowerShell/v1.0"
[ -f "$powershell/powershell.exe.wine" ] || cp "$powershell/powershell.exe" "$powershell/powershell.exe.wine"
cp "$probe" "$powershell/powershell.exe"
commands="$powershell/commands.txt"
rm -f "$commands"
restore() {
  if [ -f "$language_undo" ]; then sh "$language_undo" >>"$log" 2>&1 </dev/null; rm -f "$language_undo"; fi
  mv -f "$powershell/powershell.exe.wine" "$powershell/powershell.exe"; rm -f "$commands"
  w reg add "$version_key" /v CurrentBuildNumber /d "${build:-7601}" /f
  w reg delete "$pending" /v PendingFileRenameOperations /f
  for key in "HKCR\\$ext1" "HKCR\\$ext2" "HKCR\\$type2"; do w reg delete "$key" /f; done
  for file in "${saved[@]}"; do w reg import "$(winepath -w "$file")"; done
  rm -f "$WINEPREFIX/dosdevices/w:"; umount "$work/full" 2>/dev/null
  rm -rf "$work" "$files"
}
# What undoes the language set and the locale changed below (the fonts' links), for this run at
# its end and for the next if this one is killed.
language_undo="${WENDRIFT_BUILD_DIR:-$work}/leftovers/installer-language.sh"
trap restore EXIT
# What a run that was killed may have left: installs refuse a folder holding other files.
w reg delete "$store" /f
w reg delete "$uninstall_key" /f
w reg delete 'HKLM\Software\Wendrift' /f
rm -rf "$dir" "$WINEPREFIX/drive_c/WendriftTools" "$WINEPREFIX/drive_c/wd Bob"*
for key in "$server" "$progid" "HKCR\\$ext1" "HKCR\\$ext2" "HKCR\\$type2"; do w reg delete "$key" /f; done
mkdir -p "$files/dest"

# The uninstaller re-starts itself from a temporary copy and returns at once; its last step
# removes the uninstall entry.
uninstall() {
  run_line "\"$windir\\Uninstall.exe\" /S" || fail "uninstaller exited with $?"
  for _ in $(seq 120); do key_exists "$uninstall_key" || break; sleep 0.5; done
  for _ in $(seq 20); do [ -e "$dir" ] || break; sleep 0.25; done
}
pending_deletions() { value_of "$pending" PendingFileRenameOperations; }

echo "--- Windows 10: silent install"
w reg add "$version_key" /v CurrentBuildNumber /d 19045 /f
w "$setup" /S || fail "setup exited with $?"
expect_file "$dir/Uninstall.exe"
expect_shipped
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
expect_log 'build 19045: no Windows 11 menu'
expect_log 'Native machine 34404: the x64 programs and packages'  # IMAGE_FILE_MACHINE_AMD64
cp "$dir/Wendrift-setup.log" "$work/program-files.log"
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

echo "--- upgrade while a process has the library loaded and a transfer waits"
w "$setup" /S || fail "setup exited with $?"
# An older version: other contents in both programs.
for name in Wendrift.dll WendriftConfig.exe; do
  echo older >>"$dir/$name"; cp "$dir/$name" "$work/old-$name"
done
w "$helper" "$ext1" "$winfiles\\dest" || fail "associating $ext1"
# The copy will find its target there already and ask before replacing it.
echo new >"$files/a$ext1"; echo old >"$files/dest/a$ext1"
start_transfer() {
  timeout 90 wine "$shellhost" --invoke 'Cop&y To/&1.' "$winfiles\\a$ext1" >>"$log" 2>&1 </dev/null &
  transfer=$!
  w "$probe" wait 'Confirm File Replace' || fail "the transfer's replace question never came"
}
finish_transfer() {  # the question answered Yes, the host waits for the transfer's end
  w "$probe" answer 'Confirm File Replace' || fail "could not answer the replace question"
  wait "$transfer" && pass "the transfer ended well" || fail "the transfer's host exited with $?"
}
start_transfer
w "$setup" /S || fail "setup over the loaded library exited with $?"
expect_shipped
same "$dir/Wendrift.dll.1.old" "$work/old-Wendrift.dll" "the loaded library moved aside"
expect_no_file "$dir/WendriftConfig.exe.1.old"  # not in use: deleted at once
grep -qF 'Wendrift.dll.1.old' <<<"$(pending_deletions)" && pass "deleted at the next restart" ||
  fail "not deleted at the next restart: $(pending_deletions)"
finish_transfer
same "$files/dest/a$ext1" "$files/a$ext1" "the transfer running during the upgrade finished"

echo "--- a file held without sharing fails the setup"
timeout 90 wine "$probe" hold "$windir\\WendriftConfig.exe" "$winfiles\\held" "$winfiles\\release" >>"$log" 2>&1 </dev/null &
holder=$!
for _ in $(seq 300); do [ -e "$files/held" ] && break; sleep 0.1; done
check "the holder has the file open" test -e "$files/held"
w "$setup" /S
check "setup exits 2" test $? -eq 2
expect_log 'WendriftConfig.exe is in use and could not be replaced'
expect_shipped  # the library, put in place before, is back as it was
: >"$files/release"; wait "$holder"; rm -f "$files/release" "$files/held"

echo "--- uninstall while the library is loaded, then install again"
echo old >"$files/dest/a$ext1"
start_transfer
w reg delete "$pending" /v PendingFileRenameOperations /f
uninstall
expect_no_file "$dir/Wendrift.dll"
expect_file "$dir/Wendrift.dll.1.old"
# Only the moved-aside name is deleted at the restart, never the library's own name, which a
# new install may take before then.
deletions=$(pending_deletions)
grep -qF 'Wendrift.dll.1.old' <<<"$deletions" && pass "the moved-aside library goes at the next restart" ||
  fail "no deletion at the next restart: $deletions"
grep -qiE 'Wendrift\.dll(\\0|$)' <<<"$deletions" && fail "the library's own name is deleted at the next restart" ||
  pass "the library's own name stays free"
finish_transfer
w "$setup" /S || fail "setup exited with $?"
expect_no_file "$dir/Wendrift.dll.1.old"
expect_shipped
uninstall
expect_no_file "$dir"

echo "--- Windows 11: install into a folder named with every PowerShell quote character"
# Certificates of the packages' subject that were trusted before: another key's (which stays
# whatever happens), and later the packages' own.
add_trusted() {  # subject: a new self-signed certificate, stored as Wine's system store does
  openssl req -x509 -newkey rsa:2048 -nodes -subj "$1" -days 2 -keyout /dev/null \
      -out "$work/extra.pem" 2>/dev/null
  local blob; blob=$(openssl x509 -in "$work/extra.pem" -outform der | python3 -c '
import struct, sys; der = sys.stdin.buffer.read()
print((struct.pack("<III", 32, 1, len(der)) + der).hex())')
  w reg add "$trusted\\$(thumbprint "$work/extra.pem")" /v Blob /t REG_BINARY /d "$blob" /f
  echo "$trusted\\$(thumbprint "$work/extra.pem")"
}
same_subject=$(add_trusted "/O=The Wendrift authors/CN=Wendrift")
w reg add "$version_key" /v CurrentBuildNumber /d 22000 /f
odd=$'wd Bob\u2019s \u2018x\u2019\u201a\u201b\'$x`;\u00fc\u4e2d'
dir="$WINEPREFIX/drive_c/$odd/Wendrift" windir="C:\\$odd\\Wendrift"
run_line "\"$(winepath -w "$setup")\" /S /D=$windir" || fail "setup exited with $?"
for name in Wendrift.CopyTo Wendrift.MoveTo; do
  same "$dir/$name.msix" "$package/$name.msix" "installed $name.msix is the build's"
done
# The logos packed (package_check: every one the manifest names), also beside the programs.
for logo in "$package"/Assets/*.png; do same "$dir/Assets/${logo##*/}" "$logo" "${logo##*/} installed"; done
same "$dir/Wendrift.cer" "$package/Wendrift.cer" "installed Wendrift.cer is the build's"
expect_key "$trust"
expect_value 'HKLM\Software\Wendrift\TrustedCertificates' "$our_thumbprint" "REG_DWORD 0x1"
expect_log 'build 22000: registering'
expect_log "Self-signed certificate $our_thumbprint trusted"
expect_log 'Package registration failed'
expect_log 'Other users: registered at their next logon'
# The command the setup ran and the one Active Setup runs at each logon are one, and carry no
# data: the folder reaches them only through the uninstall entry, exactly as it is.
ran=$(tr -d '\r' <"$commands" 2>/dev/null | tail -n1)
stub=$(value_of "HKLM\\$active_setup" StubPath)
check "Active Setup runs what the setup ran: $ran" test "REG_SZ $ran" = "$stub" -a -n "$ran"
check "the command is whole (NSIS cuts its strings at 1024 characters)" grep -qE 'exit \$f"$' <<<"$ran"
check "the command holds nothing of the folder's name" \
  python3 -c 'import sys; sys.exit(any(c in sys.argv[1] for c in "\u2018\u2019\u201a\u201b\u00fc\u4e2d`") or "wd Bob" in sys.argv[1])' "$ran"
check "the command reads the folder from the uninstall entry" grep -qF -- \
  "\$d = Get-ItemPropertyValue -LiteralPath 'HKLM:\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Wendrift' -Name InstallLocation;" <<<"$ran"
check "the command removes the one two-verb package, then adds both" grep -qE -- \
  "Get-AppxPackage -Name 'Wendrift.Shell' \| Remove-AppxPackage; foreach \(\\\$p in 'Wendrift.CopyTo','Wendrift.MoveTo'\) \{.* Add-AppxPackage -Path \(Join-Path \\\$d \(\\\$p \+ '.msix'\)\) -ExternalLocation \\\$d " <<<"$ran"
check "InstallLocation is the folder, every character as it is" \
  grep -qF "\"InstallLocation\"=\"${windir//\\/\\\\}\"" <(exported "$uninstall_key")
expect_no_key "HKCU\\$active_setup"  # registration failed: this user retries at logon too
version1=$(value_of "HKLM\\$active_setup" Version | sed 's/^REG_SZ //')
check "Active Setup version $version1: four parts of 16 bits" \
  awk -F, '{ exit !(NF == 4 && $1 <= 65535 && $2 <= 65535 && $3 <= 65535 && $4 <= 65535) }' <<<"$version1"
check "the library is registered from there" \
  grep -qF "@=\"${windir//\\/\\\\}\\\\Wendrift.dll\"" <(exported "$server\\InprocServer32")
w "$helper" "$ext1" 'C:\Wendrift Target\One' || fail "associating $ext1"
timeout 60 wine "$shellhost" "$winfiles\\a$ext1" >"$work/menu.txt" 2>&1 </dev/null
grep -q 'Cop&y To' "$work/menu.txt" && pass "the classic menu shows" || fail "no classic menu: $(cat "$work/menu.txt")"

echo "--- Windows 11: reinstall of the same version, the clock set back"
w reg add "HKLM\\$active_setup" /v Version /d 2099,1231,2359,59 /f
run_line "\"$(winepath -w "$setup")\" /S /D=$windir" || fail "setup exited with $?"
expect_value "HKLM\\$active_setup" Version "REG_SZ 2099,1231,2359,60"
expect_log "The certificate $our_thumbprint is trusted since an earlier install of Wendrift"

echo "--- Windows 11: silent uninstall keeps what the setup did not bring"
echo mine >"$dir/notes.txt"; echo mine >"$dir/Assets/mine.png"
uninstall
check "the user's files are kept" test -f "$dir/notes.txt" -a -f "$dir/Assets/mine.png"
check "and nothing else: $(cd "$dir" && find . -mindepth 1 | sort | tr '\n' ' ')" \
  test "$(cd "$dir" && find . -mindepth 1 | LC_ALL=C sort | tr '\n' ' ')" = "./Assets ./Assets/mine.png ./Wendrift-uninstall.log ./notes.txt "
check "the uninstall log lists them" grep -qF "$windir\\Assets\\mine.png" <(iconv -f UTF-16 -t UTF-8 "$dir/Wendrift-uninstall.log")
check "the packages of every user removed, the one of earlier setups too" grep -qF -- \
  "foreach (\$p in 'Wendrift.CopyTo','Wendrift.MoveTo', 'Wendrift.Shell') { Get-AppxPackage -AllUsers -Name \$p | Remove-AppxPackage -AllUsers }" "$commands"
expect_no_key "$trust"
expect_key "$same_subject"
w reg delete "$same_subject" /f
expect_no_key 'HKLM\Software\Wendrift'
expect_no_key "HKLM\\$active_setup"
expect_no_key "$server"
expect_no_key "$store\\$ext1"
rm -rf "$WINEPREFIX/drive_c/$odd"

echo "--- Windows 11: upgrade from the one two-verb package"
# What the setup of before left: Wendrift.msix, the trust noted by subject only.
dir="$WINEPREFIX/drive_c/Program Files/Wendrift" windir='C:\Program Files\Wendrift'
w "$setup" /S || fail "setup exited with $?"
cp "$package/Wendrift.CopyTo.msix" "$dir/Wendrift.msix"
w reg delete 'HKLM\Software\Wendrift\TrustedCertificates' /f
w reg add 'HKLM\Software\Wendrift\TrustedCertificateSubjects' /v 'CN=Wendrift, O=The Wendrift authors' /t REG_DWORD /d 1 /f
w "$setup" /S || fail "setup exited with $?"
expect_no_file "$dir/Wendrift.msix"  # and the command removes Wendrift.Shell (above)
expect_log "The certificate $our_thumbprint was trusted before"
expect_no_key 'HKLM\Software\Wendrift\TrustedCertificates'
uninstall
expect_no_file "$dir"
# An install recorded by subject alone cannot tell its certificate from one trusted before it
# came: the trust stays.
expect_key "$trust"
w reg delete "$trust" /f
expect_no_key 'HKLM\Software\Wendrift'

echo "--- Windows on ARM (Windows 11): the ARM64 programs and packages, registered natively"
# The test's setup is told the machine is ARM64 (IMAGE_FILE_MACHINE_ARM64) and which regsvr32 is
# the native one: a stand-in that records what it is asked, as Wine cannot load ARM64 code.
mkdir -p "$work/native"; cp "$probe" "$work/native/regsvr32.exe"
registrations="$work/native/commands.txt"
arm() { WENDRIFT_TEST_NATIVE_MACHINE=0xAA64 WENDRIFT_TEST_REGSVR32="$(winepath -w "$work/native/regsvr32.exe")" "$@"; }
arm w "$test_setup" /S || fail "the setup for ARM64 exited with $?"
arm w "$test_setup" /S || fail "the setup for ARM64 over itself exited with $?"
for name in Wendrift.dll WendriftConfig.exe; do same "$dir/$name" "$signed/arm64/$name" "installed $name is the ARM64 build's"; done
for name in Wendrift.CopyTo Wendrift.MoveTo; do
  same "$dir/$name.msix" "$package/arm64/$name.msix" "installed $name.msix is the ARM64 package"
done
expect_log 'Native machine 43620: the arm64 programs and packages'
check "the native regsvr32 registered the library, once per install" test \
  "$(tr -d '\r' <"$registrations" | sed 's/^"[^"]*" *//' | sort | uniq -c | sed 's/^ *//')" = "2 /s \"$windir\\Wendrift.dll\""
check "the packages of another architecture go before the ARM64 ones are added" \
  grep -qF -- "-or \$_.Architecture -ne 'arm64' } | Remove-AppxPackage" <(tail -n1 "$commands")
w "$helper" "$ext1" 'C:\Wendrift Target\One' || fail "associating $ext1"
arm uninstall
expect_no_file "$dir"
expect_no_key "$store\\$ext1"  # the uninstaller's own x64 library ran Uninstall
check "the native regsvr32 unregistered it" grep -qF -- "/u /s \"$windir\\Wendrift.dll\"" "$registrations"
expect_no_key "$trust"

echo "--- Windows 10: installs outside the program folders"
# Wine keeps no security descriptors (it reads back one made from the Unix mode): what it can
# show is where the folder and the files were protected.
check "a folder in the program folders is left as it is" grep -q 'inside the program folders: it and its files keep what those folders give' <(iconv -f UTF-16 -t UTF-8 "$work/program-files.log")
w reg add "$version_key" /v CurrentBuildNumber /d 19045 /f
busy="$WINEPREFIX/drive_c/WendriftTools/Busy"
mkdir -p "$busy"; echo theirs >"$busy/theirs.txt"
w "$setup" /S '/D=C:\WendriftTools\Busy'
check "a folder holding other files is refused (exit code 2)" test $? -eq 2
check "and left untouched" test "$(ls -A "$busy")" = theirs.txt -a "$(cat "$busy/theirs.txt")" = theirs
expect_no_key "$uninstall_key"
dir="$WINEPREFIX/drive_c/WendriftTools/Wendrift" windir='C:\WendriftTools\Wendrift'
w "$setup" /S "/D=$windir" || fail "setup exited with $?"
expect_log '(new) is outside the program folders: protected with each file the setup writes'
# Files planted under names the setup writes are replaced, never written through.
echo victim >"$busy/victim"
rm -f "$dir/Wendrift-setup.log" "$dir/WendriftConfig.exe"
ln "$busy/victim" "$dir/Wendrift-setup.log"; ln "$busy/victim" "$dir/WendriftConfig.exe"
w "$setup" /S "/D=$windir" || fail "setup exited with $?"
check "a planted file is replaced, not written through" test "$(cat "$busy/victim")" = victim
expect_log 'holds the installed Wendrift: its access list stays as it is; each file the setup writes is protected on its own'
expect_shipped
uninstall
expect_no_file "$dir"
rm -rf "$WINEPREFIX/drive_c/WendriftTools"

echo "--- the setup and the uninstaller speak the user's language"
# Read from the running setup: the folder page's caption and button, and its refusal of a folder
# holding other files; under a Language value, or none and a German display language (Wine takes
# it from LC_ALL). Wine resets the fonts' links when the locale changes and keeps its own when it
# changes back: the session's are put back afterwards, and by the next run if this one is killed,
# with the language choice.
mkdir -p "$busy" "$(dirname "$language_undo")"; echo theirs >"$busy/theirs.txt"
fontlink='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
w reg export "$fontlink" "$(winepath -w "$language_undo.reg")" /y
printf '%s\n' "wine reg delete 'HKCU\\Software\\Wendrift' /v Language /f" \
  "wine reg import '$(winepath -w "$language_undo.reg")'" "rm -f '$language_undo.reg'" >"$language_undo"
expect_said() {  # Language value (- for none), display locale (- for the test's), command line,
                 # then the lines the window should say
  if [ "$1" = - ]; then w reg delete 'HKCU\Software\Wendrift' /v Language /f
  else w reg add 'HKCU\Software\Wendrift' /v Language /d "$1" /f; fi
  local what="Language $1, display $2" display=() got; [ "$2" = - ] || display=("LC_ALL=$2")
  printf '%s' "$3" >"$work/line.txt"; rm -f "$work/said.txt"; shift 3
  timeout --kill-after=5 60 env "${display[@]}" wine "$probe" pages "$(winepath -w "$work/line.txt")" \
    "$(winepath -w "$work/said.txt")" >>"$log" 2>&1 </dev/null || fail "$what: the probe failed"
  got=$(cat "$work/said.txt" 2>/dev/null)
  [ "$got" = "$(printf '%s\n' "$@")" ] && pass "$what: $1" || fail "$what: expected $*; said $got"
}
refuse="\"$(winepath -w "$setup")\" /D=C:\\WendriftTools\\Busy"
german=("caption: Installation von Wendrift 1.0.0.1: Zielverzeichnis" "button: &Installieren"
  "message: C:\\WendriftTools\\Busy enthält bereits andere Dateien. Wendrift wird nur in einen neuen oder leeren Ordner oder in den Ordner des installierten Wendrift installiert: Wählen Sie einen anderen Ordner aus.")
expect_said de - "$refuse" "${german[@]}"
expect_said - de_DE.UTF-8 "$refuse" "${german[@]}"
# A tag without texts is English, today's texts, whatever the display language.
expect_said xx-YY de_DE.UTF-8 "$refuse" "caption: Wendrift 1.0.0.1 Setup: Installation Folder" "button: &Install" \
  "message: C:\\WendriftTools\\Busy already holds other files. Wendrift installs only into a new or empty folder, or into the folder of the installed Wendrift: choose another folder."
rm -rf "$WINEPREFIX/drive_c/WendriftTools"
w reg import "$(winepath -w "$language_undo.reg")"
# The uninstaller: its confirmation page, and the note on a folder it keeps, and that folder's list.
dir="$WINEPREFIX/drive_c/Program Files/Wendrift" windir='C:\Program Files\Wendrift'
w "$setup" /S || fail "setup exited with $?"
echo mine >"$dir/notes.txt"
expect_said ja - "\"$windir\\Uninstall.exe\"" "caption: Wendrift 1.0.0.1 アンインストール:確認" \
  "button: アンインストール(&U)" \
  "message: Wendrift を削除しました。C:\\Program Files\\Wendrift は残してあります。Wendrift がインストールしたものではないファイルがあるためです。それらのファイルは、このフォルダーの Wendrift-uninstall.log に記載されています。"
for _ in $(seq 120); do key_exists "$uninstall_key" || break; sleep 0.5; done
check "the kept files' list is headed in Japanese" grep -qF "Wendrift をアンインストールしました。次のファイルは Wendrift のものではないため、残してあります:" \
  <(iconv -f UTF-16 -t UTF-8 "$dir/Wendrift-uninstall.log")
check "the uninstall removed the language choice" test -z "$(value_of 'HKCU\Software\Wendrift' Language)"
rm -rf "$dir" "$language_undo" "$language_undo.reg"

echo "--- a full install drive: the setup stops and the install stays as it was"
# A small tmpfs as drive W:, so full that the library still fits and the configuration program
# does not (needs root: skipped with a message otherwise).
full="$work/full"
if mkdir -p "$full" && mount -t tmpfs -o size=6m wdfull "$full" 2>/dev/null; then
  ln -sfn "$full" "$WINEPREFIX/dosdevices/w:"
  dir="$full/Wendrift" windir='W:\Wendrift'
  w "$setup" /S "/D=$windir" || fail "setup exited with $?"
  w "$helper" "$ext1" 'C:\Wendrift Target\One' || fail "associating $ext1"
  free=$(df -k --output=avail "$full" | tail -n1)
  head -c $(( (free - 2048) * 1024 )) /dev/zero >"$full/filler"
  echo older >>"$dir/Wendrift.dll"
  mkdir -p "$work/before"; cp "$dir"/* "$work/before/"
  w "$setup" /S "/D=$windir"
  check "setup exits 2" test $? -eq 2
  expect_log 'WendriftConfig.exe could not be written to W:\Wendrift (is the disk full?)'
  for name in Wendrift.dll WendriftConfig.exe Uninstall.exe; do same "$dir/$name" "$work/before/$name" "$name as it was"; done
  check "nothing written is left: $(ls "$dir" | tr '\n' ' ')" test "$(ls "$dir" | grep -c '\.new$\|\.old$')" = 0
  expect_value "$server\\InprocServer32" "" "REG_SZ $windir\\Wendrift.dll"
  timeout 60 wine "$shellhost" "$winfiles\\a$ext1" >"$work/menu.txt" 2>&1 </dev/null
  grep -q 'Cop&y To' "$work/menu.txt" && pass "the library it points at works" || fail "no classic menu: $(cat "$work/menu.txt")"
  rm -f "$full/filler"
  uninstall
  rm -f "$WINEPREFIX/dosdevices/w:"
  for _ in $(seq 20); do umount "$full" 2>/dev/null && break; sleep 0.5; done
elif [ -n "${WENDRIFT_REQUIRE_ROOT:-}" ]; then
  fail "a full install drive: this run must run the checks that need root, and could not mount a tmpfs"
else
  echo "skip: a full install drive needs root (a tmpfs mounted as drive W:)"
  skipped=1
fi

if [ "$failures" -ne 0 ]; then
  echo "--- wine output"; cat "$log"
  echo "$failures check(s) failed"
  exit 1
fi
# ctest reports a run with a check skipped as skipped, never as passed.
[ -n "${skipped:-}" ] && exit "${WENDRIFT_SKIP_CODE:-77}"
echo "all installer checks passed"
