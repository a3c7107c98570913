; TAMU's installer: one user's TAMU, installed without administrator rights into
; %LOCALAPPDATA%\Programs\TAMU, with a Start-menu entry and an uninstaller. The player's data
; folder (DAT) is TAMU's own: the installer never writes it and the uninstaller leaves it.
; makensis -INPUTCHARSET UTF8 -DVERSION=<x.y> -DSTAGE=<installed TAMU> -DOUTFILE=<setup.exe>
Unicode true
; TAMU is a 64-bit program; so is its installer (and wine64 runs it in the tests)
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"

Name "TAMU ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\TAMU"
InstallDirRegKey HKCU "Software\TAMU" "InstallDir"
BrandingText "TAMU ${VERSION}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TAMU"

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\tamu.exe"
!define MUI_FINISHPAGE_RUN_TEXT "TAMU を起動する"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Section "TAMU"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\TAMU.lnk" "$INSTDIR\tamu.exe"
  WriteRegStr HKCU "Software\TAMU" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "TAMU"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tamu.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\TAMU.lnk"
  ; What the installer wrote, and nothing else: DAT keeps the player's settings and items.
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\sqldrivers"
  RMDir /r "$INSTDIR\imageformats"
  RMDir /r "$INSTDIR\fonts"
  RMDir /r "$INSTDIR\translations"
  RMDir /r "$INSTDIR\share"
  Delete "$INSTDIR\*.exe"
  Delete "$INSTDIR\*.dll"
  Delete "$INSTDIR\README.txt"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "Software\TAMU"
SectionEnd
