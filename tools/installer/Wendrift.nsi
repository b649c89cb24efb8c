; Wendrift setup: installs the shell extension and the configuration program side by side,
; registers the library in the 64-bit registry and adds the Start-menu shortcut and the
; uninstall entry. On Windows 11 it also registers the packages that put "Copy To" and
; "Move To" into the first right-click menu, one package per entry. It carries the programs and
; packages for x64 and for ARM64 and installs those of the machine's own architecture: the file
; manager of Windows on ARM is an ARM64 process and loads ARM64 libraries only. The build passes
; LIBRARY, CONFIG_PROGRAM, ARM64_LIBRARY, ARM64_CONFIG_PROGRAM (all signed), VERSION, OUTFILE,
; PACKAGE_DIR (the x64 packages, the ARM64 ones in its arm64 folder), CERTIFICATE,
; PACKAGE_DEFINES, IDS_DEFINES and SIGNING with -D; ARCHITECTURE_SEAM only for the test's setup.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "WinVer.nsh"
!include "WordFunc.nsh"
; ForEachPackage, ForEachLogo, PACKAGE_NAMES and PACKAGE_PUBLISHER_ID from the build's package
; list and signing certificate; CERTIFICATE_SELF_SIGNED when nobody but the machine that
; trusts it vouches for it, and CERTIFICATE_THUMBPRINT.
!include "${PACKAGE_DEFINES}"
; PROGID, SETTINGS_KEY, STORE_KEY and the class ids, written once for the library and the setup.
!include "${IDS_DEFINES}"

!ifndef VERSION
  !error "VERSION must be defined"
!endif
!ifndef SIGNING
  !error "SIGNING must name the signing script"
!endif
!ifndef ARM64_LIBRARY
  !error "ARM64_LIBRARY must name the ARM64 library"
!endif
!ifndef ARM64_CONFIG_PROGRAM
  !error "ARM64_CONFIG_PROGRAM must name the ARM64 configuration program"
!endif

; Every program this setup brings is signed with the packages' certificate: the uninstaller
; before it is packed in, the setup once it is written.
!uninstfinalize '"${SIGNING}" sign "%1" "%1"' = 0
!finalize '"${SIGNING}" sign "%1" "%1"' = 0

!define PRODUCT "Wendrift"
!define PUBLISHER "The Wendrift authors"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Wendrift"
!define SHORTCUT_DIR "$SMPROGRAMS\Wendrift"
!define SHORTCUT "${SHORTCUT_DIR}\Wendrift Configuration.lnk"
!define SETUP_LOG "Wendrift-setup.log"
!define UNINSTALL_LOG "Wendrift-uninstall.log"
; Owner the administrators; they and the system may write, users read and run; nothing
; inherited from the parent folder. For the install folder and each file the setup writes there
; when the folder lies outside the program folders.
!define PROTECTED "O:BAD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)"
; Windows 11's first right-click menu: the Active Setup entry that registers the packages for
; the other users, and the certificates this setup added to TrustedPeople (value names: their
; SHA-1 thumbprints), which the uninstaller removes.
!define FIRST_WINDOWS_11_BUILD 22000
!define ACTIVE_SETUP_KEY "Software\Microsoft\Active Setup\Installed Components\{9294691A-26A1-45AB-8DF0-74A655584D53}"
!define TRUST_KEY "${SETTINGS_KEY}\TrustedCertificates"
; What setups before one package per entry left: one package with both verbs, its file, and
; the subjects (not the thumbprints) of the certificates they trusted.
!define LEGACY_PACKAGE "Wendrift.Shell"
!define LEGACY_TRUST_KEY "${SETTINGS_KEY}\TrustedCertificateSubjects"
; The cmdlets are handed over as a command, not a script file: an execution policy set by Group
; Policy can block script files whatever -ExecutionPolicy says, but not commands. The commands
; carry no data: the install folder, which may hold any of PowerShell's quote characters, is
; read from the uninstall entry.
!define POWERSHELL '"$SYSDIR\WindowsPowerShell\v1.0\powershell.exe" -NoProfile -NonInteractive -ExecutionPolicy Bypass -WindowStyle Hidden'
; For the user who runs it: the one package of earlier setups goes, so that its entry never
; stands beside the new ones (when it cannot go, nothing new is added); then for each package,
; any of another publisher (an earlier key), of this version of ours (which Windows refuses to
; register again with new content) and of another architecture go and it is added. Exit code 1
; when any step failed. $Architecture is the setup's own word (x64 or arm64, which PowerShell
; reads as its architecture names whatever their case), no data.
!define REGISTER_PACKAGES "$$ErrorActionPreference = 'Stop'; $$f = 0; $$d = Get-ItemPropertyValue -LiteralPath 'HKLM:\${UNINSTALL_KEY}' -Name InstallLocation; Get-AppxPackage -Name '${LEGACY_PACKAGE}' | Remove-AppxPackage; foreach ($$p in ${PACKAGE_NAMES}) { try { Get-AppxPackage -Name $$p | Where-Object { $$_.PublisherId -ne '${PACKAGE_PUBLISHER_ID}' -or $$_.Version -eq '${VERSION}' -or $$_.Architecture -ne '$Architecture' } | Remove-AppxPackage; Add-AppxPackage -Path (Join-Path $$d ($$p + '.msix')) -ExternalLocation $$d -ForceUpdateFromAnyVersion } catch { $$f = 1 } }; exit $$f"
; For every user: each package any install of ours registered, whichever key signed it.
!define UNREGISTER_PACKAGES "foreach ($$p in ${PACKAGE_NAMES}, '${LEGACY_PACKAGE}') { Get-AppxPackage -AllUsers -Name $$p | Remove-AppxPackage -AllUsers }"

