; Wendrift setup: installs the shell extension and the configuration program side by side,
; registers the library in the 64-bit registry and adds the Start-menu shortcut and the
; uninstall entry. On Windows 11 it also registers the package that puts "Copy To" and
; "Move To" into the first right-click menu. The build passes LIBRARY, CONFIG_PROGRAM, VERSION,
; OUTFILE, PACKAGE, CERTIFICATE and PACKAGE_DEFINES with -D.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "WinVer.nsh"
; PACKAGE_NAME and PACKAGE_FAMILY, derived from the signing certificate.
!include "${PACKAGE_DEFINES}"

!ifndef VERSION
  !error "VERSION must be defined"
!endif

!define PRODUCT "Wendrift"
!define PUBLISHER "The Wendrift authors"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Wendrift"
!define STORE_KEY "Software\Wendrift\Extensions"
!define PROGID "Wendrift.ShellCallback.1"
!define SHORTCUT_DIR "$SMPROGRAMS\Wendrift"
!define SHORTCUT "${SHORTCUT_DIR}\Wendrift Configuration.lnk"
; Windows 11's first right-click menu: the package, its certificate, the script that registers
; it, the Active Setup entry that registers it for the other users, and the setup log.
!define FIRST_WINDOWS_11_BUILD 22000
!define ACTIVE_SETUP_KEY "Software\Microsoft\Active Setup\Installed Components\{9294691A-26A1-45AB-8DF0-74A655584D53}"
!searchreplace ACTIVE_SETUP_VERSION "${VERSION}" "." ","
!define POWERSHELL '"$SYSDIR\WindowsPowerShell\v1.0\powershell.exe" -NoProfile -NonInteractive -ExecutionPolicy Bypass'
!define PACKAGE_SCRIPT "$INSTDIR\WendriftPackage.ps1"
!define SETUP_LOG "$INSTDIR\Wendrift-setup.log"

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

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Wendrift"
  SetOutPath "$INSTDIR"
  File "${LIBRARY}"
  File "${CONFIG_PROGRAM}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; DllRegisterServer, in this 64-bit process: the server keys land in the 64-bit view.
  ClearErrors
  RegDLL "$INSTDIR\Wendrift.dll"
  ${If} ${Errors}
    MessageBox MB_ICONSTOP "Wendrift.dll could not be registered." /SD IDOK
    SetErrorLevel 3
    Abort
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
  FileOpen $Log "${SETUP_LOG}" w
  ${WinVerGetBuild} $0
  ${If} ${AtLeastBuild} ${FIRST_WINDOWS_11_BUILD}
    !insertmacro Log "Windows build $0: registering ${PACKAGE_FAMILY} for the first right-click menu"
    Call RegisterPackage
  ${Else}
    !insertmacro Log "Windows build $0: no Windows 11 menu to register for; the classic menu only"
  ${EndIf}
  FileClose $Log
SectionEnd

; $0 = 1 when the certificate was added to the machine's TrustedPeople store, which lets
; Windows accept the package's signature. crypt32 directly: its answer is the real one.
Function TrustCertificate
  StrCpy $0 0
  System::Call 'crypt32::CertOpenStore(p 10, i 0, p 0, i 0x20000, w "TrustedPeople") p .r2'
  ${If} $2 P<> 0
    System::Call 'crypt32::CryptQueryObject(i 1, w "$INSTDIR\Wendrift.cer", i 2, i 2, i 0, p 0, p 0, p 0, p 0, p 0, *p .r3) i .r4'
    ${If} $4 <> 0
      System::Call 'crypt32::CertAddCertificateContextToStore(p r2, p r3, i 3, p 0) i .r0'
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

