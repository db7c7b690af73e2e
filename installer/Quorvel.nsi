; Quorvel's per-user installer. scripts/package.sh builds it for each bitness:
;   makensis -DVERSION=<a.b.c.d> -DARCH=win32|win64 -DSTAGE=<folder with the files> -DOUTFILE=<setup.exe>
;            -DEXIT_COMMAND=<number> Quorvel.nsi
; It installs for the current user only, so it never asks for administrator rights.

Unicode true
!if "${ARCH}" == "win64"
  Target amd64-unicode
  !define BITS "64-bit"
  !define OTHER_BITS "32-bit"
  !define OTHER_SETUP "-win32-setup.exe"
  !define BUILD_NOTE "This is the 64-bit build, only for 64-bit remote-control libraries. The card makers' libraries are 32-bit: for them take the 32-bit build (the setup ending in -win32-setup.exe)."
!else if "${ARCH}" == "win32"
  Target x86-unicode
  !define BITS "32-bit"
  !define OTHER_BITS "64-bit"
  !define OTHER_SETUP "-win64-setup.exe"
  !define BUILD_NOTE "This is the 32-bit build, the one for the card makers' remote-control libraries, which are 32-bit."
!else
  !error "ARCH must be win32 or win64"
!endif

; The company, the window to ask to exit and its "Exit" command, from the program's own headers.
!searchparse /file "../resources/Version.h" `#define QUORVEL_COMPANY_NAME "` COMPANY `"`
!searchparse /file "../resources/Version.h" `#define QUORVEL_COPYRIGHT "` COPYRIGHT `"`
!searchparse /file "../src/ui/ControlIds.h" `#define QUORVEL_MAIN_CLASS "` MAIN_CLASS `"`
!searchparse /file "../src/ui/ControlIds.h" `#define QUORVEL_MAIN_CAPTION "` MAIN_CAPTION `"`
; The "Exit" command's number comes from scripts/package.sh, which reads it from
; src/ui/ControlIds.h whatever the spacing there.
!ifndef EXIT_COMMAND
  !error "EXIT_COMMAND must be given: -DEXIT_COMMAND=<the ExitPM number of src/ui/ControlIds.h>"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel"
!define SETTINGS_KEY "Software\Vantrel\Quorvel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; How long the exit through "Exit" may take (it saves the settings and the button map): 10 s.
!define EXIT_WAIT_STEP_MS 100
!define EXIT_WAIT_STEPS 100
!define SYNCHRONIZE 0x00100000
; The machine field of a library's PE header, for each build.
!define MACHINE_I386 0x14C
!define MACHINE_AMD64 0x8664
!define WAIT_OBJECT_0 0

Name "Quorvel"
Caption "Quorvel ${VERSION} (${BITS}) Setup"
UninstallCaption "Quorvel Uninstall"
OutFile "${OUTFILE}"
RequestExecutionLevel user
; Quorvel keeps Quorvel.ini beside itself, so it needs a folder the user can write to.
InstallDir "$LOCALAPPDATA\Programs\Quorvel"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "Quorvel ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "Quorvel"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"
VIAddVersionKey /LANG=1033 "FileDescription" "Quorvel ${VERSION} (${BITS}) Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include StrFunc.nsh
!include nsDialogs.nsh
!include WinMessages.nsh

${UnStrStr}

!define MUI_ICON "../resources/icons/app.ico"
!define MUI_UNICON "../resources/icons/app.ico"
!define MUI_ABORTWARNING

; One Quorvel per user: both builds share the settings key, the start with Windows and the lock
; that lets one copy run. Quorvel installed already, of either build, is replaced in its folder,
; so its button map and any maker's library stay beside it and no second entry is left behind.
Var InstalledFolder
Var InstalledNote
!define MUI_WELCOMEPAGE_TEXT "Setup installs Quorvel ${VERSION} for you alone; it needs no administrator rights.$\r$\n$\r$\n${BUILD_NOTE}$InstalledNote$\r$\n$\r$\n$_CLICK"
!define MUI_PAGE_CUSTOMFUNCTION_SHOW WelcomeShow
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_PRE DirectoryPre
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
Var FinishText
; "ready", "missing" or "other": whether a maker's library this build can load is in the folder.
Var LibraryState
Var OpenFolderButton
!define MUI_PAGE_CUSTOMFUNCTION_PRE FinishPre
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishShow
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_TEXT "$FinishText"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Quorvel.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Quorvel"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the user guide"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

UninstPage custom un.OptionsPage un.OptionsLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Function .onInit
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\Quorvel.exe"
    StrCpy $InstalledFolder $0
    ; Also over a folder given with /D.
    StrCpy $INSTDIR $0
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "DisplayName"
    StrCpy $InstalledNote "$\r$\n$\r$\n$1 is installed in $0. Setup replaces it there with this ${BITS} build; your button map and settings stay."
  ${EndIf}
