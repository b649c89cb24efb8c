; Wendrift setup: installs the shell extension and the configuration program side by side,
; registers the library in the 64-bit registry and adds the Start-menu shortcut and the
; uninstall entry. On Windows 11 it also registers the package that puts "Copy To" and
; "Move To" into the first right-click menu. The build passes LIBRARY, CONFIG_PROGRAM (both
; signed), VERSION, OUTFILE, PACKAGE, ASSETS, CERTIFICATE, PACKAGE_DEFINES, IDS_DEFINES
; and SIGNING with -D.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "WinVer.nsh"
!include "WordFunc.nsh"
; PACKAGE_NAME and PACKAGE_FAMILY, derived from the signing certificate, and
; CERTIFICATE_SELF_SIGNED when nobody but the machine that trusts it vouches for it.
!include "${PACKAGE_DEFINES}"
; PROGID, STORE_KEY and the class ids, written once for the library and the setup.
!include "${IDS_DEFINES}"

!ifndef VERSION
  !error "VERSION must be defined"
!endif
!ifndef SIGNING
  !error "SIGNING must name the signing script"
!endif

; Every program this setup brings is signed with the package's certificate: the uninstaller
; before it is packed in, the setup once it is written.
!uninstfinalize '"${SIGNING}" sign "%1" "%1"' = 0
!finalize '"${SIGNING}" sign "%1" "%1"' = 0

!define PRODUCT "Wendrift"
!define PUBLISHER "The Wendrift authors"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Wendrift"
!define SHORTCUT_DIR "$SMPROGRAMS\Wendrift"
!define SHORTCUT "${SHORTCUT_DIR}\Wendrift Configuration.lnk"
; Windows 11's first right-click menu: the package, its certificate, the Active Setup entry
; that registers it for the other users, and the setup log.
!define FIRST_WINDOWS_11_BUILD 22000
!define ACTIVE_SETUP_KEY "Software\Microsoft\Active Setup\Installed Components\{9294691A-26A1-45AB-8DF0-74A655584D53}"
; The subjects of the certificates installs trusted (value names), for the uninstaller.
!define TRUST_KEY "Software\Wendrift\TrustedCertificateSubjects"
!define SETUP_LOG "$INSTDIR\Wendrift-setup.log"
; The cmdlets are handed over as a command, not a script file: an execution policy set by Group
; Policy can block script files whatever -ExecutionPolicy says, but not commands.
!define POWERSHELL '"$SYSDIR\WindowsPowerShell\v1.0\powershell.exe" -NoProfile -NonInteractive -ExecutionPolicy Bypass'
; For the user who runs it, with $d the install folder: any Wendrift.Shell of another publisher
; (an earlier key) goes first, so that Explorer never lists two, and so does this version of
; ours, which Windows refuses to register again with new content.
!define REGISTER_PACKAGE "$$ErrorActionPreference = 'Stop'; Get-AppxPackage -Name '${PACKAGE_NAME}' | Where-Object { $$_.PackageFamilyName -ne '${PACKAGE_FAMILY}' -or $$_.Version -eq '${VERSION}' } | Remove-AppxPackage; Add-AppxPackage -Path (Join-Path $$d 'Wendrift.msix') -ExternalLocation $$d -ForceUpdateFromAnyVersion"
; For every user: each Wendrift.Shell any install of ours registered, whichever key signed it.
!define UNREGISTER_PACKAGE "$$ErrorActionPreference = 'Stop'; Get-AppxPackage -AllUsers -Name '${PACKAGE_NAME}' | Remove-AppxPackage -AllUsers"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Wendrift"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Var Log

; A line of the setup log, which stays in the install folder, and of the details window.
!macro Log text
  DetailPrint "${text}"
  FileWrite $Log "${text}$\r$\n"
!macroend

; Stops the setup with a message and an exit code, leaving what is installed as it is.
!macro FailWith code text
  !insertmacro Log "${text}"
  FileClose $Log
  MessageBox MB_ICONSTOP "${text}" /SD IDOK
  SetErrorLevel ${code}
  Abort
!macroend
!define Fail "!insertmacro FailWith 2"

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

