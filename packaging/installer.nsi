; Snapquery's installer: 64-bit, per user, no administrator.
;
; makensis /DVERSION=x.y.z /DSTAGE=<folder with the files> /DICON=<.ico>
;          /DOUTFILE=<installer.exe> [/DSIGN=<command with %1>] installer.nsi
;
; Command line of the installer:
;   /S            silent
;   /AUTOSTART    start Snapquery when the user signs in (silent default: as before)
;   /NOAUTOSTART  do not
;   /RUN          start Snapquery when done (a silent upgrade restarts a copy
;                 it had to close anyway)
;   /D=<folder>   install there instead of %LOCALAPPDATA%\Programs\Snapquery
; The uninstaller takes /S.

!macro REQUIRE name
  !ifndef ${name}
    !error "Pass /D${name}=..."
  !endif
!macroend
!insertmacro REQUIRE VERSION
!insertmacro REQUIRE STAGE
!insertmacro REQUIRE ICON
!insertmacro REQUIRE OUTFILE

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
ManifestSupportedOS all

!define PRODUCT "Snapquery"
!define PUBLISHER "Varnel"
!define EXE "snapquery.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "SNQ"
!define SETTINGS_KEY "Software\Varnel\SNQ"
; The program's application window and the message it exits on.
!define APP_WINDOW_CLASS "TApplication"
!define EXIT_REQUEST "Snapquery.Exit"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow
; A file that cannot be replaced (a copy that would not close) fails the
; setup rather than being skipped.
AllowSkipFiles off

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"

!ifdef SIGN
  ; The uninstaller is written at install time: sign the one it is made from.
  ; A signing that fails fails the build: no unsigned uninstaller ships as
  ; signed.
  !uninstfinalize '${SIGN}' = 0
!endif

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Run ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION RunAsUser

!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FolderLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var RunWhenDone
Var ClosedCopies ; running copies that exited when asked
Var StuckCopies  ; copies that were asked but are still running

; Asks every running Snapquery to exit and waits for each to end; sets
; $ClosedCopies and $StuckCopies.
!macro CLOSE_RUNNING un
Function ${un}CloseRunning
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $ClosedCopies 0
  StrCpy $StuckCopies 0
  System::Call 'user32::RegisterWindowMessageW(w "${EXIT_REQUEST}") i .r1'
  StrCpy $0 0
  ${Do}
    System::Call 'user32::FindWindowExW(p 0, p r0, w "${APP_WINDOW_CLASS}", p 0) p .r0'
    ${If} $0 = 0
      ${ExitDo}
    ${EndIf}
    ; Other programs may use the same window class: only ours answers 1.
    StrCpy $2 0
    System::Call 'user32::SendMessageTimeoutW(p r0, i r1, p 0, p 0, i 2, i 5000, *p .r2) p .r3'
    ${If} $3 <> 0
    ${AndIf} $2 = 1
      System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r3)'
      ; SYNCHRONIZE
      System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r3) p .r3'
      StrCpy $2 0
      ${If} $3 <> 0
        System::Call 'kernel32::WaitForSingleObject(p r3, i 10000) i .r2'
        System::Call 'kernel32::CloseHandle(p r3)'
      ${EndIf}
      ${If} $2 = 0
        IntOp $ClosedCopies $ClosedCopies + 1
        ; Its window has gone: search again from the top.
        StrCpy $0 0
      ${Else}
        IntOp $StuckCopies $StuckCopies + 1
      ${EndIf}
      ${If} $ClosedCopies >= 16
        ${ExitDo}
      ${EndIf}
    ${EndIf}
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Closes every running Snapquery, or aborts when one will not go and the
; user does not retry (a silent setup never does).
Function ${un}MakeWayForFiles
  ${Do}
    Call ${un}CloseRunning
    ${If} $StuckCopies = 0
      ${ExitDo}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${PRODUCT} is still running and does not close. Close it, then choose Retry." \
      /SD IDCANCEL IDRETRY +2
    Abort "${PRODUCT} is still running."
  ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING ""
!insertmacro CLOSE_RUNNING "un."

