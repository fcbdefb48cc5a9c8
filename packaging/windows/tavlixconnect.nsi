; The Windows installer (makensis from Debian's nsis; scripts/make-packages
; windows runs it):
;   makensis -DVERSION=x.y.z -DTOOLBAR_EXE=... -DCLI_EXE=... -DHELP_PAGE=...
;            -DLOC_INI=... -DLICENSE_FILE=... -DNOTICES_DIR=... -DOUT_FILE=...
;            tavlixconnect.nsi
; Installs TavlixConnect.exe, tavlix.exe, the help page, the licence and the
; licence notices of the libraries built into the programs into the program
; files folder, makes the program data folder (the machine default settings
; and the localisation file with the built-in texts), a Start-menu shortcut
; and the start at logon (the all-users Startup folder), and registers the
; uninstaller with the system's list of programs. The uninstaller removes the
; program and its shortcuts; the settings, the localisation file and the
; pictures stay.
;
; Silent roll-out: /S, with /SAVETO=<folder> and /FORMAT=png|jpeg|pdf|board
; written to the machine default settings file; /D=<folder> installs
; elsewhere. Upgrade and uninstall first ask every running toolbar to end as
; at logout, then end what is left by force; a file still in use is replaced
; or removed at the next restart (exit code 3010 then).
;
; The program data folder is the administrators': ordinary users read it and
; write nothing there (each user's own settings live in their own profile).
; A folder found there that is a link, or that an ordinary user made, is
; removed without following it and made anew.
;
; A 64-bit installer for the 64-bit programs (and for Wine without its 32-bit part).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define PRODUCT "Tavlix Connect"
!define PUBLISHER "Orvane Tavlix"
!define VENDOR_DIR "Orvane Tavlix"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TavlixConnect"
!define SETTINGS_FILE "TavlixConnect_setup.ini"
!define LOC_FILE "TavlixConnect_loc.ini"
; The message every toolbar answers as it answers the session's end
; (src/ui_win32/toolbar_window.cpp registers the same name).
!define END_MESSAGE "TavlixConnect.EndRequest"
; Well-known accounts: local system, Administrators, Users.
!define SID_SYSTEM "*S-1-5-18"
!define SID_ADMINS "*S-1-5-32-544"
!define SID_USERS "*S-1-5-32-545"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\${VENDOR_DIR}\TavlixConnect"
ShowInstDetails show
ShowUninstDetails show

; The installer's own version resource.
VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (C) 2026 the TavlixConnect developers. Apache-2.0."

Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Var SaveTo        ; /SAVETO= value
Var SaveToGiven   ; 1 when /SAVETO= was given
Var FormatCode    ; "saveprm" for /FORMAT=, empty when not given
Var InstallerSid  ; the installing account's SID (a pointer), 0 when unknown

; ---------------------------------------------------------------------------
; Functions both the installer and the uninstaller use.

; Fails the whole run with a message naming what failed and exit code 2. A
; silent run shows no message: it writes it into TavlixConnect_setup_error.txt
; in the installing account's temporary folder.
!macro FAIL text
  DetailPrint "${text}"
  ${If} ${Silent}
    FileOpen $9 "$TEMP\TavlixConnect_setup_error.txt" w
    FileWrite $9 "${text}$\r$\n"
    FileClose $9
  ${EndIf}
  MessageBox MB_OK|MB_ICONSTOP "${text}" /SD IDOK
  SetErrorLevel 2
  Abort "${text}"
!macroend

; icacls with the given arguments; a failure aborts, naming what failed.
; Uses $1.
!macro ICACLS arguments what
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" ${arguments}'
  Pop $1
  ${If} $1 != 0
    !insertmacro FAIL "icacls could not ${what} (result $1)."
  ${EndIf}
!macroend

!macro SHARED_FUNCTIONS un
; Whether a TavlixConnect.exe runs in any session: $0 1 or 0.
Function ${un}ToolbarRuns
  Push $1
  Push $2
  Push $3
  StrCpy $0 0
  System::Call 'kernel32::CreateToolhelp32Snapshot(i 2, i 0) p .r1'
  ${If} $1 != -1
    ; PROCESSENTRY32W: 568 bytes, the exe name at offset 44.
    System::Alloc 568
    Pop $2
    System::Call '*$2(i 568)'
    System::Call 'kernel32::Process32FirstW(p r1, p r2) i .r3'
    ${DoWhile} $3 <> 0
      System::Call '*$2(i, i, i, i, l, i, i, i, i, i, &w260 .r3)'
      ${If} $3 == "TavlixConnect.exe"
        StrCpy $0 1
        ${Break}
      ${EndIf}
      System::Call 'kernel32::Process32NextW(p r1, p r2) i .r3'
    ${Loop}
    System::Free $2
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

; Waits up to $0 tenths of a second for every toolbar to end: $0 1 while
; one still runs, else 0.
Function ${un}WaitToolbarsGone
  Push $1
  StrCpy $1 $0
  ${Do}
    Call ${un}ToolbarRuns
    ${If} $0 == 0
    ${OrIf} $1 <= 0
      ${Break}
    ${EndIf}
    Sleep 100
    IntOp $1 $1 - 1
  ${Loop}
  Pop $1
FunctionEnd

; Ends every running toolbar before its files change: the message that the
; toolbar answers as it answers logout (its settings saved, a clean end),
; sent to every top-level window; then up to 15 s for the processes of all
; sessions to end; then the rest are ended by force.
Function ${un}EndToolbars
  Push $0
  Push $1
  Call ${un}ToolbarRuns
  ${If} $0 == 1
    DetailPrint "Ending the running toolbars"
    System::Call 'user32::RegisterWindowMessageW(w "${END_MESSAGE}") i .r1'
    ${If} $1 <> 0
      ; SMTO_ABORTIFHUNG, at most 2 s a window (the toolbars go on ending after).
      System::Call 'user32::SendMessageTimeoutW(p ${HWND_BROADCAST}, i r1, p 0, p 0, i 2, i 2000, p 0)'
    ${EndIf}
    StrCpy $0 150
    Call ${un}WaitToolbarsGone
    ${If} $0 == 1
      DetailPrint "Toolbars still running (other sessions or not answering): ending them"
      nsExec::ExecToLog '"$SYSDIR\taskkill.exe" /F /IM TavlixConnect.exe'
      Pop $1
      StrCpy $0 50
      Call ${un}WaitToolbarsGone
    ${EndIf}
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro SHARED_FUNCTIONS ""
!insertmacro SHARED_FUNCTIONS "un."

; ---------------------------------------------------------------------------
; The program data folder.

; The installing account's own SID (an administrator, as the installer runs
; elevated), kept for the whole run: $InstallerSid, 0 when unknown.
Function FindInstallerSid
  Push $0
  Push $1
  Push $2
  StrCpy $InstallerSid 0
  System::Call 'kernel32::GetCurrentProcess() p .r0'
  System::Call 'advapi32::OpenProcessToken(p r0, i 8, *p .r0) i .r1' ; TOKEN_QUERY
  ${If} $1 <> 0
    System::Alloc 512
    Pop $2
    System::Call 'advapi32::GetTokenInformation(p r0, i 1, p r2, i 512, *i .r1) i .r1' ; TokenUser
    ${If} $1 <> 0
      System::Call '*$2(p .s)' ; TOKEN_USER.User.Sid
      Pop $InstallerSid
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r0)'
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; What stands at path $0: $1 "missing", "link" (a reparse point), "foreign"
; (owned by none of Administrators, the local system and the installing
; administrator) or "trusted".
Function Inspect
  Push $2
  Push $3
  Push $4
  System::Call 'kernel32::GetFileAttributesW(w r0) i .r2'
  ${If} $2 = -1
    StrCpy $1 "missing"
  ${Else}
    IntOp $3 $2 & 0x400 ; FILE_ATTRIBUTE_REPARSE_POINT
    ${If} $3 <> 0
      StrCpy $1 "link"
    ${Else}
      ; GetNamedSecurityInfoW(path, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, ..., &descriptor)
      StrCpy $1 "foreign"
      System::Call 'advapi32::GetNamedSecurityInfoW(w r0, i 1, i 1, *p .r3, p 0, p 0, p 0, *p .r4) i .r2'
      ${If} $2 = 0
        System::Call 'advapi32::IsWellKnownSid(p r3, i 26) i .r2' ; WinBuiltinAdministratorsSid
        ${If} $2 = 0
          System::Call 'advapi32::IsWellKnownSid(p r3, i 22) i .r2' ; WinLocalSystemSid
        ${EndIf}
        ${If} $2 = 0
        ${AndIf} $InstallerSid != 0
          System::Call 'advapi32::EqualSid(p r3, p $InstallerSid) i .r2'
        ${EndIf}
        ${If} $2 <> 0
          StrCpy $1 "trusted"
        ${EndIf}
        System::Call 'kernel32::LocalFree(p r4)'
      ${EndIf}
    ${EndIf}
  ${EndIf}
  Pop $4
  Pop $3
  Pop $2