Function RegisterPackage
  SetOutPath "$INSTDIR"
  File "${PACKAGE}"
  File "${CERTIFICATE}"
  File "/oname=WendriftPackage.ps1" "${__FILEDIR__}\WendriftPackage.ps1"
  Call TrustCertificate
  ${If} $0 <> 1
    !insertmacro Log "The certificate could not be trusted: the package is not registered"
    Return
  ${EndIf}
  !insertmacro Log "Certificate trusted for packages (TrustedPeople)"
  nsExec::ExecToLog '${POWERSHELL} -File "${PACKAGE_SCRIPT}" register'
  Pop $1
  Call PackageRegistered
  ${If} $0 == 1
    !insertmacro Log "Package registered for this user: Copy To and Move To are in the first right-click menu from Explorer's next start"
    WriteRegStr HKCU "${ACTIVE_SETUP_KEY}" "Version" "${ACTIVE_SETUP_VERSION}"
  ${Else}
    !insertmacro Log "Package registration failed (PowerShell: $1; Windows lists no ${PACKAGE_FAMILY} for this user): the classic menu stays, under Show more options"
  ${EndIf}
  ; Every other user (and this one, if it failed) at their next logon.
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "" "Wendrift"
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "Version" "${ACTIVE_SETUP_VERSION}"
  WriteRegDWORD HKLM "${ACTIVE_SETUP_KEY}" "IsInstalled" 1
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "StubPath" '${POWERSHELL} -WindowStyle Hidden -File "${PACKAGE_SCRIPT}" register'
  !insertmacro Log "Other users: registered at their next logon (Active Setup)"
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

; The package for every user Windows lets us reach, the certificate's trust and Active Setup.
Function un.RemovePackage
  nsExec::ExecToLog '${POWERSHELL} -File "${PACKAGE_SCRIPT}" unregister ${PACKAGE_NAME}'
  Pop $1
  DetailPrint "Package removal for every user: PowerShell answered $1"
  System::Call 'crypt32::CertOpenStore(p 10, i 0, p 0, i 0x20000, w "TrustedPeople") p .r2'
  ${If} $2 P<> 0
    System::Call 'crypt32::CryptQueryObject(i 1, w "$INSTDIR\Wendrift.cer", i 2, i 2, i 0, p 0, p 0, p 0, p 0, p 0, *p .r3) i .r4'
    ${If} $4 <> 0
      System::Call 'crypt32::CertFindCertificateInStore(p r2, i 0x10001, i 0, i 0xD0000, p r3, p 0) p .r5'
      ${If} $5 P<> 0
        System::Call 'crypt32::CertDeleteCertificateFromStore(p r5) i .r0'
        DetailPrint "Certificate trust removed: $0"
      ${EndIf}
      System::Call 'crypt32::CertFreeCertificateContext(p r3)'
    ${EndIf}
    ; Written out now: Wine, for one, keeps a deletion until the store is committed.
    System::Call 'crypt32::CertControlStore(p r2, i 0, i 1, p 0)'
    System::Call 'crypt32::CertCloseStore(p r2, i 0)'
  ${EndIf}
  DeleteRegKey HKLM "${ACTIVE_SETUP_KEY}"
  DeleteRegKey HKCU "${ACTIVE_SETUP_KEY}"
FunctionEnd

Section "Uninstall"
  ${If} ${FileExists} "$INSTDIR\Wendrift.msix"
    Call un.RemovePackage
  ${EndIf}
  Call un.CollectStoredExtensions
  ; The library's own Uninstall first: every association and every per-file-type hook goes.
  System::Call '"$INSTDIR\Wendrift.dll"::Uninstall() i .r0 ?u'
  DetailPrint "Associations removed: $0"
  Call un.ReleaseOwnFileTypes
  ; Then DllUnregisterServer: the server keys and our ProgID.
  UnRegDLL "$INSTDIR\Wendrift.dll"

  ; A shell that still has the library loaded keeps the file until the next restart.
  Delete /REBOOTOK "$INSTDIR\Wendrift.dll"
  Delete /REBOOTOK "$INSTDIR\WendriftConfig.exe"
  Delete "$INSTDIR\Wendrift.msix"
  Delete "$INSTDIR\Wendrift.cer"
  Delete "${PACKAGE_SCRIPT}"
  Delete "${SETUP_LOG}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"
  Delete "${SHORTCUT}"
  RMDir "${SHORTCUT_DIR}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