; Every text the setup and the uninstaller show, in the languages of the programs: one file per
; language beside theirs, each with the page and button texts NSIS brings for it. English first:
; the default.
!addincludedir "${__FILEDIR__}\..\..\texts\setup"
!include /CHARSET=UTF8 "en.nsh"
!include /CHARSET=UTF8 "de.nsh"
!include /CHARSET=UTF8 "es.nsh"
!include /CHARSET=UTF8 "fr.nsh"
!include /CHARSET=UTF8 "it.nsh"
!include /CHARSET=UTF8 "pt-BR.nsh"
!include /CHARSET=UTF8 "ru.nsh"
!include /CHARSET=UTF8 "ja.nsh"
!include /CHARSET=UTF8 "ko.nsh"
!include /CHARSET=UTF8 "zh-CN.nsh"

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

Page directory "" "" LeaveDirectoryPage
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Var Log
Var List          ; a "|"-separated list that PopField takes apart
Var Field
Var Staged        ; the files written under "<name>.new", not yet in place
Var Swapped       ; "<name>|<the old file's name aside, or nothing>|" for each file put in place
Var FolderState   ; new, empty, installed or refused (ClassifyInstallFolder)
Var ProtectFiles  ; 1: each file written gets the protected owner and access list
Var Failed        ; 1 when MoveAside could not rename
Var Protection    ; that security descriptor
Var Architecture  ; x64 or arm64: the programs and packages this machine's file manager loads
Var NativeMachine ; the machine Windows reports, IMAGE_FILE_MACHINE_*
Var Registrar     ; the native regsvr32, which loads a library of the machine's architecture

; A line of the setup log (UTF-16, so that it shows every folder name as it is), which stays in
; the install folder, and of the details window.
!macro Log text
  DetailPrint "${text}"
  FileWriteUTF16LE $Log "${text}$\r$\n"
!macroend

; Stops the setup with the message of LangString `id` and an exit code. The log, which is for
; support, names the message and quotes it as the user read it.
!macro FailWith code id
  !insertmacro Log "Stopped (${id}): $(${id})"
  FileClose $Log
  MessageBox MB_ICONSTOP "$(${id})" /SD IDOK
  SetErrorLevel ${code}
  Abort
!macroend
!define Fail "!insertmacro FailWith 2"

; Every file the setup may write, by its name in the install folder: ${CALLBACK} NAME.
!macro ForEachInstalledFile CALLBACK
  !define /redef INSTALLED_FILE_CALLBACK ${CALLBACK}
  !insertmacro ${CALLBACK} "Wendrift.dll"
  !insertmacro ${CALLBACK} "WendriftConfig.exe"
  !insertmacro ${CALLBACK} "Uninstall.exe"
  !insertmacro ${CALLBACK} "Wendrift.cer"
  !insertmacro ${CALLBACK} "${SETUP_LOG}"
  !insertmacro ForEachPackage _InstalledPackageFile
  !insertmacro ForEachLogo _InstalledLogo
!macroend
!macro _InstalledPackageFile NAME
  !insertmacro ${INSTALLED_FILE_CALLBACK} "${NAME}.msix"
!macroend
!macro _InstalledLogo NAME
  !insertmacro ${INSTALLED_FILE_CALLBACK} "Assets\${NAME}"
!macroend
; Files of earlier versions: the one package of before, its registration script.
!macro ForEachLegacyFile CALLBACK
  !insertmacro ${CALLBACK} "Wendrift.msix"
  !insertmacro ${CALLBACK} "WendriftPackage.ps1"
!macroend