FunctionEnd

; Without the directory page, the welcome page's button starts the install.
Function WelcomeShow
  ${If} $InstalledFolder != ""
    GetDlgItem $0 $HWNDPARENT 1
    SendMessage $0 ${WM_SETTEXT} 0 "STR:$(^InstallBtn)"
  ${EndIf}
FunctionEnd

Function DirectoryPre
  ${If} $InstalledFolder != ""
    Abort
  ${EndIf}
FunctionEnd

; Ends a running Quorvel the way its tray menu's "Exit" does, so that it saves its settings and
; button map, and waits until its process is gone. Aborts when it does not end and the user
; gives up (a silent run gives up at once).
!macro DEFINE_END_RUNNING_QUORVEL prefix
Function ${prefix}EndRunningQuorvel
  ${Do}
    FindWindow $0 "${MAIN_CLASS}" "${MAIN_CAPTION}"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    DetailPrint "Ending the running Quorvel, which saves its settings..."
    System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1)"
    System::Call "kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2"
    System::Call "user32::PostMessage(p r0, i ${WM_COMMAND}, p ${EXIT_COMMAND}, p 0)"
    StrCpy $3 "running"
    ${For} $4 1 ${EXIT_WAIT_STEPS}
      ${If} $2 != 0
        System::Call "kernel32::WaitForSingleObject(p r2, i ${EXIT_WAIT_STEP_MS}) i .r5"
        ${If} $5 == ${WAIT_OBJECT_0}
          StrCpy $3 "ended"
        ${EndIf}
      ${Else}
        ; Without a handle on the process, its window going away is the sign.
        System::Call "user32::IsWindow(p r0) i .r5"
        ${If} $5 == 0
          StrCpy $3 "ended"
        ${Else}
          Sleep ${EXIT_WAIT_STEP_MS}
        ${EndIf}
      ${EndIf}
      ${IfThen} $3 == "ended" ${|} ${Break} ${|}
    ${Next}
    ${If} $2 != 0
      System::Call "kernel32::CloseHandle(p r2)"
    ${EndIf}
    ${If} $3 == "running"
    ${AndIf} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Quorvel is still running. Choose $\"Exit$\" in its tray menu (or answer its message), then click Retry." /SD IDCANCEL IDCANCEL`
      Abort "Quorvel is still running."
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_END_RUNNING_QUORVEL ""
!insertmacro DEFINE_END_RUNNING_QUORVEL "un."

Section "Quorvel"
  SetShellVarContext current
  ${If} $InstalledFolder != ""
    DetailPrint "Replacing the Quorvel installed in $INSTDIR"
  ${EndIf}
  Call EndRunningQuorvel
  ; Never overwrite a running exe, whatever window it shows.
  ${If} ${FileExists} "$INSTDIR\Quorvel.exe"
    ${Do}
      ClearErrors
      FileOpen $0 "$INSTDIR\Quorvel.exe" a
      ${IfNot} ${Errors}
        FileClose $0
        ${Break}
      ${EndIf}
      ${If} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$INSTDIR\Quorvel.exe is in use. End Quorvel, then click Retry." /SD IDCANCEL IDCANCEL`
        Abort "$INSTDIR\Quorvel.exe is in use."
      ${EndIf}
    ${Loop}
  ${EndIf}

  ; Quorvel.ini, the user's button map, is not among these files and stays as it is.
  SetOutPath "$INSTDIR"
  File "${STAGE}/Quorvel.exe"
  File "${STAGE}/README.txt"
  File "${STAGE}/LICENSE.txt"
  File "${STAGE}/CHANGELOG.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Quorvel.lnk" "$INSTDIR\Quorvel.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Quorvel (${BITS})"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quorvel.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; "32-bit" or "64-bit" by the machine field of the PE file whose path is on the stack, "unknown"
; for another machine or a file that is no PE file, "" when there is no such file.
Function LibraryBits
  Exch $R0
  Push $R1
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  ClearErrors
  FileOpen $R1 $R0 r
  ${If} ${Errors}
    StrCpy $R0 ""
  ${Else}
    ; The PE header's offset sits at 0x3C; its machine field follows the 4-byte signature.
    FileSeek $R1 0x3C
    StrCpy $R2 0
    ${For} $R3 0 3
      FileReadByte $R1 $R4
      IntOp $R5 $R3 * 8
      IntOp $R4 $R4 << $R5
      IntOp $R2 $R2 | $R4
    ${Next}
    IntOp $R2 $R2 + 4
    FileSeek $R1 $R2
    FileReadByte $R1 $R3
    FileReadByte $R1 $R4
    IntOp $R4 $R4 << 8
    IntOp $R3 $R3 | $R4
    FileClose $R1
    ${If} $R3 = ${MACHINE_I386}
      StrCpy $R0 "32-bit"
    ${ElseIf} $R3 = ${MACHINE_AMD64}
      StrCpy $R0 "64-bit"
    ${Else}
      StrCpy $R0 "unknown"
    ${EndIf}
  ${EndIf}
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R1
  Exch $R0
