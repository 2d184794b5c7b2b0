; The Windows installer of Velmont Reports, made by scripts/package-windows:
;   makensis -DVERSION=1.0.0 -DSTAGE=dir -DFILES=files.nsh -DREMOVE=remove.nsh
;            -DOUTFILE=velmont-setup-1.0.0.exe velmont.nsi
; STAGE holds the installed tree (programs, DLLs, plugins, doc\); FILES and
; REMOVE list its files to install and to remove, so that the uninstaller
; removes exactly what was installed and never a file of the school's.
;
; Silently: velmont-setup-VERSION.exe /S [/SCHOOL=X:\school\data] [/D=C:\folder]
; The school's folder is where the Start-menu entry starts the program.
; A 64-bit installer: it installs a 64-bit program, and runs where only 64-bit
; Windows programs can (wine64 without its 32-bit half).
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"

!define PRODUCT "Velmont Reports"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin

Var SchoolDir

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${STAGE}\doc\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
; The school's data folder: the folder of the administration system's tables.
!define MUI_PAGE_HEADER_TEXT "The school's data folder"
!define MUI_PAGE_HEADER_SUBTEXT "Where the administration system keeps its tables (ststuden.dbf and the others)."
!define MUI_DIRECTORYPAGE_TEXT_TOP "The Start-menu entry opens the program on the school's data in this folder. It may be on a mapped drive (S:\school) or a network path (\\server\share\school). The program reads the school's tables there; installing and removing it never changes them."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "School data folder"
!define MUI_DIRECTORYPAGE_VARIABLE $SchoolDir
!define MUI_DIRECTORYPAGE_VERIFYONLEAVE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "${PRODUCT} needs 64-bit Windows."
    Abort
  ${EndIf}
  SetRegView 64
  StrCpy $SchoolDir "$DOCUMENTS"
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/SCHOOL=" $1
  ${IfNot} ${Errors}
    StrCpy $SchoolDir $1
  ${EndIf}
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The Start-menu entries for every user: the program, started in the school's
  ; folder, the guide and the uninstaller.
  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  SetOutPath "$SchoolDir"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\velmont.exe" "" "$INSTDIR\velmont.exe" 0
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\User guide.lnk" "$WINDIR\notepad.exe" '"$INSTDIR\doc\user-guide.md"'
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velmont.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\User guide.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  !include "${REMOVE}"
  Delete "$INSTDIR\uninstall.exe"
  ; Only an emptied folder goes: anything else a user put there stays.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