FunctionEnd

; Removes the link (reparse point: junction, symbolic link) at $0 itself,
; never its target: opened as a link and deleted on close. $1 "missing" when
; it went. (Wine removes nothing this way: its links stay, and the install
; stops there.)
Function RemoveLink
  Push $2
  ; DELETE; FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_DELETE_ON_CLOSE
  System::Call 'kernel32::CreateFileW(w r0, i 0x10000, i 7, p 0, i 3, i 0x06200000, p 0) p .r2'
  ${If} $2 != -1
    System::Call 'kernel32::CloseHandle(p r2)'
  ${EndIf}
  Pop $2
  Call Inspect
FunctionEnd

; Removes what stands at path $0 without following any link in it: a link
; is removed itself (RemoveLink), a folder's content goes first. Whatever
; cannot be removed stays.
Function RemoveNoFollow
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  System::Call 'kernel32::GetFileAttributesW(w r0) i .r1'
  ${If} $1 <> -1
    ; Read-only or system would refuse the removal.
    System::Call 'kernel32::SetFileAttributesW(w r0, i 0x80)'
    IntOp $2 $1 & 0x10 ; FILE_ATTRIBUTE_DIRECTORY
    IntOp $3 $1 & 0x400 ; FILE_ATTRIBUTE_REPARSE_POINT
    ${If} $3 <> 0
      Call RemoveLink
    ${ElseIf} $2 <> 0
      FindFirst $4 $5 "$0\*"
      ${DoWhile} $5 != ""
        ${If} $5 != "."
        ${AndIf} $5 != ".."
          Push $0
          StrCpy $0 "$0\$5"
          Call RemoveNoFollow
          Pop $0
        ${EndIf}
        FindNext $4 $5
      ${Loop}
      FindClose $4
      System::Call 'kernel32::RemoveDirectoryW(w r0)'
    ${Else}
      System::Call 'kernel32::DeleteFileW(w r0)'
    ${EndIf}
  ${EndIf}
  ClearErrors
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