; Sets $0 to 1 when $INSTDIR is a folder this setup may install into: one
; that does not exist yet, an empty one, or the one of the installation the
; uninstall entry names. Any other may hold another program's files, which
; the setup would overwrite and the uninstall later delete.
Function OwnsFolder
  Push $1
  Push $2
  StrCpy $0 1
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $1 != $INSTDIR ; LogicLib compares without regard to case
  ${AndIf} ${FileExists} "$INSTDIR\*.*"
    FindFirst $1 $2 "$INSTDIR\*.*"
    ${DoWhile} $2 != ""
      ${If} $2 != "."
      ${AndIf} $2 != ".."
        StrCpy $0 0
        ${ExitDo}
      ${EndIf}
      FindNext $1 $2
    ${Loop}
    FindClose $1
  ${EndIf}
  Pop $2
  Pop $1
FunctionEnd

!define FOLDER_NOT_OURS "$INSTDIR already holds other files. Choose an empty or a new folder for ${PRODUCT}."

Function FolderLeave
  Call OwnsFolder
  ${If} $0 = 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "${FOLDER_NOT_OURS}"
    Abort ; stays on the page
  ${EndIf}
FunctionEnd

; Starts Snapquery as the signed-in user, never with the setup's rights: an
; elevated setup (a package manager in an administrator console) would
; otherwise make it an elevated program that opens the browser elevated.
Function RunAsUser
  Push $0
  System::Call 'shell32::IsUserAnAdmin() i .r0'
  ${If} $0 = 0
    Exec '"$INSTDIR\${EXE}"'
  ${Else}
    DetailPrint "Setup runs elevated: ${PRODUCT} is installed for the signed-in user alone and started through the shell."
    FindWindow $0 "Shell_TrayWnd"
    ${If} $0 <> 0
      ; A second explorer.exe hands the file to the running shell, which
      ; starts it with the signed-in user's own rights.
      Exec '"$WINDIR\explorer.exe" "$INSTDIR\${EXE}"'
    ${Else}
      DetailPrint "No shell runs to start ${PRODUCT} through: start it from the Start menu."
    ${EndIf}
  ${EndIf}
  Pop $0
FunctionEnd

Section "${PRODUCT}" SecProgram
  SectionIn RO
  ; Checked again here: a silent setup shows no folder page.
  Call OwnsFolder
  ${If} $0 = 0
    MessageBox MB_OK|MB_ICONSTOP "${FOLDER_NOT_OURS}" /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}
  Call MakeWayForFiles
  ${If} $ClosedCopies > 0
    ; A copy was running: it comes back when the new one is in place.
    StrCpy $RunWhenDone 1
  ${EndIf}
  SetOutPath "$INSTDIR"
  File "${STAGE}\${EXE}"
  File "${STAGE}\LICENSE"
  File "${STAGE}\README.txt"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 \
    SW_SHOWNORMAL "" "Search the web for the text on the clipboard"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Start ${PRODUCT} when I sign in" SecAutostart
  ; As the program's own menu writes it, so that its check mark agrees.
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${EXE}"'
SectionEnd

Section "-Autostart off"
  ${IfNot} ${SectionIsSelected} ${SecAutostart}
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
SectionEnd

Function .onInit
  SetShellVarContext current
  ; Keep what the user chose before, in the program or in an earlier setup.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 != ""
    !insertmacro SelectSection ${SecAutostart}
  ${EndIf}
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/AUTOSTART" $0
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecAutostart}
  ${EndIf}
  ClearErrors
  ${GetOptions} $1 "/NOAUTOSTART" $0
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecAutostart}
  ${EndIf}
  ClearErrors
  ${GetOptions} $1 "/RUN" $0
  ${IfNot} ${Errors}
    StrCpy $RunWhenDone 1
  ${EndIf}
FunctionEnd

Function .onInstSuccess
  ; Interactive setups ask on the last page instead.
  ${If} ${Silent}
  ${AndIf} $RunWhenDone = 1
    Call RunAsUser
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.MakeWayForFiles
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\LICENSE"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: the folder may hold files that are not ours.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ; A machine-wide entry an older version wrote for this installation (the
  ; program reads the machine's keys in their 32-bit view); one that starts
  ; anything else is not ours. Without the rights it stays, as the program
  ; says when its own check mark is taken off.
  SetRegView 32
  ReadRegStr $0 HKLM "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == '"$INSTDIR\${EXE}"'
    DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
  SetRegView 64
  ; This user's settings; machine-wide ones belong to the administrator.
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Varnel"
  ; Last: until everything else has gone, the entry stays to run this again.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