; The language of every text from here on: the one the programs speak to this user, which the
; library answers (the setup's own copy, or the installed one for the uninstaller). Without an
; answer NSIS's own choice stands, the user's display language.
!macro ChooseLanguage library
  System::Call '"${library}"::ChosenLanguageId() i .r0 ?u'
  ${If} $0 > 0
    StrCpy $LANGUAGE $0
  ${EndIf}
!macroend

; $Registrar: the machine's own regsvr32. This setup and its uninstaller are x64 programs; on
; Windows on ARM they run emulated, with the system folder unredirected, where regsvr32 is
; ARM64 and so loads the ARM64 library, which no x64 process can. The test's setup may name a
; stand-in (Wine runs no ARM64 code).
!macro ChooseRegistrarFunction un
  Function ${un}ChooseRegistrar
    StrCpy $Registrar "$SYSDIR\regsvr32.exe"
!ifdef ARCHITECTURE_SEAM
    ReadEnvStr $0 WENDRIFT_TEST_REGSVR32
    ${IfThen} $0 != "" ${|} StrCpy $Registrar $0 ${|}
!endif
  FunctionEnd
!macroend
!insertmacro ChooseRegistrarFunction ""
!insertmacro ChooseRegistrarFunction "un."

!define IMAGE_FILE_MACHINE_ARM64 0xAA64
; $Architecture from the machine's native architecture, not the one this x64 process sees: on
; Windows on ARM, GetNativeSystemInfo answers x64 to an emulated x64 process; IsWow64Process2
; (every Windows that runs x64 programs on ARM64 has it) answers the truth. The test's setup
; takes the machine from WENDRIFT_TEST_NATIVE_MACHINE instead.
Function ChooseArchitecture
  StrCpy $NativeMachine 0
!ifdef ARCHITECTURE_SEAM
  ReadEnvStr $NativeMachine WENDRIFT_TEST_NATIVE_MACHINE
!else
  System::Call 'kernel32::IsWow64Process2(p -1, *i 0 r1, *i 0 r2) i .r0'
  ${If} $0 == 1
    StrCpy $NativeMachine $2
  ${EndIf}
!endif
  IntOp $NativeMachine $NativeMachine + 0
  ${If} $NativeMachine = ${IMAGE_FILE_MACHINE_ARM64}
    StrCpy $Architecture "arm64"
  ${Else}
    StrCpy $Architecture "x64"
  ${EndIf}
FunctionEnd

Function .onInit
  SetRegView 64
  SetShellVarContext all
  Call ChooseArchitecture
  Call ChooseRegistrar
  InitPluginsDir
  ; The x64 library, which this x64 process can load on either machine.
  File "/oname=$PLUGINSDIR\Wendrift.dll" "${LIBRARY}"
  !insertmacro ChooseLanguage "$PLUGINSDIR\Wendrift.dll"
  Delete "$PLUGINSDIR\Wendrift.dll"
  ; Asked on the folder page when there is one.
  ${If} ${Silent}
    Call ClassifyInstallFolder
    ${If} $FolderState == "refused"
      MessageBox MB_ICONSTOP "$(FolderRefused)" /SD IDOK
      SetErrorLevel 2
      Abort
    ${EndIf}
  ${EndIf}
FunctionEnd

Function LeaveDirectoryPage
  Call ClassifyInstallFolder
  ${If} $FolderState == "refused"
    MessageBox MB_ICONSTOP "$(FolderRefused)"
    Abort  ; stays on the page
  ${EndIf}
FunctionEnd

; The uninstaller brings its own copy of the x64 library to ask: the installed one is ARM64 on
; Windows on ARM, which this x64 process cannot load.
Function un.onInit
  SetRegView 64
  SetShellVarContext all
  Call un.ChooseRegistrar
  InitPluginsDir
  File "/oname=$PLUGINSDIR\Wendrift.dll" "${LIBRARY}"
  !insertmacro ChooseLanguage "$PLUGINSDIR\Wendrift.dll"
FunctionEnd

; $Field = the first entry of $List, which loses it.
!macro PopFieldFunction un
  Function ${un}PopField
    Push $0
    Push $1
    StrCpy $0 0
    ${Do}
      StrCpy $1 $List 1 $0
      ${IfThen} $1 == "|" ${|} ${ExitDo} ${|}
      ${IfThen} $1 == "" ${|} ${ExitDo} ${|}
      IntOp $0 $0 + 1
    ${Loop}
    StrCpy $Field $List $0
    IntOp $0 $0 + 1
    StrCpy $List $List "" $0
    Pop $1
    Pop $0
  FunctionEnd
!macroend
!insertmacro PopFieldFunction ""
!insertmacro PopFieldFunction "un."

; A file that a running process has loaded (the library in every file manager that showed the
; menu, the configuration program while it is open) can be neither overwritten nor deleted,
; but it can be renamed within its folder, and the process keeps running from it. $R9 names
; the file in the install folder: it goes aside as "<name>.<n>.old", whose name $R8 receives
; (empty when there was no file); $Failed is 1 when it could not be renamed.
!macro MoveAsideFunction un
  Function ${un}MoveAside
    StrCpy $R8 ""
    StrCpy $Failed 0
    ${IfNot} ${FileExists} "$INSTDIR\$R9"
      Return
    ${EndIf}
    StrCpy $R7 1
    ${While} ${FileExists} "$INSTDIR\$R9.$R7.old"
      IntOp $R7 $R7 + 1
    ${EndWhile}
    ClearErrors
    Rename "$INSTDIR\$R9" "$INSTDIR\$R9.$R7.old"
    ${If} ${Errors}
      StrCpy $Failed 1
    ${Else}
      StrCpy $R8 "$R9.$R7.old"
    ${EndIf}
  FunctionEnd

  ; The file moved aside as $R8 goes now, or, while still in use, at the next restart (and by
  ; the next setup or uninstall, whichever comes first).
  Function ${un}DeleteAside
    ${IfThen} $R8 == "" ${|} Return ${|}
    Delete /REBOOTOK "$INSTDIR\$R8"
    ${If} ${FileExists} "$INSTDIR\$R8"
      DetailPrint "$R9 is in use: moved aside as $R8, deleted at the next restart"
    ${EndIf}
  FunctionEnd

  ; $R9's copies that earlier runs moved aside and nothing uses any more: "<name>.<n>.old" only.
  Function ${un}RemoveLeftovers
    ${GetFileName} "$INSTDIR\$R9" $R6
    StrLen $R6 "$R6."
    FindFirst $R7 $R5 "$INSTDIR\$R9.*.old"
    ${DoWhile} $R5 != ""
      StrCpy $R4 $R5 -4 $R6
      IntOp $R3 $R4 + 0
      ${If} "$R3" == "$R4"
        Delete "$INSTDIR\$R9.$R4.old"
      ${EndIf}
      FindNext $R7 $R5
    ${Loop}
    FindClose $R7
  FunctionEnd

  ; $R4 = 1 when $R5 (a name in the install folder, "Assets\" included) is what an earlier run
  ; left of a file the setup writes: "<name>.new", written but never put in place, or
  ; "<name>.<n>.old", moved aside and to be deleted at the next restart.
  Function ${un}IsLeftover
    StrCpy $R4 0
    StrCpy $R3 $R5 "" -4
    ${If} $R3 == ".new"
      StrCpy $R2 $R5 -4
      !insertmacro ForEachInstalledFile _IsInstalledName
      Return
    ${EndIf}
    ${IfThen} $R3 != ".old" ${|} Return ${|}
    ; Cut ".<n>.old" and compare what is left with every name the setup writes.
    StrLen $R3 $R5
    IntOp $R3 $R3 - 5
    ${Do}
      StrCpy $R2 $R5 1 $R3
      ${IfThen} $R2 == "." ${|} ${ExitDo} ${|}
      IntOp $R3 $R3 - 1
    ${LoopWhile} $R3 > 0
    StrCpy $R2 $R5 $R3
    !insertmacro ForEachInstalledFile _IsInstalledName
  FunctionEnd

  ; $List receives "<name>|" for each entry of the install folder (and of its Assets folder)
  ; that the setup did not write and that is no leftover of it.
  Function ${un}ForeignEntries
    StrCpy $List ""
    ${ForEach} $R0 0 1 + 1
      ${If} $R0 == 0
        StrCpy $R1 ""
      ${Else}
        StrCpy $R1 "Assets\"
      ${EndIf}
      FindFirst $R9 $R8 "$INSTDIR\$R1*"
      ${DoWhile} $R8 != ""
        StrCpy $R5 "$R1$R8"
        Call ${un}IsLeftover
        ${If} $R8 == "."
        ${OrIf} $R8 == ".."
        ${OrIf} $R5 == "Assets"
        ${OrIf} $R4 == 1
        ${Else}
          StrCpy $List "$List$R5|"
        ${EndIf}
        FindNext $R9 $R8
      ${Loop}
      FindClose $R9
    ${Next}
  FunctionEnd
!macroend
!macro _IsInstalledName NAME
  ${IfThen} $R2 == "${NAME}" ${|} StrCpy $R4 1 ${|}
!macroend
!insertmacro MoveAsideFunction ""
!insertmacro MoveAsideFunction "un."

!macro _RemoveLeftovers NAME
  StrCpy $R9 "${NAME}"
  Call RemoveLeftovers
!macroend

; $FolderState: "new" when $INSTDIR does not exist, "installed" when it is the installed
; Wendrift's folder, "empty" when it holds nothing but what an uninstall left to be deleted at
; the next restart, and "refused" for anything else (a file, a folder with other files).
Function ClassifyInstallFolder
  StrCpy $FolderState "refused"
  ${If} ${FileExists} "$INSTDIR\*.*"
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
    ${AndIf} $0 == $INSTDIR  ; case-insensitive, as paths are
      StrCpy $FolderState "installed"
    ${Else}
      Call ForeignEntries
      ${IfThen} $List == "" ${|} StrCpy $FolderState "empty" ${|}
    ${EndIf}
  ${ElseIfNot} ${FileExists} "$INSTDIR"
    StrCpy $FolderState "new"
  ${EndIf}
FunctionEnd

; The protected owner and access list on the file or folder $R9 names, when $ProtectFiles is 1.
; Fails the setup when Windows refuses.
Function ProtectPath
  ${IfThen} $ProtectFiles != 1 ${|} Return ${|}
  ; SE_FILE_OBJECT; owner, DACL, protected.
  System::Call 'advapi32::GetSecurityDescriptorOwner(p $Protection, *p .r6, *i .r7) i'
  System::Call 'advapi32::GetSecurityDescriptorDacl(p $Protection, *i .r7, *p .r8, *i .r9) i'
  System::Call 'advapi32::SetNamedSecurityInfoW(w "$R9", i 1, i 0x80000005, p r6, p 0, p r8, p 0) i .R6'
  ${If} $R6 <> 0
    Call DiscardStaged
    ${Fail} ProtectionFailed
  ${EndIf}
FunctionEnd

; Outside the program folders (a /D folder of the user's choice) the folder would inherit
; whatever its parent allows, often that every user may write. Every file manager loads the
; library from here and this setup runs the files elevated, so a folder this setup creates or
; finds empty gets what the program folders give: administrators and the system may write,
; users read and run, the administrators own it, so that a user who made the folder cannot grant
; it back. The folder of the installed Wendrift keeps its access list; every file the setup
; writes outside the program folders gets the protected one itself.
Function PrepareInstallFolder
  Call ClassifyInstallFolder
  ${If} $FolderState == "refused"  ; checked already, unless the folder changed meanwhile
    MessageBox MB_ICONSTOP "$(FolderRefused)" /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  StrCpy $ProtectFiles 1
  ${ForEach} $1 0 1 + 1
    ${If} $1 == 0
      StrCpy $2 "$PROGRAMFILES64\"
    ${Else}
      StrCpy $2 "$PROGRAMFILES32\"
    ${EndIf}
    StrLen $3 $2
    StrCpy $3 "$INSTDIR" $3
    ${IfThen} $3 == $2 ${|} StrCpy $ProtectFiles 0 ${|}  ; case-insensitive, as paths are
  ${Next}
  ${GetParent} "$INSTDIR" $6
  CreateDirectory $6
  ${If} $ProtectFiles == 0
    CreateDirectory "$INSTDIR"
    Return
  ${EndIf}
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "${PROTECTED}", i 1, *p .r4, p 0) i .r5'
  ${If} $5 == 0
    StrCpy $R9 "$INSTDIR"
    StrCpy $R6 "-"
    MessageBox MB_ICONSTOP "$(ProtectionFailed)" /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  StrCpy $Protection $4
  ${If} $FolderState == "new"
    ; Made with it, so that it is never open to users, not even for a moment.
    System::Call '*(i 24, i 0, p r4, i 0, i 0) p .r6'
    System::Call 'kernel32::CreateDirectoryW(w "$INSTDIR", p r6) i'
    System::Free $6
  ${EndIf}
  ${If} $FolderState != "installed"
    StrCpy $R9 "$INSTDIR"
    Call ProtectPath
  ${EndIf}
FunctionEnd

; A log of this run, in a file of the setup's own: one left by an earlier run goes first (so that
; nothing planted under its name is written through).
Function OpenLog
  Delete "$INSTDIR\${SETUP_LOG}"
  FileOpen $Log "$INSTDIR\${SETUP_LOG}" w
  FileWriteUTF16LE /BOM $Log ""
  StrCpy $R9 "$INSTDIR\${SETUP_LOG}"
  Call ProtectPath
  ${If} $ProtectFiles == 0
    !insertmacro Log "$INSTDIR is inside the program folders: it and its files keep what those folders give"
  ${ElseIf} $FolderState == "installed"
    !insertmacro Log "$INSTDIR holds the installed Wendrift: its access list stays as it is; each file the setup writes is protected on its own (owner the administrators, only they and the system may write)"
  ${Else}
    !insertmacro Log "$INSTDIR ($FolderState) is outside the program folders: protected with each file the setup writes (owner the administrators, only they and the system may write)"
  ${EndIf}
FunctionEnd

; Every new file is written under "<name>.new" before any installed file is touched, so that
; a write that fails (a full disk) leaves the install as it was. It is unpacked into the plugins
; folder first and copied from there: a write of the setup's own File instruction that fails
; ends the setup at once, with no chance to tidy up. Any file of the ".new" name goes first, and
; the copy never writes through an existing one: the new file is the setup's own, never one
; planted there.
Function StageFromPluginsDir
  Delete "$INSTDIR\$R9.new"
  System::Call 'kernel32::CopyFileW(w "$PLUGINSDIR\$R9", w "$INSTDIR\$R9.new", i 1) i .R6'
  Delete "$PLUGINSDIR\$R9"
  ${If} $R6 == 0
    Delete "$INSTDIR\$R9.new"  ; what part of it was written
    Call DiscardStaged
    ${Fail} WriteFailed
  ${EndIf}
  StrCpy $Staged "$Staged$R9|"
  StrCpy $R9 "$INSTDIR\$R9.new"
  Call ProtectPath
FunctionEnd

!macro StageFile name source
  StrCpy $R9 "${name}"
  File "/oname=$PLUGINSDIR\${name}" "${source}"
  Call StageFromPluginsDir
!macroend
; The file of the machine's architecture.
!macro StageForArchitecture name x64 arm64
  ${If} $Architecture == "arm64"
    !insertmacro StageFile "${name}" "${arm64}"
  ${Else}
    !insertmacro StageFile "${name}" "${x64}"
  ${EndIf}
!macroend
!macro _StagePackage NAME
  !insertmacro StageForArchitecture "${NAME}.msix" "${PACKAGE_DIR}\${NAME}.msix" "${PACKAGE_DIR}\arm64\${NAME}.msix"
!macroend
!macro _StageLogo NAME
  !insertmacro StageFile "Assets\${NAME}" "${PACKAGE_DIR}\Assets\${NAME}"
!macroend

; The written files deleted again, and the files already put in place swapped back: the install
; is what it was. $R9 (the file the message names) is kept.
Function DiscardStaged
  Push $R9
  StrCpy $List $Swapped
  ${Do}
    ${IfThen} $List == "" ${|} ${ExitDo} ${|}
    Call PopField
    StrCpy $R9 $Field
    Call PopField
    ; Renamed rather than deleted: a process may have loaded the new file already.
    Rename "$INSTDIR\$R9" "$INSTDIR\$R9.new"
    ${If} $Field != ""
      Rename "$INSTDIR\$Field" "$INSTDIR\$R9"
    ${EndIf}
    Delete /REBOOTOK "$INSTDIR\$R9.new"
  ${Loop}
  StrCpy $Swapped ""
  StrCpy $List $Staged
  ${Do}
    ${IfThen} $List == "" ${|} ${ExitDo} ${|}
    Call PopField
    Delete "$INSTDIR\$Field.new"
  ${Loop}
  StrCpy $Staged ""
  Pop $R9
FunctionEnd

; Each written file takes its name; the old one goes aside (a process that runs it goes on with
; it). A file that can be neither replaced nor renamed (another program holds it open
; exclusively) stops the setup with everything swapped back; otherwise what went aside is
; deleted.
Function PutStagedInPlace
  StrCpy $Swapped ""
  ${Do}
    StrCpy $List $Staged
    ${IfThen} $List == "" ${|} ${ExitDo} ${|}
    Call PopField
    StrCpy $Staged $List
    StrCpy $R9 $Field
    Call MoveAside
    ${If} $Failed == 0
      ClearErrors
      Rename "$INSTDIR\$R9.new" "$INSTDIR\$R9"
      ${If} ${Errors}
        StrCpy $Failed 1
        ${IfThen} $R8 != "" ${|} Rename "$INSTDIR\$R8" "$INSTDIR\$R9" ${|}
      ${EndIf}
    ${EndIf}
    ${If} $Failed == 1
      StrCpy $Staged "$R9|$Staged"
      Call DiscardStaged
      ${Fail} FileInUse
    ${EndIf}
    StrCpy $Swapped "$Swapped$R9|$R8|"
  ${Loop}
  StrCpy $List $Swapped
  ${Do}
    ${IfThen} $List == "" ${|} ${ExitDo} ${|}
    Call PopField
    StrCpy $R9 $Field
    Call PopField
    StrCpy $R8 $Field
    Call DeleteAside
  ${Loop}
FunctionEnd

!macro _DeleteLegacyFile NAME
  ${If} ${FileExists} "$INSTDIR\${NAME}"
    Delete "$INSTDIR\${NAME}"
    !insertmacro Log "Removed ${NAME}, an earlier version's"
  ${EndIf}
!macroend

Section "Wendrift"
  Call PrepareInstallFolder
  SetOutPath "$INSTDIR"
  Call OpenLog
  !insertmacro ForEachInstalledFile _RemoveLeftovers
  ${WinVerGetBuild} $R0
  !insertmacro Log "Native machine $NativeMachine: the $Architecture programs and packages"
  InitPluginsDir
  CreateDirectory "$PLUGINSDIR\Assets"
  StrCpy $Staged ""
  !insertmacro StageForArchitecture "Wendrift.dll" "${LIBRARY}" "${ARM64_LIBRARY}"
  !insertmacro StageForArchitecture "WendriftConfig.exe" "${CONFIG_PROGRAM}" "${ARM64_CONFIG_PROGRAM}"
  StrCpy $R9 "Uninstall.exe"
  WriteUninstaller "$PLUGINSDIR\Uninstall.exe"
  Call StageFromPluginsDir
  ${If} ${AtLeastBuild} ${FIRST_WINDOWS_11_BUILD}
    ; Windows looks for a sparse package's logos in its external location.
    ${IfNot} ${FileExists} "$INSTDIR\Assets\*.*"
      CreateDirectory "$INSTDIR\Assets"
      StrCpy $R9 "$INSTDIR\Assets"
      Call ProtectPath
    ${EndIf}
    !insertmacro ForEachPackage _StagePackage
    !insertmacro ForEachLogo _StageLogo
!ifdef CERTIFICATE_SELF_SIGNED
    !insertmacro StageFile "Wendrift.cer" "${CERTIFICATE}"
!endif
  ${EndIf}
  Call PutStagedInPlace
  !insertmacro ForEachLegacyFile _DeleteLegacyFile

  ; DllRegisterServer, by the native regsvr32: the server keys land in the native view.
  ClearErrors
  ExecWait '"$Registrar" /s "$INSTDIR\Wendrift.dll"' $0
  ${If} ${Errors}
  ${OrIf} $0 != 0
    !insertmacro Log "$Registrar answered $0 for $INSTDIR\Wendrift.dll"
    !insertmacro FailWith 3 RegistrationFailed
  ${EndIf}

  CreateDirectory "${SHORTCUT_DIR}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\WendriftConfig.exe"

  ; InstallLocation is also where the package registration reads the install folder from.
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
  ${If} ${AtLeastBuild} ${FIRST_WINDOWS_11_BUILD}
    !insertmacro Log "Windows build $R0: registering ${PACKAGE_NAMES} for the first right-click menu"
!ifdef CERTIFICATE_SELF_SIGNED
    Call TrustCertificate
    ${If} $0 == 1
      Call RegisterPackages
    ${Else}
      !insertmacro Log "The certificate could not be trusted: the packages are not registered"
    ${EndIf}
!else
    Delete "$INSTDIR\Wendrift.cer"
    !insertmacro Log "The packages' certificate comes from a certificate authority: nothing to trust"
    Call RegisterPackages
!endif
  ${Else}
    !insertmacro Log "Windows build $R0: no Windows 11 menu to register for; the classic menu only"
  ${EndIf}
  FileClose $Log
SectionEnd

; $3 = the certificate context in the open store $2 whose SHA-1 thumbprint (40 hex digits) is
; on the stack, or 0.
!macro FindCertificateFunction un
  Function ${un}FindCertificate
    Exch $R0
    Push $R1
    Push $R2
    Push $R3
    StrCpy $R1 ""
    ${ForEach} $R2 0 38 + 2
      StrCpy $R3 $R0 2 $R2
      IntOp $R3 0x$R3 + 0
      StrCpy $R1 "$R1&i1 $R3,"
    ${Next}
    StrCpy $R1 $R1 -1
    System::Call "*($R1) p .R2"
    ; CRYPT_HASH_BLOB: the count, then (at offset 8 on x64) the bytes.
    System::Call "*(l 20, p R2) p .R3"
    ; X509 and PKCS#7 encodings, CERT_FIND_SHA1_HASH.
    System::Call 'crypt32::CertFindCertificateInStore(p r2, i 0x10001, i 0, i 0x10000, p R3, p 0) p .r3'
    System::Free $R3
    System::Free $R2
    Pop $R3
    Pop $R2
    Pop $R1
    Pop $R0
  FunctionEnd
!macroend
!insertmacro FindCertificateFunction ""
!insertmacro FindCertificateFunction "un."

; $0 = 1 when the packages' certificate is trusted for packages (in the machine's TrustedPeople
; store), which lets Windows accept their signature. One that was trusted already is neither
; added again nor recorded: the uninstaller takes away only the trust this setup gave.
Function TrustCertificate
  StrCpy $0 0
  System::Call 'crypt32::CertOpenStore(p 10, i 0, p 0, i 0x20000, w "TrustedPeople") p .r2'
  ${If} $2 P= 0
    Return
  ${EndIf}
  Push "${CERTIFICATE_THUMBPRINT}"
  Call FindCertificate
  ${If} $3 P<> 0
    System::Call 'crypt32::CertFreeCertificateContext(p r3)'
    StrCpy $0 1
    ClearErrors
    ReadRegDWORD $4 HKLM "${TRUST_KEY}" "${CERTIFICATE_THUMBPRINT}"
    ${If} ${Errors}
      !insertmacro Log "The certificate ${CERTIFICATE_THUMBPRINT} was trusted before: it stays trusted after an uninstall"
    ${Else}
      !insertmacro Log "The certificate ${CERTIFICATE_THUMBPRINT} is trusted since an earlier install of Wendrift, whose uninstaller removes it"
    ${EndIf}
  ${Else}
    System::Call 'crypt32::CryptQueryObject(i 1, w "$INSTDIR\Wendrift.cer", i 2, i 2, i 0, p 0, p 0, p 0, p 0, p 0, *p .r3) i .r4'
    ${If} $4 <> 0
      ; Recorded before it is added, so that no trust of ours goes unrecorded.
      WriteRegDWORD HKLM "${TRUST_KEY}" "${CERTIFICATE_THUMBPRINT}" 1
      System::Call 'crypt32::CertAddCertificateContextToStore(p r2, p r3, i 1, p 0) i .r5'
      System::Call 'crypt32::CertFreeCertificateContext(p r3)'
      ${If} $5 <> 0
        StrCpy $0 1
        !insertmacro Log "Self-signed certificate ${CERTIFICATE_THUMBPRINT} trusted for packages (TrustedPeople), recorded for the uninstaller"
      ${Else}
        DeleteRegValue HKLM "${TRUST_KEY}" "${CERTIFICATE_THUMBPRINT}"
      ${EndIf}
    ${EndIf}
  ${EndIf}
  System::Call 'crypt32::CertCloseStore(p r2, i 0)'