; A file that a running process has loaded (the library in every file manager that showed the
; menu, the configuration program while it is open) can be neither overwritten nor deleted,
; but it can be renamed within its folder, and the process keeps running from it. $R9 names
; the file in the install folder: it goes aside as "<name>.<n>.old" and is deleted at once,
; or, while still in use, at the next restart (and by the next setup or uninstall).
!macro MoveAsideFunction un
  Function ${un}MoveAside
    ${IfNot} ${FileExists} "$INSTDIR\$R9"
      Return
    ${EndIf}
    StrCpy $R8 1
    ${While} ${FileExists} "$INSTDIR\$R9.$R8.old"
      IntOp $R8 $R8 + 1
    ${EndWhile}
    ClearErrors
    Rename "$INSTDIR\$R9" "$INSTDIR\$R9.$R8.old"
    ${IfNot} ${Errors}
      Delete /REBOOTOK "$INSTDIR\$R9.$R8.old"
      ${If} ${FileExists} "$INSTDIR\$R9.$R8.old"
        DetailPrint "$R9 is in use: moved aside as $R9.$R8.old, deleted at the next restart"
      ${EndIf}
    ${EndIf}
  FunctionEnd

  ; What earlier setups moved aside and nothing uses any more.
  Function ${un}RemoveLeftovers
    FindFirst $R8 $R9 "$INSTDIR\Wendrift*.*.old"
    ${DoWhile} $R9 != ""
      Delete "$INSTDIR\$R9"
      FindNext $R8 $R9
    ${Loop}
    FindClose $R8
  FunctionEnd
!macroend
!insertmacro MoveAsideFunction ""
!insertmacro MoveAsideFunction "un."

; The new file, whatever runs the old one; never an Abort/Retry box, never the old file kept.
!macro InstallFile name source
  StrCpy $R9 "${name}"
  Call MoveAside
  SetOverwrite try
  ClearErrors
  File "/oname=${name}" "${source}"
  SetOverwrite on
  ${If} ${Errors}
    ${Fail} "${name} is in use and could not be replaced. Close the programs that use it (or restart Windows) and run the setup again."
  ${EndIf}
!macroend

; Outside the program folders (a /D folder of the user's choice) the folder would inherit
; whatever its parent allows, often that every user may write. Every file manager loads the
; library from here and this setup runs the files elevated, so the folder gets what the program
; folders give: administrators and the system may write, users read and run. The owner
; becomes the administrators, so that a user who made the folder cannot grant it back.
; $0 = 1 when the folder is outside them and now protected.
Function ProtectInstallFolder
  StrCpy $0 0
  ${ForEach} $1 0 1 + 1
    ${If} $1 == 0
      StrCpy $2 "$PROGRAMFILES64\"
    ${Else}
      StrCpy $2 "$PROGRAMFILES32\"
    ${EndIf}
    StrLen $3 $2
    StrCpy $3 "$INSTDIR" $3
    ${If} $3 == $2  ; case-insensitive, as paths are
      Return
    ${EndIf}
  ${Next}
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "O:BAD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)", i 1, *p .r4, p 0) i .r5'
  ${If} $5 == 0
    ${Fail} "The protection for $INSTDIR could not be prepared: Wendrift is not installed there."
  ${EndIf}
  ; A new folder is made with it, so that it is never open to users, not even for a moment.
  ${GetParent} "$INSTDIR" $6
  CreateDirectory $6
  System::Call '*(i 24, i 0, p r4, i 0, i 0) p .r6'
  System::Call 'kernel32::CreateDirectoryW(w "$INSTDIR", p r6) i'
  System::Free $6
  ; One that was there already gets it now. SE_FILE_OBJECT; owner, DACL, protected.
  System::Call 'advapi32::GetSecurityDescriptorOwner(p r4, *p .r6, *i .r7) i'
  System::Call 'advapi32::GetSecurityDescriptorDacl(p r4, *i .r7, *p .r8, *i .r9) i'
  System::Call 'advapi32::SetNamedSecurityInfoW(w "$INSTDIR", i 1, i 0x80000005, p r6, p 0, p r8, p 0) i .r5'
  System::Call 'kernel32::LocalFree(p r4)'
  ${If} $5 <> 0
    ${Fail} "The folder $INSTDIR could not be protected (error $5): Wendrift is not installed there."
  ${EndIf}
  StrCpy $0 1
FunctionEnd

