; Orbelin's setup program. It makes the installation Orbelin and its uninstaller expect:
;   Program Files\Vantrel\Orbelin            Orbelin.exe, Uninstall.exe
;   Start menu (all users)\Vantrel\Orbelin.lnk, \Vantrel\Uninstall\Uninstall Orbelin.lnk
;   HKLM\SOFTWARE\Vantrel\App (default)      the maker's install counter, a string
; and registers Orbelin in the system's list of installed programs.
;
; makensis -DBINDIR=<folder with the executables> -DOUTFILE=<setup.exe> -DSRCDIR=<source root>

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Orbelin"
!define COMPANY "Vantrel"
!define VERSION "2.0.0"
!define COUNTER_KEY "SOFTWARE\${COMPANY}\App"
!define ARP_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${COMPANY}.${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES32\${COMPANY}\${PRODUCT}"
Icon "${SRCDIR}/resources/pictures/orbelin.ico"
BrandingText "${COMPANY}"
ShowInstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1036 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1036 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1036 "FileDescription" "Installation d'${PRODUCT}"
VIAddVersionKey /LANG=1036 "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1036 "ProductVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1036 "LegalCopyright" "© 2004-2026 ${COMPANY}"

LoadLanguageFile "${NSISDIR}/Contrib/Language files/French.nlf"

Page directory
Page instfiles

Function .onInit
    ; The uninstaller is a 32-bit program and sees the 32-bit registry: so does the setup.
    SetRegView 32
    SetShellVarContext all
FunctionEnd

Section "Orbelin"
    ; Installing over an installed Orbelin replaces its files but counts it once.
    ClearErrors
    ReadRegStr $0 HKLM "${ARP_KEY}" "UninstallString"
    ${If} ${Errors}
        ReadRegStr $1 HKLM "${COUNTER_KEY}" ""
        ${If} ${Errors}
            ; A number kept as a DWORD by an older installer, or no counter yet.
            ClearErrors
            ReadRegDWORD $1 HKLM "${COUNTER_KEY}" ""
            ${If} ${Errors}
                StrCpy $1 0
            ${EndIf}
        ${EndIf}
        IntOp $1 $1 + 1
        WriteRegStr HKLM "${COUNTER_KEY}" "" "$1"
    ${EndIf}

    SetOutPath "$INSTDIR"
    File "${BINDIR}/Orbelin.exe"
    File "${BINDIR}/Uninstall.exe"

    CreateDirectory "$STARTMENU\${COMPANY}\Uninstall"
    CreateShortcut "$STARTMENU\${COMPANY}\${PRODUCT}.lnk" "$INSTDIR\Orbelin.exe"
    CreateShortcut "$STARTMENU\${COMPANY}\Uninstall\Uninstall ${PRODUCT}.lnk" "$INSTDIR\Uninstall.exe"

    WriteRegStr HKLM "${ARP_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${ARP_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${ARP_KEY}" "Publisher" "${COMPANY}"
    WriteRegStr HKLM "${ARP_KEY}" "DisplayIcon" "$INSTDIR\Orbelin.exe,0"
    WriteRegStr HKLM "${ARP_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${ARP_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegDWORD HKLM "${ARP_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${ARP_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $2 $3 $4
    WriteRegDWORD HKLM "${ARP_KEY}" "EstimatedSize" $2
SectionEnd