FunctionEnd

; $0 = the number of packages Windows lists for this user by family, the question the library
; asks too: PowerShell's exit code alone proves nothing (where it is missing or a stub, 0 too).
!macro _CountRegistered NAME
  System::Call 'kernel32::GetPackagesByPackageFamily(w "${NAME}_${PACKAGE_PUBLISHER_ID}", *i 0 r5, p 0, *i 0 r6, p 0) i .r4'
  ${If} $4 == 122  ; ERROR_INSUFFICIENT_BUFFER: there are packages, and r5 counts them
  ${OrIf} $4 == 0
    ${If} $5 > 0
      IntOp $0 $0 + 1
    ${EndIf}
  ${EndIf}
  IntOp $1 $1 + 1
!macroend
Function PackagesRegistered
  StrCpy $0 0
  StrCpy $1 0
  !insertmacro ForEachPackage _CountRegistered
FunctionEnd

; $0 = this install's Active Setup version: the time now (UTC) as year, month * 100 + day,
; hour * 100 + minute and second, each part within the 16 bits Active Setup reads. A later
; install's is greater, so that every user, including those whose marker an earlier install
; of the same version left, registers the packages again at the next logon. Never at or
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

Function RegisterPackages
  Call ActiveSetupVersion
  StrCpy $R2 $0
  StrCpy $R1 `${POWERSHELL} -Command "${REGISTER_PACKAGES}"`
  nsExec::ExecToLog $R1
  Pop $3
  Call PackagesRegistered
  ${If} $0 == $1
  ${AndIf} $3 == 0
    !insertmacro Log "Packages registered for this user: Copy To and Move To are in the first right-click menu from Explorer's next start"
    WriteRegStr HKCU "${ACTIVE_SETUP_KEY}" "Version" "$R2"
  ${Else}
    !insertmacro Log "Package registration failed (PowerShell answered $3; $0 of $1 packages listed for this user): the classic menu stays, under Show more options"
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
  StrCpy $List $R0
  ${Do}
    ${IfThen} $List == "" ${|} ${ExitDo} ${|}
    Call un.PopField
    ; Only our own ProgID is taken back, and only keys left empty go.
    ReadRegStr $R3 HKCR "$Field" ""
    ${If} $R3 == "${PROGID}"
      DeleteRegValue HKCR "$Field" ""
      DeleteRegKey /ifnosubkeys /ifnovalues HKCR "$Field\CLSID"
      DeleteRegKey /ifnosubkeys /ifnovalues HKCR "$Field"
    ${EndIf}
  ${Loop}
