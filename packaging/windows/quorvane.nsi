; The Windows installer of Quorvane (64-bit Windows).
;
; Per user by default: no administrator needed; the program goes under the
; user's local programs folder and is chosen as the screensaver in the user's
; own "Control Panel\Desktop" values. With /AllUsers (from an administrator)
; the .scr goes into the system folder, where the Screen Saver dialog lists it
; for everyone. /S installs silently; the uninstaller takes /S and
; /RemoveSettings.
;
; makensis -DVERSION=1.2.3 -DSCR=path\quorvane.scr -DDOCS=folder-with-quorvane.htm
;          -DOUTFILE=installer.exe [-DICON=quorvane.ico] [-DCOMPRESSOR=zlib] quorvane.nsi
; DOCS holds quorvane.htm and the gallery/ pictures the page shows.

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
; The release takes the smallest; a test may ask for a quicker one.
!ifdef COMPRESSOR
  SetCompressor ${COMPRESSOR}
!else
  SetCompressor /SOLID lzma
!endif

!macro required name
  !ifndef ${name}
    !error "${name} must be defined: VERSION, SCR, DOCS and OUTFILE are"
  !endif
!macroend
!insertmacro required VERSION
!insertmacro required SCR
!insertmacro required DOCS
!insertmacro required OUTFILE

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "StrFunc.nsh"
!include "x64.nsh"
!include "nsDialogs.nsh"
${StrStr}
${UnStrStr}

!define PRODUCT "Quorvane"
!define PUBLISHER "The Quorvane developers"
; The settings live here; the installer adds only InstallFolder, so that the
; program finds its help page.
!define SETTINGS_KEY "Software\Quorvane\Quorvane5"
; What the installer remembers: the screensaver that was chosen before.
!define STATE_KEY "Software\Quorvane\Installer"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvane"
!define DESKTOP_KEY "Control Panel\Desktop"
; The image folder list, in the user's roaming application data.
!define INI_FOLDER "Quorvane"
!define INI_NAME "Quorvane5.ini"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\quorvane.scr"
!define MUI_FINISHPAGE_RUN_PARAMETERS "/c"
!define MUI_FINISHPAGE_RUN_TEXT "Open the Quorvane settings"

!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipDirectoryForAllUsers
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
UninstPage custom un.KeepSettingsPage un.KeepSettingsLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var AllUsers       ; 1 when installing for every user
Var ScrPath        ; where the .scr goes
Var RemoveSettings ; uninstaller: 1 to remove the user's settings too
Var RemoveBox

; --- installing ----------------------------------------------------------

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AllUsers" $1
  ${IfNot} ${Errors}
    UserInfo::GetAccountType
    Pop $1
    ${If} $1 != "admin"
      MessageBox MB_ICONSTOP "Installing for all users needs an administrator: run the installer as one, or without /AllUsers to install for yourself." /SD IDOK
      SetErrorLevel 740
      Quit
    ${EndIf}
    StrCpy $AllUsers 1
    SetShellVarContext all
    StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
  ${Else}
    StrCpy $AllUsers 0
    SetShellVarContext current
  ${EndIf}
FunctionEnd

Function SkipDirectoryForAllUsers
  ${If} $AllUsers == 1
    Abort
  ${EndIf}
FunctionEnd

; Remembers the screensaver chosen now unless it is already ours, so that
; installing again keeps the one from before the first install.
Function RememberPreviousSaver
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${StrStr} $1 "$0" "quorvane"
  ${If} $1 == ""
    ${StrStr} $1 "$0" "QUORVANE"
  ${EndIf}
  ${If} $1 != ""
    Return
  ${EndIf}
  ClearErrors
  ReadRegStr $2 HKCU "${STATE_KEY}" "PreviousScreenSaver"
  ${IfNot} ${Errors}
  ${AndIf} $0 == ""
    Return ; chosen away from us by hand and then cleared: keep what we had
  ${EndIf}
  WriteRegStr HKCU "${STATE_KEY}" "PreviousScreenSaver" "$0"
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
  WriteRegStr HKCU "${STATE_KEY}" "PreviousScreenSaveActive" "$0"
FunctionEnd

