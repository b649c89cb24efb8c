; Wendrift setup: installs the shell extension and the configuration program side by side,
; registers the library in the 64-bit registry and adds the Start-menu shortcut and the
; uninstall entry. The build passes LIBRARY, CONFIG_PROGRAM, VERSION and OUTFILE with -D.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "FileFunc.nsh"
!include "LogicLib.nsh"

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
SectionEnd

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

Section "Uninstall"
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
  Delete "$INSTDIR\Uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"
  Delete "${SHORTCUT}"
  RMDir "${SHORTCUT_DIR}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