FunctionEnd

; Exactly the certificates installs recorded by thumbprint as added by them; one trusted before
; stays trusted, whatever its subject.
Function un.RemoveTrust
  System::Call 'crypt32::CertOpenStore(p 10, i 0, p 0, i 0x20000, w "TrustedPeople") p .r2'
  ${If} $2 P<> 0
    StrCpy $6 0
    ${Do}
      EnumRegValue $7 HKLM "${TRUST_KEY}" $6
      ${IfThen} $7 == "" ${|} ${ExitDo} ${|}
      Push $7
      Call un.FindCertificate
      ${If} $3 P<> 0
        System::Call 'crypt32::CertDeleteCertificateFromStore(p r3) i .r4'  ; frees the context
        DetailPrint "Certificate trust removed ($7): $4"
      ${Else}
        DetailPrint "Certificate $7 is not trusted any more: nothing to remove"
      ${EndIf}
      IntOp $6 $6 + 1
    ${Loop}
    ; Written out now: Wine, for one, keeps a deletion until the store is committed.
    System::Call 'crypt32::CertControlStore(p r2, i 0, i 1, p 0)'
    System::Call 'crypt32::CertCloseStore(p r2, i 0)'
  ${EndIf}
  ; Earlier setups recorded only the subjects of what they trusted, which cannot tell their
  ; certificate from one trusted before Wendrift came: those stay.
  StrCpy $6 0
  ${Do}
    EnumRegValue $7 HKLM "${LEGACY_TRUST_KEY}" $6
    ${IfThen} $7 == "" ${|} ${ExitDo} ${|}
    DetailPrint "Kept: the certificates of $7 in TrustedPeople (an earlier setup may have added one, but recorded no thumbprint)"
    IntOp $6 $6 + 1
  ${Loop}
  DeleteRegKey HKLM "${TRUST_KEY}"
  DeleteRegKey HKLM "${LEGACY_TRUST_KEY}"
  DeleteRegKey /ifempty HKLM "${SETTINGS_KEY}"