Section "Quorvane"
  SetOutPath "$INSTDIR"
  File "/oname=quorvane.htm" "${DOCS}\quorvane.htm"
  SetOutPath "$INSTDIR\gallery"
  File "${DOCS}\gallery\*.png"
  SetOutPath "$INSTDIR"

  ${If} $AllUsers == 1
    ${DisableX64FSRedirection}
    SetOutPath "$SYSDIR"
    File "/oname=quorvane.scr" "${SCR}"
    StrCpy $ScrPath "$SYSDIR\quorvane.scr"
    ${EnableX64FSRedirection}
    SetOutPath "$INSTDIR"
  ${Else}
    File "/oname=quorvane.scr" "${SCR}"
    StrCpy $ScrPath "$INSTDIR\quorvane.scr"
  ${EndIf}
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Chosen as the installing user's screensaver; the time-out stays theirs.
  Call RememberPreviousSaver
  GetFullPathName /SHORT $0 "$ScrPath"
  ${If} $0 == ""
    StrCpy $0 "$ScrPath"
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$0"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  WriteRegStr HKCU "${SETTINGS_KEY}\Config" "InstallFolder" "$INSTDIR\"
  WriteRegStr HKCU "${STATE_KEY}" "Program" "$ScrPath"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Quorvane Settings.lnk" "$ScrPath" "/c" "$ScrPath" 0
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Quorvane Help.lnk" "$INSTDIR\quorvane.htm"

  ; One entry in Apps and Features, however often it is installed.
  ${If} $AllUsers == 1
    StrCpy $1 " /AllUsers"
  ${Else}
    StrCpy $1 ""
  ${EndIf}
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$ScrPath,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"$1'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S$1'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $2 $3 $4
  ${If} $AllUsers == 1
    IntOp $2 $2 + 4096 ; the .scr in the system folder, roughly
  ${EndIf}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $2
SectionEnd

; --- uninstalling --------------------------------------------------------

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AllUsers" $1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
    SetShellVarContext all
  ${Else}
    StrCpy $AllUsers 0
    SetShellVarContext current
  ${EndIf}
  StrCpy $RemoveSettings 0
  ClearErrors
  ${GetOptions} $0 "/RemoveSettings" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveSettings 1
  ${EndIf}
FunctionEnd

Function un.KeepSettingsPage
  !insertmacro MUI_HEADER_TEXT "Your settings" "Quorvane keeps your settings unless you remove them."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateCheckbox} 0 0 100% 12u "&Also remove my Quorvane settings and image folder list"
  Pop $RemoveBox
  ${If} $RemoveSettings == 1
    ${NSD_Check} $RemoveBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function un.KeepSettingsLeave
  ${NSD_GetState} $RemoveBox $RemoveSettings
  ${If} $RemoveSettings == ${BST_CHECKED}
    StrCpy $RemoveSettings 1
  ${Else}
    StrCpy $RemoveSettings 0
  ${EndIf}
FunctionEnd

; Gives the user back the screensaver chosen before the first install, when
; ours is still the chosen one.
Function un.RestorePreviousSaver
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${UnStrStr} $1 "$0" "quorvane"
  ${If} $1 == ""
    ${UnStrStr} $1 "$0" "QUORVANE"
  ${EndIf}
  ${If} $1 == ""
    Return
  ${EndIf}
  ReadRegStr $2 HKCU "${STATE_KEY}" "PreviousScreenSaver"
  ReadRegStr $3 HKCU "${STATE_KEY}" "PreviousScreenSaveActive"
  ${If} $2 == ""
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${Else}
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$2"
  ${EndIf}
  ${If} $3 == ""
    StrCpy $3 "0"
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "$3"
FunctionEnd

Section "Uninstall"
  Call un.RestorePreviousSaver
  ReadRegStr $0 HKCU "${STATE_KEY}" "Program"
  DeleteRegKey HKCU "${STATE_KEY}"

  ${If} $AllUsers == 1
    ${DisableX64FSRedirection}
    Delete "$SYSDIR\quorvane.scr"
    ${EnableX64FSRedirection}
  ${EndIf}
  Delete "$INSTDIR\quorvane.scr"
  Delete "$INSTDIR\quorvane.htm"
  Delete "$INSTDIR\gallery\*.png"
  RMDir "$INSTDIR\gallery"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}\Quorvane Settings.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Quorvane Help.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"

  ${If} $RemoveSettings == 1
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    SetShellVarContext current
    Delete "$APPDATA\${INI_FOLDER}\${INI_NAME}"
    RMDir "$APPDATA\${INI_FOLDER}"
  ${Else}
    ; The folder it named is gone; every other setting stays.
    DeleteRegValue HKCU "${SETTINGS_KEY}\Config" "InstallFolder"
  ${EndIf}
  DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}\Config"
  DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Quorvane"
SectionEnd
