; The Windows setup of Ordalis, built by scripts/windows-setup.sh with makensis:
;   makensis -DVERSION=1.18 -DSTAGE=<folder of the zip's files> -DFILES=<list.nsh> \
;            -DPICTURE=<164x314 bitmap> -DOUTFILE=<setup.exe> ordalis.nsi
; FILES is made from the same folder: one "Delete" or "RMDir" line a file or
; folder, deepest first, so the uninstaller removes what was installed and nothing else.
; Silent: Ordalis-Setup-<version>.exe /S [/D=C:\Anderer Ordner]; Deinstallieren.exe /S.

; A 64-bit setup for a 64-bit program: it sees the 64-bit Program Files and
; registry as they are, and runs where only 64-bit Wine is installed.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!macro Needs name
  !ifndef ${name}
    !error "${name} must be given with -D"
  !endif
!macroend
!insertmacro Needs VERSION
!insertmacro Needs STAGE
!insertmacro Needs FILES
!insertmacro Needs PICTURE
!insertmacro Needs OUTFILE

!define PRODUCT "Ordalis"
!define PUBLISHER "Ordalis-Team"
!define WEBSITE "https://www.example.org/ordalis"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ordalis"
; The uninstaller's name marks an installed copy: Ordalis then keeps its
; settings in %APPDATA%\Ordalis, never in the program folder.
!define UNINSTALLER "Deinstallieren.exe"
; Tastor takes a bare file name from its own folder: no quoting of a path with blanks.
!define BUTTON_FILE "Schaltfläche.ini"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1031 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1031 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1031 "FileDescription" "Installation von ${PRODUCT}"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${STAGE}\ordalis.ico"
!define MUI_UNICON "${STAGE}\ordalis.ico"
!define MUI_ABORTWARNING
!define MUI_WELCOMEFINISHPAGE_BITMAP "${PICTURE}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${PICTURE}"
!define MUI_WELCOMEPAGE_TEXT "Dieser Assistent installiert ${PRODUCT} ${VERSION}.$\r$\n$\r$\n\
${PRODUCT} macht aus einer kopierten Postanschrift einen Kontakt in ACT!. Ist ACT! \
installiert, bekommen seine Symbolleisten eine Schaltfläche für ${PRODUCT}.$\r$\n$\r$\n\
Schließen Sie ACT! vor der Installation.$\r$\n$\r$\n$_CLICK"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\LIESMICH.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_LINK "${WEBSITE}"
!define MUI_FINISHPAGE_LINK_LOCATION "${WEBSITE}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_COMPONENTSPAGE_TEXT_TOP "Ihre Einstellungen (ordalis.ini) und das Protokoll \
in $APPDATA\${PRODUCT} bleiben erhalten, außer Sie kreuzen das unten an."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "German"

; The button file Tastor reads, section BUTTON; INSTALL=1 adds, 0 removes.
; Written in the system's code page, as Tastor reads it.
!macro WriteButtonFile install
  Push $0
  FileOpen $0 "$INSTDIR\${BUTTON_FILE}" w
  FileWrite $0 "[BUTTON]$\r$\n"
  FileWrite $0 "INSTALL=${install}$\r$\n"
  FileWrite $0 "NAME=${PRODUCT}$\r$\n"
  FileWrite $0 "FILENAME=$INSTDIR\Ordalis.exe$\r$\n"
  FileWrite $0 "DESCRIPTION=Adresse aus der Zwischenablage als Kontakt übernehmen$\r$\n"
  FileWrite $0 "TOOLTIP=${PRODUCT}: Adresse aus der Zwischenablage$\r$\n"
  FileWrite $0 "ICONL=$INSTDIR\ordalis-gross.bmp$\r$\n"
  FileWrite $0 "ICONS=$INSTDIR\ordalis-klein.bmp$\r$\n"
  FileWrite $0 "CONTACT=1$\r$\n"
  FileWrite $0 "GROUP=1$\r$\n"
  FileClose $0
  Pop $0
!macroend

; Tastor changes nothing when ACT! is not installed, and never fails: its exit
; code says nothing, so it is not looked at.
!macro RunTastor
  DetailPrint "ACT!-Symbolleisten: $INSTDIR\${BUTTON_FILE}"
  ExecWait '"$INSTDIR\Tastor.exe" ${BUTTON_FILE}'
!macroend

; A running Ordalis.exe cannot be replaced or removed: Windows keeps it open.
; Asked before anything changes; silently the run ends with exit code 2.
!macro StopWhileRunning un
  Function ${un}StopWhileRunning
    ${IfNot} ${FileExists} "$INSTDIR\Ordalis.exe"
      Return
    ${EndIf}
    retry:
    ClearErrors
    FileOpen $0 "$INSTDIR\Ordalis.exe" a
    ${IfNot} ${Errors}
      FileClose $0
      Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${PRODUCT} läuft noch. Bitte ${PRODUCT} beenden und „Wiederholen“ wählen." \
      /SD IDCANCEL IDRETRY retry
    Abort
  FunctionEnd
!macroend
!insertmacro StopWhileRunning ""
!insertmacro StopWhileRunning "un."

Function .onInit
  SetRegView 64
  ; An update goes where the last installation went, unless /D names a folder.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} $INSTDIR == "$PROGRAMFILES64\${PRODUCT}"
    StrCpy $INSTDIR $0
  ${EndIf}
  Call StopWhileRunning
FunctionEnd

Section "${PRODUCT}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Ordalis.exe" "" \
    "$INSTDIR\ordalis.ico" 0 SW_SHOWNORMAL "" "Adresse aus der Zwischenablage nach ACT! übernehmen"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} deinstallieren.lnk" \
    "$INSTDIR\${UNINSTALLER}" "" "$INSTDIR\${UNINSTALLER}" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${WEBSITE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ordalis.ico"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; Last, so a failure before leaves no button that starts nothing. An update
  ; replaces the command in place: Tastor clears the old one first.
  !insertmacro WriteButtonFile 1
  !insertmacro RunTastor
SectionEnd

Function un.onInit
  SetRegView 64
  Call un.StopWhileRunning
FunctionEnd

Section "-un.${PRODUCT}"
  ; The command and its buttons go while Tastor is still there.
  !insertmacro WriteButtonFile 0
  !insertmacro RunTastor
  Delete "$INSTDIR\${BUTTON_FILE}"
  !include "${FILES}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: the user's own files in it stay.
  RMDir "$INSTDIR"

  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} deinstallieren.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; Not ticked, and so not run silently: settings outlive an uninstallation.
Section /o "un.Einstellungen und Protokoll entfernen" SecSettings
  SetShellVarContext current
  Delete "$APPDATA\${PRODUCT}\ordalis.ini"
  Delete "$APPDATA\${PRODUCT}\logfile.txt"
  RMDir "$APPDATA\${PRODUCT}"
SectionEnd