FunctionEnd

; The packages for every user Windows lets us reach, and Active Setup.
Function un.RemovePackages
  nsExec::ExecToLog `${POWERSHELL} -Command "${UNREGISTER_PACKAGES}"`
  Pop $1
  DetailPrint "Package removal for every user: PowerShell answered $1"
  DeleteRegKey HKLM "${ACTIVE_SETUP_KEY}"
  DeleteRegKey HKCU "${ACTIVE_SETUP_KEY}"
FunctionEnd

!macro _AnyPackageFile NAME
  ${IfThen} ${FileExists} "$INSTDIR\${NAME}.msix" ${|} StrCpy $0 1 ${|}
!macroend

; What an earlier run moved aside, then the file itself, aside first as the setup does:
; deleting a file in use only at the next restart would take a file of the same name that a
; new install writes before then.
!macro _RemoveInstalledFile NAME
  StrCpy $R9 "${NAME}"
  Delete "$INSTDIR\${NAME}.new"
  Call un.RemoveLeftovers
  Call un.MoveAside
  Call un.DeleteAside
!macroend

Section "Uninstall"
  StrCpy $0 0
  !insertmacro ForEachPackage _AnyPackageFile
  !insertmacro _AnyPackageFile "Wendrift"  ; the one package of earlier setups
  ${If} $0 == 1
    Call un.RemovePackages
  ${EndIf}
  Call un.RemoveTrust
  Call un.CollectStoredExtensions
  ; The library's own Uninstall first (the uninstaller's copy: it takes nothing of the installed
  ; file's): every association and every per-file-type hook goes.
  System::Call '"$PLUGINSDIR\Wendrift.dll"::Uninstall() i .r0 ?u'
  DetailPrint "Associations removed: $0"
  Call un.ReleaseOwnFileTypes
  ; Then DllUnregisterServer of the installed library: the server keys and our ProgID.
  ExecWait '"$Registrar" /u /s "$INSTDIR\Wendrift.dll"' $0
  DetailPrint "$Registrar /u answered $0"

  ; What the setup wrote, by name; a folder only when nothing else is in it.
  !insertmacro ForEachInstalledFile _RemoveInstalledFile
  !insertmacro ForEachLegacyFile _RemoveInstalledFile
  RMDir "$INSTDIR\Assets"
  Call un.ForeignEntries
  ${If} $List == ""
    ; Still there while a moved-aside file is in use: then at the next restart, after it.
    RMDir /REBOOTOK "$INSTDIR"
  ${Else}
    FileOpen $Log "$INSTDIR\${UNINSTALL_LOG}" w
    FileWriteUTF16LE /BOM $Log "$(KeptFilesHeading)$\r$\n"
    ${Do}
      ${IfThen} $List == "" ${|} ${ExitDo} ${|}
      Call un.PopField
      ${If} $Field != "${UNINSTALL_LOG}"
        DetailPrint "Kept: $INSTDIR\$Field"
        FileWriteUTF16LE $Log "$INSTDIR\$Field$\r$\n"
      ${EndIf}
    ${Loop}
    FileClose $Log
    MessageBox MB_ICONINFORMATION "$(FolderKept)" /SD IDOK
  ${EndIf}
  Delete "${SHORTCUT}"
  RMDir "${SHORTCUT_DIR}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
