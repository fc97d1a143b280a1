; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer: per user, without administrator rights, into the user's own program
; folder, with a Start-menu entry and an uninstaller; `/S` installs silently and `/D=DIR` chooses
; the folder. The player's high scores and settings in %APPDATA%\Vorlanix are never touched.
; makensis -DVERSION=1.0.0 -DSTAGE=<folder of the files> -DICON=<vorlanix.ico> -DOUTFILE=<setup.exe>
; The game is a 64-bit program; so is its installer (and Wine needs no 32-bit half for it).
Target amd64-unicode
!include "MUI2.nsh"

Name "Vorlanix ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Vorlanix"
InstallDirRegKey HKCU "Software\Vorlanix" "InstallDir"
SetCompressor /SOLID lzma
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorlanix"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
; The finish page starts the game through the desktop's own shell, so it runs as the player who
; is logged in even when the installer was started as administrator: the game never runs elevated
; and writes its files into that player's %APPDATA%, not the administrator's.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartGameAsThePlayer
!insertmacro MUI_PAGE_LICENSE "${STAGE}\COPYING.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "Vorlanix"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "Vorlanix Setup"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" "GNU GPL, version 3 or later"

Function StartGameAsThePlayer
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\vorlanix.exe"'
FunctionEnd

Section "Vorlanix"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\vorlanix.exe"
  File "${STAGE}\vorlanix-qhs.exe"
  File "${STAGE}\SDL2.dll"
  File "${STAGE}\SDL2_mixer.dll"
  File "${STAGE}\README.txt"
  File "${STAGE}\COPYING.txt"
  SetOutPath "$INSTDIR\sound"
  File "${STAGE}\sound\*.wav"
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Vorlanix.lnk" "$INSTDIR\vorlanix.exe" "" "$INSTDIR\vorlanix.exe" 0
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "Software\Vorlanix" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Vorlanix"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vorlanix.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Vorlanix.lnk"
  Delete "$INSTDIR\sound\*.wav"
  RMDir "$INSTDIR\sound"
  Delete "$INSTDIR\vorlanix.exe"
  Delete "$INSTDIR\vorlanix-qhs.exe"
  Delete "$INSTDIR\SDL2.dll"
  Delete "$INSTDIR\SDL2_mixer.dll"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\COPYING.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "Software\Vorlanix"
SectionEnd