; Moves what an ordinary user made at $0 (no link) out of the way, under a
; new name beside it, and removes it there without following the links it
; may hold; what cannot be removed stays under that name, which no program
; reads. Aborts when it cannot be moved.
Function PutAside
  Push $1
  Push $2
  Push $3
  StrCpy $2 0
  ${Do}
    System::Call 'kernel32::GetTickCount() i .r3'
    StrCpy $1 "$0.untrusted-$3"
    System::Call 'kernel32::MoveFileExW(w r0, w r1, i 0) i .r3'
    ${If} $3 <> 0
      ${Break}
    ${EndIf}
    IntOp $2 $2 + 1
    ${If} $2 >= 5
      !insertmacro FAIL "Cannot move $0 out of the way (an ordinary user made it)."
    ${EndIf}
    Sleep 50
  ${Loop}
  DetailPrint "Moved $0 out of the way (an ordinary user made it)"
  Push $0
  StrCpy $0 $1
  Call RemoveNoFollow
  Pop $0
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

; What a link or an ordinary user's file or folder at $0 ($1 "link" or
; "foreign", as Inspect tells) becomes: a link is removed, never followed
; (and the install stops when it stays); the rest is put aside.
Function Untrust
  ${If} $1 == "link"
    DetailPrint "Removing the link $0"
    Call RemoveLink
    ${If} $1 != "missing"
      !insertmacro FAIL "$0 is a link (junction or symbolic link) that cannot be removed without following it: remove it and run the installer again."
    ${EndIf}
  ${ElseIf} $1 == "foreign"
    Call PutAside
  ${EndIf}
FunctionEnd

