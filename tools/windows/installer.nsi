; The installer of the editor, built by tools/windows/build.sh:
;   makensis -DVERSION=<version> -DSTAGE=<folder with the programs> -DOUTFILE=<setup.exe>
; It installs the two programs under Program Files with a Start-menu entry and an uninstaller.
; The uninstaller removes only what the installer wrote: the data directory the editor unpacks
; beside itself (XMLP) and everything in the game's mods directory stay.
; A 64-bit installer, as the program is: it runs where the program runs, also under wine64.
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"

!define PRODUCT "Velmora Cindral"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VelmoraCindral"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1031 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1031 "FileDescription" "${PRODUCT} Installation"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=1031 "LegalCopyright" "${PRODUCT}"

!define MUI_ICON "${STAGE}\velmora-cindral.ico"
!define MUI_UNICON "${STAGE}\velmora-cindral.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\velmora-cindral.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

Section "Programm"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${STAGE}\velmora-cindral.exe"
    File "${STAGE}\velmora-dataprep.exe"
    File "${STAGE}\velmora-edits.exe"
    File "${STAGE}\velmora-cindral.ico"
    WriteUninstaller "$INSTDIR\Deinstallieren.exe"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\velmora-cindral.exe" "" \
        "$INSTDIR\velmora-cindral.ico"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velmora-cindral.ico"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Deinstallieren.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Deinstallieren.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$INSTDIR\velmora-cindral.exe"
    Delete "$INSTDIR\velmora-dataprep.exe"
    Delete "$INSTDIR\velmora-edits.exe"
    Delete "$INSTDIR\velmora-cindral.ico"
    Delete "$INSTDIR\Deinstallieren.exe"
    ; Not /r: the folder goes only when nothing of the user's is left in it.
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
