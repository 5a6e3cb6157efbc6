; Installer of a packaged folder for the current user (no administrator rights: the
; program writes its configuration file and the backends write their logs in the folder).
;   makensis -DVERSION=1.0.0 -DSTAGE=<package folder> -DOUTFILE=<setup.exe> [-DDEMO] brisvale.nsi
; The release installer carries no backend. The demo installer (-DDEMO) also carries the
; stand-in backend as dravik.exe: it puts it only where no dravik.exe is (or over the
; stand-in it put there before), and records in stand-in-backend.ini the size and time of
; the file it put, so that it replaces or removes only that very file, never a backend of
; the user's. Neither touches the configuration file or FileSystemFolders once they exist.
; A 64-bit installer for the 64-bit program (it also runs where only 64-bit Wine is installed).
Target amd64-unicode
!include "StrFunc.nsh"
${StrStr}

!ifndef VERSION
  !error "VERSION is not defined"
!endif
!ifndef STAGE
  !error "STAGE is not defined"
!endif

!ifdef DEMO
  !define PRODUCT "brisvale demo"
  !define KEY_SUFFIX "Demo"
  !define DEFAULT_FOLDER "QelTsnDemo"
!else
  !define PRODUCT "brisvale"
  !define KEY_SUFFIX ""
  !define DEFAULT_FOLDER "QelTsn"
!endif
!ifndef OUTFILE
  !define OUTFILE "${PRODUCT}-${VERSION}-setup.exe"
!endif
!define INSTALL_KEY "Software\Morvane\QelTsn\Install${KEY_SUFFIX}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define STAND_IN_RECORD "stand-in-backend.ini"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
; The program cuts its own path at the first "brisvale" to find FileSystemFolders, so the
; folder it lives in must not carry that word.
InstallDir "$LOCALAPPDATA\Morvane\${DEFAULT_FOLDER}"
InstallDirRegKey HKCU "${INSTALL_KEY}" "Folder"
SetCompressor /SOLID lzma

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "Morvane"
VIAddVersionKey "LegalCopyright" "Morvane"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onVerifyInstDir
  ${StrStr} $0 "$INSTDIR" "brisvale"
  StrCmp $0 "" +2
    Abort
FunctionEnd

; $R1 size and $R2, $R3 the last-write time (high, low) of $INSTDIR\dravik.exe.
; $R0 is 1 when that file is the stand-in recorded in stand-in-backend.ini, else 0.
!macro STAND_IN_CHECK UN
Function ${UN}IsRecordedStandIn
  StrCpy $R0 0
  IfFileExists "$INSTDIR\dravik.exe" 0 done
  FileOpen $0 "$INSTDIR\dravik.exe" r
  FileSeek $0 0 END $R1
  FileClose $0
  GetFileTime "$INSTDIR\dravik.exe" $R2 $R3
  ReadINIStr $1 "$INSTDIR\${STAND_IN_RECORD}" "dravik.exe" "Size"
  ReadINIStr $2 "$INSTDIR\${STAND_IN_RECORD}" "dravik.exe" "TimeHigh"
  ReadINIStr $3 "$INSTDIR\${STAND_IN_RECORD}" "dravik.exe" "TimeLow"
  StrCmp $1 "" done
  StrCmp $1 $R1 0 done
  StrCmp $2 $R2 0 done
  StrCmp $3 $R3 0 done
  StrCpy $R0 1
done:
FunctionEnd
!macroend
!insertmacro STAND_IN_CHECK ""
!insertmacro STAND_IN_CHECK "un."

Section "${PRODUCT}"
  ; A silent install (/D=) never shows the directory page and its check.
  ${StrStr} $0 "$INSTDIR" "brisvale"
  StrCmp $0 "" folder_ok
    MessageBox MB_ICONSTOP "The folder must not contain the word $\"brisvale$\": $INSTDIR" /SD IDOK
    Abort
folder_ok:
  SetOutPath "$INSTDIR"
  File "${STAGE}/brisvale.exe"
  File "${STAGE}/README.txt"
  ; What the user may have changed stays as it is on a reinstall.
  SetOverwrite off
  File "${STAGE}/qel-configuration.txt"
  File /r "${STAGE}/FileSystemFolders"
  SetOverwrite on

!ifdef DEMO
  Call IsRecordedStandIn
  StrCmp $R0 1 put_stand_in
  ; A record whose file has since been replaced (by the real backend) is void.
  Delete "$INSTDIR\${STAND_IN_RECORD}"
  IfFileExists "$INSTDIR\dravik.exe" stand_in_done
put_stand_in:
  File "${STAGE}/dravik.exe"
  Call IsRecordedStandIn
  WriteINIStr "$INSTDIR\${STAND_IN_RECORD}" "dravik.exe" "Size" $R1
  WriteINIStr "$INSTDIR\${STAND_IN_RECORD}" "dravik.exe" "TimeHigh" $R2
  WriteINIStr "$INSTDIR\${STAND_IN_RECORD}" "dravik.exe" "TimeLow" $R3
stand_in_done:
!endif

  WriteRegStr HKCU "${INSTALL_KEY}" "Folder" "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; Shortcuts start in the install folder: the program resolves its files there.
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\brisvale.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Morvane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
SectionEnd

; The programs go; the configuration file and FileSystemFolders (startup files, logs,
; repositories) are the user's data and stay, and so does any dravik.exe but the recorded
; stand-in (a release installed over the demo removes that one too).
Section "Uninstall"
  Delete "$INSTDIR\brisvale.exe"
  Delete "$INSTDIR\README.txt"
  Call un.IsRecordedStandIn
  StrCmp $R0 1 0 keep_backend
    Delete "$INSTDIR\dravik.exe"
keep_backend:
  Delete "$INSTDIR\${STAND_IN_RECORD}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "${INSTALL_KEY}"
SectionEnd
