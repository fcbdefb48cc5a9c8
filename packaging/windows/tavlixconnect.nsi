; The Windows installer (makensis from Debian's nsis; scripts/make-packages
; windows runs it):
;   makensis -DVERSION=x.y.z -DTOOLBAR_EXE=... -DCLI_EXE=... -DHELP_PAGE=...
;            -DLOC_INI=... -DOUT_FILE=... tavlixconnect.nsi
; Installs TavlixConnect.exe, tavlix.exe and the help page into the program
; files folder where the programs look for them, makes the program data folder
; (settings and the localisation file with the built-in texts), a Start-menu
; shortcut and the start at logon (the all-users Startup folder), and
; registers the uninstaller with the system's list of programs. The
; uninstaller removes the program and its shortcuts; the settings, the
; localisation file and the pictures stay. /S installs and uninstalls silently.
; A 64-bit installer for the 64-bit programs (and for Wine without its 32-bit part).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define PRODUCT "Tavlix Connect"
!define VENDOR_DIR "Orvane Tavlix"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TavlixConnect"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\${VENDOR_DIR}\TavlixConnect"
ShowInstDetails show
ShowUninstDetails show

Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File "/oname=TavlixConnect.exe" "${TOOLBAR_EXE}"
  File "/oname=tavlix.exe" "${CLI_EXE}"
  File "/oname=TavlixConnect_help.html" "${HELP_PAGE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The program data folder ($APPDATA is the all-users one here). Every user
  ; may change the settings kept there; a localisation file already there may
  ; hold the user's own texts and is kept.
  CreateDirectory "$APPDATA\${VENDOR_DIR}\TavlixConnect"
  nsExec::Exec 'icacls "$APPDATA\${VENDOR_DIR}\TavlixConnect" /grant *S-1-5-32-545:(OI)(CI)M'
  Pop $0
  SetOutPath "$APPDATA\${VENDOR_DIR}\TavlixConnect"
  SetOverwrite off
  File "/oname=TavlixConnect_loc.ini" "${LOC_INI}"
  SetOverwrite on
  SetOutPath "$INSTDIR"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\TavlixConnect.exe"
  CreateShortcut "$SMSTARTUP\${PRODUCT}.lnk" "$INSTDIR\TavlixConnect.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Orvane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\TavlixConnect.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SMSTARTUP\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\TavlixConnect.exe"
  Delete "$INSTDIR\tavlix.exe"
  Delete "$INSTDIR\TavlixConnect_help.html"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  RMDir "$PROGRAMFILES64\${VENDOR_DIR}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