; Makes sure folder $0 is the administrators' own folder: one that is a link
; or that somebody else owns is removed or put aside and made anew; a folder
; made here gets Administrators as its owner. Aborts on failure.
Function TrustedFolder
  Push $1
  Push $2
  StrCpy $2 0
  ${Do}
    Call Inspect
    ${If} $1 == "trusted"
      ${Break}
    ${EndIf}
    ${If} $2 >= 3
      !insertmacro FAIL "Cannot make the folder $0 safe (it is $1 again after three tries)."
    ${EndIf}
    IntOp $2 $2 + 1
    Call Untrust
    System::Call 'kernel32::CreateDirectoryW(w r0, p 0) i .r1'
    ${If} $1 <> 0
      ; Ours now; its owner may be the installing account: make it Administrators.
      !insertmacro ICACLS '"$0" /setowner ${SID_ADMINS} /L /Q' "set the owner of $0"
    ${EndIf}
  ${Loop}
  Pop $2
  Pop $1
FunctionEnd

; A file in the program data folder that is a link or that an ordinary user
; wrote is not the administrators': removed or put aside, so that the
; machine's texts and settings are the administrators' again. $0 the file.
Function DistrustFile
  Push $1
  Call Inspect
  Call Untrust
  Pop $1
FunctionEnd

