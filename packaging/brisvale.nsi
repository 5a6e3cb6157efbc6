; Installer of the packaged folder for the current user (no administrator rights: the
; program writes its configuration file and the backends write their logs in the folder).
;   makensis -DVERSION=1.0.0 -DSTAGE=<package folder> -DOUTFILE=<setup.exe> brisvale.nsi
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
!ifndef OUTFILE
  !define OUTFILE "brisvale-${VERSION}-setup.exe"
!endif

Name "brisvale ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
; The program cuts its own path at the first "brisvale" to find FileSystemFolders, so the
; folder it lives in must not carry that word.
InstallDir "$LOCALAPPDATA\Morvane\QelTsn"
InstallDirRegKey HKCU "Software\Morvane\QelTsn\Install" "Folder"
SetCompressor /SOLID lzma

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "brisvale"
VIAddVersionKey "FileDescription" "brisvale installer"
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

Section "brisvale"
  SetOutPath "$INSTDIR"
  File "${STAGE}/brisvale.exe"
  File /nonfatal "${STAGE}/dravik.exe"
  File "${STAGE}/README.txt"
  ; What the user may have changed stays as it is on a reinstall.
  SetOverwrite off
  File "${STAGE}/qel-configuration.txt"
  File /r "${STAGE}/FileSystemFolders"
  SetOverwrite on

  WriteRegStr HKCU "Software\Morvane\QelTsn\Install" "Folder" "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; Shortcuts start in the install folder: the program resolves its files there.
  CreateDirectory "$SMPROGRAMS\brisvale"
  CreateShortCut "$SMPROGRAMS\brisvale\brisvale.lnk" "$INSTDIR\brisvale.exe"
  CreateShortCut "$SMPROGRAMS\brisvale\Uninstall brisvale.lnk" "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall\brisvale" "DisplayName" "brisvale ${VERSION}"
  WriteRegStr HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall\brisvale" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall\brisvale" "Publisher" "Morvane"
  WriteRegStr HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall\brisvale" "UninstallString" '"$INSTDIR\uninstall.exe"'
SectionEnd

; The programs go; the configuration file and FileSystemFolders (startup files, logs,
; repositories) are the user's data and stay.
Section "Uninstall"
  Delete "$INSTDIR\brisvale.exe"
  Delete "$INSTDIR\dravik.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\brisvale\brisvale.lnk"
  Delete "$SMPROGRAMS\brisvale\Uninstall brisvale.lnk"
  RMDir "$SMPROGRAMS\brisvale"
  DeleteRegKey HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall\brisvale"
  DeleteRegKey HKCU "Software\Morvane\QelTsn\Install"
SectionEnd