Section "Wendrift"
  Call ProtectInstallFolder
  SetOutPath "$INSTDIR"
  FileOpen $Log "${SETUP_LOG}" w
  ${If} $0 == 1
    !insertmacro Log "$INSTDIR is outside the program folders: only administrators and the system may write to it"
  ${EndIf}
  Call RemoveLeftovers
  !insertmacro InstallFile "Wendrift.dll" "${LIBRARY}"
  !insertmacro InstallFile "WendriftConfig.exe" "${CONFIG_PROGRAM}"
  ; Earlier versions ran the registration from a script file.
  Delete "$INSTDIR\WendriftPackage.ps1"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; DllRegisterServer, in this 64-bit process: the server keys land in the 64-bit view.
  ClearErrors
  RegDLL "$INSTDIR\Wendrift.dll"
  ${If} ${Errors}
    !insertmacro FailWith 3 "Wendrift.dll could not be registered."
  ${EndIf}

  CreateDirectory "${SHORTCUT_DIR}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\WendriftConfig.exe"

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\WendriftConfig.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; Whatever happens here, the classic install above stands.
  ${WinVerGetBuild} $0
  ${If} ${AtLeastBuild} ${FIRST_WINDOWS_11_BUILD}
    !insertmacro Log "Windows build $0: registering ${PACKAGE_FAMILY} for the first right-click menu"
    Call RegisterPackage
  ${Else}
    !insertmacro Log "Windows build $0: no Windows 11 menu to register for; the classic menu only"
  ${EndIf}
  FileClose $Log
SectionEnd

; $0 = the subject of the certificate context on the stack as Windows writes it (for example
; "CN=Wendrift, O=The Wendrift authors": CERT_X500_NAME_STR, the last attribute first).
!macro SubjectOfContextFunction un
  Function ${un}SubjectOfContext
    Exch $R0
    System::Call 'crypt32::CertGetNameStringW(p R0, i 2, i 0, *i 0x02000003, w .r0, i ${NSIS_MAX_STRLEN})'
    Pop $R0
  FunctionEnd
!macroend
!insertmacro SubjectOfContextFunction ""
!insertmacro SubjectOfContextFunction "un."

; $0 = the subject of the certificate in the file $1, empty when the file holds none.
Function CertificateSubject
  StrCpy $0 ""
  System::Call 'crypt32::CryptQueryObject(i 1, w r1, i 2, i 2, i 0, p 0, p 0, p 0, p 0, p 0, *p .r3) i .r4'
  ${If} $4 <> 0
    Push $3
    Call SubjectOfContext
    System::Call 'crypt32::CertFreeCertificateContext(p r3)'
  ${EndIf}
FunctionEnd

; $0 = 1 when the package's certificate was added to the machine's TrustedPeople store, which
; lets Windows accept the package's signature. crypt32 directly: its answer is the real one.
; Its subject is recorded for the uninstaller, which removes every certificate it names.
Function TrustCertificate
  StrCpy $0 0
  System::Call 'crypt32::CertOpenStore(p 10, i 0, p 0, i 0x20000, w "TrustedPeople") p .r2'
  ${If} $2 P<> 0
    System::Call 'crypt32::CryptQueryObject(i 1, w "$INSTDIR\Wendrift.cer", i 2, i 2, i 0, p 0, p 0, p 0, p 0, p 0, *p .r3) i .r4'
    ${If} $4 <> 0
      System::Call 'crypt32::CertAddCertificateContextToStore(p r2, p r3, i 3, p 0) i .r5'
      Push $3
      Call SubjectOfContext
      ${If} $5 <> 0
      ${AndIf} $0 != ""
        WriteRegDWORD HKLM "${TRUST_KEY}" "$0" 1
        StrCpy $0 1
      ${Else}
        StrCpy $0 0
      ${EndIf}
      System::Call 'crypt32::CertFreeCertificateContext(p r3)'
    ${EndIf}
    System::Call 'crypt32::CertCloseStore(p r2, i 0)'
  ${EndIf}
FunctionEnd

; $0 = 1 when Windows lists the package family for this user, the same question the library
; asks: PowerShell's exit code alone proves nothing (where it is missing or a stub, 0 too).
Function PackageRegistered
  StrCpy $0 0
  System::Call 'kernel32::GetPackagesByPackageFamily(w "${PACKAGE_FAMILY}", *i 0 r5, p 0, *i 0 r6, p 0) i .r4'
  ${If} $4 == 122  ; ERROR_INSUFFICIENT_BUFFER: there are packages, and r5 counts them
  ${OrIf} $4 == 0
    ${If} $5 > 0
      StrCpy $0 1
    ${EndIf}
  ${EndIf}
FunctionEnd