; "<program data>\Orvane Tavlix\TavlixConnect": the vendor folder keeps the
; rights it inherits; ours gets its own: full control for the local system
; and Administrators, read for Users, nothing inherited from above (which
; would let Users create files in it). Its files and folders take the same
; rights and Administrators as their owner.
Function MakeDataFolder
  Push $0
  Push $1
  Call FindInstallerSid
  StrCpy $0 "$APPDATA\${VENDOR_DIR}"
  Call TrustedFolder
  StrCpy $0 "$APPDATA\${VENDOR_DIR}\TavlixConnect"
  Call TrustedFolder
  Push $0
  StrCpy $0 "$0\${SETTINGS_FILE}"
  Call DistrustFile
  Pop $0
  Push $0
  StrCpy $0 "$0\${LOC_FILE}"
  Call DistrustFile
  Pop $0
  ; What the folder holds from an earlier version (Users had Modify there,
  ; and files a user wrote were that user's): Administrators own it all, and
  ; everything takes its rights from the folder alone.
  !insertmacro ICACLS '"$0" /setowner ${SID_ADMINS} /T /L /Q' "set the owner of $0"
  !insertmacro ICACLS '"$0" /reset /T /L /Q' "reset the rights in $0"
  !insertmacro ICACLS '"$0" /inheritance:r /grant:r ${SID_SYSTEM}:(OI)(CI)F ${SID_ADMINS}:(OI)(CI)F ${SID_USERS}:(OI)(CI)RX /L /Q' "set the rights of $0"
  Pop $1
  Pop $0
FunctionEnd

; The machine default settings: /SAVETO= and /FORMAT= as the programs read
; them (section "setting", keys "savepath" and "saveprm"), other keys kept.
Function WriteMachineSettings
  Push $0
  Push $1
  StrCpy $0 "$APPDATA\${VENDOR_DIR}\TavlixConnect\${SETTINGS_FILE}"
  ${If} $FormatCode != ""
    ClearErrors
    WriteINIStr "$0" "setting" "saveprm" "$FormatCode"
    ${If} ${Errors}
      !insertmacro FAIL "Cannot write the format into $0."
    ${EndIf}
  ${EndIf}
  ${If} $SaveToGiven == 1
    ClearErrors
    WriteINIStr "$0" "setting" "savepath" "$SaveTo"
    ReadINIStr $1 "$0" "setting" "savepath"
    ; The file is in the system's code page: a name outside it would come
    ; back changed and name another folder.
    ${If} ${Errors}
    ${OrIf} $1 != $SaveTo
      !insertmacro FAIL "The save folder $SaveTo cannot be kept in $0 (a character outside the system's code page?)."
    ${EndIf}
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

; Puts program file $1 (a name in $INSTDIR) in place from the staged copy
; $1.new: the old one is deleted; when it is still in use, the new one takes
; its place at the next restart.
Function PlaceProgramFile
  Delete "$INSTDIR\$1"
  ClearErrors
  Rename /REBOOTOK "$INSTDIR\$1.new" "$INSTDIR\$1"
  ${If} ${Errors}
    !insertmacro FAIL "Cannot put $INSTDIR\$1 in place, not even at the next restart."
  ${EndIf}
FunctionEnd

!macro PROGRAM_FILE source name
  Delete "$INSTDIR\${name}.new"
  File "/oname=${name}.new" "${source}"
  StrCpy $1 "${name}"
  Call PlaceProgramFile
!macroend

; ---------------------------------------------------------------------------

Function .onInit
  SetShellVarContext all
  SetRegView 64
  Delete "$TEMP\TavlixConnect_setup_error.txt"
  StrCpy $SaveToGiven 0
  StrCpy $FormatCode ""
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/SAVETO=" $SaveTo
  ${IfNot} ${Errors}
    StrCpy $SaveToGiven 1
    StrLen $R1 $SaveTo
    ${If} $R1 > 1023
      !insertmacro FAIL "/SAVETO= is longer than 1023 characters: the settings file cannot keep it."
    ${EndIf}
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/FORMAT=" $R1
  ${IfNot} ${Errors}
    ${If} $R1 == "png"
      StrCpy $FormatCode 2
    ${ElseIf} $R1 == "jpeg"
      StrCpy $FormatCode 1
    ${ElseIf} $R1 == "pdf"
      StrCpy $FormatCode 3
    ${ElseIf} $R1 == "board"
      StrCpy $FormatCode 0
    ${Else}
      !insertmacro FAIL "/FORMAT=$R1 is none of png, jpeg, pdf, board."
    ${EndIf}
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
  Delete "$TEMP\TavlixConnect_setup_error.txt"
FunctionEnd

Section "Install"
  Call EndToolbars
  SetOutPath "$INSTDIR"
  !insertmacro PROGRAM_FILE "${TOOLBAR_EXE}" "TavlixConnect.exe"
  !insertmacro PROGRAM_FILE "${CLI_EXE}" "tavlix.exe"
  File "/oname=TavlixConnect_help.html" "${HELP_PAGE}"
  File "/oname=LICENSE.txt" "${LICENSE_FILE}"
  SetOutPath "$INSTDIR\licences"
  File "${NOTICES_DIR}/*.txt"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The program data folder ($APPDATA is the all-users one here). A
  ; localisation file already there may hold the administrator's own texts
  ; and is kept.
  Call MakeDataFolder
  SetOutPath "$APPDATA\${VENDOR_DIR}\TavlixConnect"
  SetOverwrite off
  File "/oname=${LOC_FILE}" "${LOC_INI}"
  SetOverwrite on
  Call WriteMachineSettings
  SetOutPath "$INSTDIR"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\TavlixConnect.exe"
  CreateShortcut "$SMSTARTUP\${PRODUCT}.lnk" "$INSTDIR\TavlixConnect.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\TavlixConnect.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "License" "Apache-2.0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "https://www.apache.org/licenses/LICENSE-2.0"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  ${If} ${RebootFlag}
    DetailPrint "Files in use are replaced at the next restart."
    SetErrorLevel 3010
  ${EndIf}
SectionEnd

Section "Uninstall"
  Call un.EndToolbars
  Delete "$SMSTARTUP\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ; Whatever is still in use goes at the next restart; the error flag stays
  ; only when a file can neither be removed nor be scheduled.
  ClearErrors
  Delete /REBOOTOK "$INSTDIR\TavlixConnect.exe"
  Delete /REBOOTOK "$INSTDIR\tavlix.exe"
  Delete /REBOOTOK "$INSTDIR\TavlixConnect.exe.new"
  Delete /REBOOTOK "$INSTDIR\tavlix.exe.new"
  Delete /REBOOTOK "$INSTDIR\TavlixConnect_help.html"
  Delete /REBOOTOK "$INSTDIR\LICENSE.txt"
  Delete /REBOOTOK "$INSTDIR\licences\*.txt"
  Delete /REBOOTOK "$INSTDIR\uninstall.exe"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Some files of ${PRODUCT} in $INSTDIR could not be removed; it stays in the list of programs." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  RMDir /REBOOTOK "$INSTDIR\licences"
  RMDir /REBOOTOK "$INSTDIR"
  RMDir "$PROGRAMFILES64\${VENDOR_DIR}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${If} ${RebootFlag}
    SetErrorLevel 3010
  ${EndIf}
SectionEnd