FunctionEnd

; Without a maker's library the program could only say that it found none and end: the finish
; page says what to copy where instead, or which build a library of the other width needs.
Function FinishPre
  StrCpy $LibraryState "missing"
  ; Short enough to fit above the page's check boxes.
  StrCpy $FinishText "Copy your TV card's remote-control library, BeholdRC.dll (Beholder) or RemoteSdk.dll (Compro), into $INSTDIR.$\r$\n$\r$\nWithout a card, Quorvel can receive from a LIRC or WinLIRC server: start it, answer $\"Yes$\" when it finds no library, and set $\"Receive from$\" on its $\"WinLIRC$\" tab."
  Push "BeholdRC.dll"
  Call CheckLibrary
  Push "RemoteSdk.dll"
  Call CheckLibrary
  ${If} $LibraryState == "ready"
    StrCpy $FinishText "$(MUI_TEXT_FINISH_INFO_TEXT)"
  ${EndIf}
FunctionEnd

; The library named on the stack, in the install folder: ready when this build can load it; the
; first one of the other width is named in the finish text.
Function CheckLibrary
  Exch $0
  Push $1
  Push "$INSTDIR\$0"
  Call LibraryBits
  Pop $1
  ${If} $1 == "${BITS}"
    StrCpy $LibraryState "ready"
  ${ElseIf} $1 == "${OTHER_BITS}"
  ${AndIf} $LibraryState == "missing"
    StrCpy $LibraryState "other"
    StrCpy $FinishText "$0 in $INSTDIR is a ${OTHER_BITS} library, which this ${BITS} Quorvel cannot load: it needs the ${OTHER_BITS} Quorvel (the setup ending in ${OTHER_SETUP})."
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

Function FinishShow
  ${If} $LibraryState != "ready"
    ${NSD_Uncheck} $mui.FinishPage.Run
  ${EndIf}
  ${If} $LibraryState == "missing"
    ${NSD_CreateButton} 120u 150u 100u 14u "Open the folder"
    Pop $OpenFolderButton
    ${NSD_OnClick} $OpenFolderButton OpenInstallFolder
  ${EndIf}
FunctionEnd

Function OpenInstallFolder
  ExecShell "open" "$INSTDIR"
FunctionEnd

Var RemoveUserDataBox
Var RemoveUserData

Function un.OptionsPage
  !insertmacro MUI_HEADER_TEXT "Uninstall Quorvel" "Remove Quorvel from your computer."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 48u "Quorvel will be removed from $INSTDIR. A running Quorvel is ended first.$\r$\n$\r$\nYour button map (Quorvel.ini) and your settings stay for a later install unless you tick the box below."
  Pop $0
  ${NSD_CreateCheckbox} 0 56u 100% 12u "Remove my button map and settings"
  Pop $RemoveUserDataBox
  GetDlgItem $0 $HWNDPARENT 1
  SendMessage $0 ${WM_SETTEXT} 0 "STR:$(^UninstallBtn)"
  nsDialogs::Show
FunctionEnd

Function un.OptionsLeave
  ${NSD_GetState} $RemoveUserDataBox $RemoveUserData
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.EndRunningQuorvel

  Delete "$INSTDIR\Quorvel.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\CHANGELOG.txt"
  Delete "$SMPROGRAMS\Quorvel.lnk"

  ; Starting with Windows would start a program that is gone; a copy elsewhere keeps its entry
  ; unless the user removes all settings.
  ReadRegStr $0 HKCU "${RUN_KEY}" "Quorvel"
  ${UnStrStr} $1 $0 '"$INSTDIR\Quorvel.exe"'
  ${If} $RemoveUserData == ${BST_CHECKED}
  ${OrIf} $1 != ""
    DeleteRegValue HKCU "${RUN_KEY}" "Quorvel"
  ${EndIf}
  ${If} $RemoveUserData == ${BST_CHECKED}
    Delete "$INSTDIR\Quorvel.ini"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Vantrel"
    ; The program's log.
    RMDir /r "$LOCALAPPDATA\Quorvel"
  ${EndIf}

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: files the user put here (a maker's library, Quorvel.ini) stay.
  RMDir "$INSTDIR"
SectionEnd