; $0 = this install's Active Setup version: the time now (UTC) as year, month * 100 + day,
; hour * 100 + minute and second, each part within the 16 bits Active Setup reads. A later
; install's is greater, so that every user, including those whose marker an earlier install
; of the same version left, registers the package again at the next logon. Never at or
; below the version installed (the same second, a clock set back): then that one, its last
; part raised.
Function ActiveSetupVersion
  System::Call '*(&i16) p .r9'
  System::Call 'kernel32::GetSystemTime(p r9)'
  System::Call '*$9(&i2 .r1, &i2 .r2, &i2, &i2 .r3, &i2 .r4, &i2 .r5, &i2 .r6, &i2)'
  System::Free $9
  IntOp $2 $2 * 100
  IntOp $2 $2 + $3
  IntOp $4 $4 * 100
  IntOp $4 $4 + $5
  StrCpy $0 "$1,$2,$4,$6"
  ReadRegStr $7 HKLM "${ACTIVE_SETUP_KEY}" "Version"
  ${If} $7 == ""
    Return
  ${EndIf}
  ${WordReplace} "$0" "," "." "+" $8
  ${WordReplace} "$7" "," "." "+" $9
  ${VersionCompare} "$8" "$9" $8
  ${If} $8 != 1
    StrLen $8 $7
    ${Do}
      IntOp $8 $8 - 1
      StrCpy $9 $7 1 $8
      ${IfThen} $9 == "," ${|} ${ExitDo} ${|}
    ${LoopWhile} $8 > 0
    StrCpy $9 $7 $8
    IntOp $8 $8 + 1
    StrCpy $8 $7 "" $8
    IntOp $8 $8 + 1
    StrCpy $0 "$9,$8"
  ${EndIf}
FunctionEnd

Function RegisterPackage
  ; Certificates that earlier versions trusted without a record.
  StrCpy $1 "$INSTDIR\Wendrift.cer"
  Call CertificateSubject
  ${If} $0 != ""
    WriteRegDWORD HKLM "${TRUST_KEY}" "$0" 1
  ${EndIf}
  SetOutPath "$INSTDIR"
  File "${PACKAGE}"
  ; Windows looks for a sparse package's logos in its external location.
  SetOutPath "$INSTDIR\Assets"
  File "${ASSETS}\*.png"
  SetOutPath "$INSTDIR"
!ifdef CERTIFICATE_SELF_SIGNED
  File "${CERTIFICATE}"
  Call TrustCertificate
  ${If} $0 <> 1
    !insertmacro Log "The certificate could not be trusted: the package is not registered"
    Return
  ${EndIf}
  !insertmacro Log "Self-signed certificate trusted for packages (TrustedPeople)"
!else
  Delete "$INSTDIR\Wendrift.cer"
  !insertmacro Log "The package's certificate comes from a certificate authority: nothing to trust"
!endif
  Call ActiveSetupVersion
  StrCpy $R2 $0
  ; The install folder inside single quotes, as PowerShell reads them.
  ${WordReplace} "$INSTDIR" "'" "''" "+" $R1
  StrCpy $R1 `${POWERSHELL} -WindowStyle Hidden -Command "$$d = '$R1'; ${REGISTER_PACKAGE}"`
  nsExec::ExecToLog $R1
  Pop $1
  Call PackageRegistered
  ${If} $0 == 1
  ${AndIf} $1 == 0
    !insertmacro Log "Package registered for this user: Copy To and Move To are in the first right-click menu from Explorer's next start"
    WriteRegStr HKCU "${ACTIVE_SETUP_KEY}" "Version" "$R2"
  ${Else}
    !insertmacro Log "Package registration failed (PowerShell answered $1; ${PACKAGE_FAMILY} listed for this user: $0): the classic menu stays, under Show more options"
  ${EndIf}
  ; Every other user (and this one, if it failed) at their next logon.
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "" "Wendrift"
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "Version" "$R2"
  WriteRegDWORD HKLM "${ACTIVE_SETUP_KEY}" "IsInstalled" 1
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "StubPath" $R1
  !insertmacro Log "Other users: registered at their next logon (Active Setup version $R2)"
FunctionEnd

; Extensions that had no file type were given our ProgID as theirs; once the ProgID is gone
; that would point at nothing. For each extension of this user's store (read before the
; library's Uninstall empties it), $R0 collects the names, separated by "|".
Function un.CollectStoredExtensions
  StrCpy $R0 ""
  StrCpy $R1 0
  ${Do}
    EnumRegKey $R2 HKCU "${STORE_KEY}" $R1
    ${IfThen} $R2 == "" ${|} ${ExitDo} ${|}
    StrCpy $R0 "$R0$R2|"
    IntOp $R1 $R1 + 1
  ${Loop}
FunctionEnd

Function un.ReleaseOwnFileTypes
  ${Do}
    ${IfThen} $R0 == "" ${|} ${ExitDo} ${|}
    ; Split off the first name.
    StrCpy $R1 0
    ${Do}
      StrCpy $R2 $R0 1 $R1
      ${IfThen} $R2 == "|" ${|} ${ExitDo} ${|}
      IntOp $R1 $R1 + 1
    ${Loop}
    StrCpy $R2 $R0 $R1
    IntOp $R1 $R1 + 1
    StrCpy $R0 $R0 "" $R1
    ; Only our own ProgID is taken back, and only keys left empty go.
    ReadRegStr $R3 HKCR "$R2" ""
    ${If} $R3 == "${PROGID}"
      DeleteRegValue HKCR "$R2" ""
      DeleteRegKey /ifnosubkeys /ifnovalues HKCR "$R2\CLSID"
      DeleteRegKey /ifnosubkeys /ifnovalues HKCR "$R2"
    ${EndIf}
  ${Loop}
FunctionEnd

; Every certificate in TrustedPeople whose subject an install recorded: each build of an
; earlier version may have trusted a key of its own under the same subject.
Function un.RemoveTrust
  System::Call 'crypt32::CertOpenStore(p 10, i 0, p 0, i 0x20000, w "TrustedPeople") p .r2'
  ${If} $2 P<> 0
    ${Do}
      ; The first certificate of a recorded subject, found afresh each time: a deletion in
      ; the middle of an enumeration sends Wine's round and round.
      StrCpy $3 0
      ${Do}
        System::Call 'crypt32::CertEnumCertificatesInStore(p r2, p r3) p .r3'
        ${IfThen} $3 P= 0 ${|} ${ExitDo} ${|}
        Push $3
        Call un.SubjectOfContext
        ClearErrors
        ReadRegDWORD $4 HKLM "${TRUST_KEY}" "$0"
        ${IfThen} ${Errors} ${|} ${Continue} ${|}
        ${ExitDo}
      ${Loop}
      ${IfThen} $3 P= 0 ${|} ${ExitDo} ${|}
      System::Call 'crypt32::CertDeleteCertificateFromStore(p r3) i .r4'  ; frees the context
      DetailPrint "Certificate trust removed ($0): $4"
      ${IfThen} $4 == 0 ${|} ${ExitDo} ${|}
    ${Loop}
    ; Written out now: Wine, for one, keeps a deletion until the store is committed.
    System::Call 'crypt32::CertControlStore(p r2, i 0, i 1, p 0)'
    System::Call 'crypt32::CertCloseStore(p r2, i 0)'
  ${EndIf}
  DeleteRegKey HKLM "${TRUST_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Wendrift"
FunctionEnd

; The package for every user Windows lets us reach, and Active Setup.
Function un.RemovePackage
  nsExec::ExecToLog `${POWERSHELL} -Command "${UNREGISTER_PACKAGE}"`
  Pop $1
  DetailPrint "Package removal for every user: PowerShell answered $1"
  DeleteRegKey HKLM "${ACTIVE_SETUP_KEY}"
  DeleteRegKey HKCU "${ACTIVE_SETUP_KEY}"
FunctionEnd

; Aside first, as the setup does: deleting a file in use only at the next restart would take
; a file of the same name that a new install writes before then.
!macro RemoveFile name
  StrCpy $R9 "${name}"
  Call un.MoveAside
!macroend

Section "Uninstall"
  ${If} ${FileExists} "$INSTDIR\Wendrift.msix"
    Call un.RemovePackage
  ${EndIf}
  Call un.RemoveTrust
  Call un.CollectStoredExtensions
  ; The library's own Uninstall first: every association and every per-file-type hook goes.
  System::Call '"$INSTDIR\Wendrift.dll"::Uninstall() i .r0 ?u'
  DetailPrint "Associations removed: $0"
  Call un.ReleaseOwnFileTypes
  ; Then DllUnregisterServer: the server keys and our ProgID.
  UnRegDLL "$INSTDIR\Wendrift.dll"

  Call un.RemoveLeftovers
  !insertmacro RemoveFile "Wendrift.dll"
  !insertmacro RemoveFile "WendriftConfig.exe"
  Delete "$INSTDIR\Wendrift.msix"
  Delete "$INSTDIR\Wendrift.cer"
  Delete "$INSTDIR\Assets\*.png"
  RMDir "$INSTDIR\Assets"
  Delete "$INSTDIR\WendriftPackage.ps1"
  Delete "${SETUP_LOG}"
  Delete "$INSTDIR\Uninstall.exe"
  ; Still there while a moved-aside file is in use: then at the next restart, after it.
  RMDir /REBOOTOK "$INSTDIR"
  Delete "${SHORTCUT}"
  RMDir "${SHORTCUT_DIR}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
