; The Windows setup program: one file a parent double-clicks. In Spanish, per
; user without administrator rights by default, for every user when run as
; administrator; Start-menu entries, an optional desktop icon, an entry in the
; list of installed programs, and an uninstaller that keeps the child's book
; (it lives in %APPDATA%\Tintaro, never in the program's folder).
; scripts/windows.sh makes it:  makensis -DVERSION=… -DFILES=… -DOUTFILE=… tintaro.nsi
; where FILES holds the program folder as installed and files.nsh/unfiles.nsh
; list what is installed, so the uninstaller removes exactly that.

; A 64-bit setup program for a 64-bit program: no 32-bit layer needed.
Target amd64-unicode
SetCompressor /SOLID lzma

!define NAME "Tintaro"
!define PUBLISHER "Equipo Tintaro"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tintaro"

!define MULTIUSER_EXECUTIONLEVEL Highest
; Per user unless an administrator chooses every user on its page (or /AllUsers).
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "Tintaro"
!define MULTIUSER_USE_PROGRAMFILES64
!include MultiUser.nsh
!include MUI2.nsh

Name "${NAME}"
OutFile "${OUTFILE}"
BrandingText "${NAME} ${VERSION}"
!define MUI_ICON "${FILES}\tintaro.ico"
!define MUI_UNICON "${FILES}\tintaro.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${FILES}\..\setup-side.bmp"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\tintaro.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Abrir Tintaro"
; The second box of the finish page makes the desktop icon, when ticked.
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Poner un icono de Tintaro en el escritorio"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION DesktopIcon
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Spanish"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_SPANISH} "ProductName" "${NAME}"
VIAddVersionKey /LANG=${LANG_SPANISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileDescription" "Instalación de Tintaro, libro de colorear"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "LegalCopyright" "GPL-3.0-or-later"

Function .onInit
  ; A folder named with /D= comes before .onInit, and the install mode would
  ; put its own in its place.
  StrCpy $0 $INSTDIR
  !insertmacro MULTIUSER_INIT
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ; Per user, the program goes where Windows keeps each user's programs.
  ${ElseIf} $MultiUser.InstallMode == "CurrentUser"
  ${AndIf} $INSTDIR == "$LOCALAPPDATA\Tintaro"
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Tintaro"
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Function DesktopIcon
  CreateShortCut "$DESKTOP\Tintaro.lnk" "$INSTDIR\tintaro.exe" "" "$INSTDIR\tintaro.ico"
FunctionEnd

Section "Tintaro"
  SetOutPath "$INSTDIR"
  ; A newer version over an older one: the same files, replaced.
  SetOverwrite on
  !include "${FILES}\..\files.nsh"
  WriteUninstaller "$INSTDIR\desinstalar.exe"

  CreateDirectory "$SMPROGRAMS\Tintaro"
  CreateShortCut "$SMPROGRAMS\Tintaro\Tintaro.lnk" "$INSTDIR\tintaro.exe" "" "$INSTDIR\tintaro.ico"
  CreateShortCut "$SMPROGRAMS\Tintaro\Ajustes de Tintaro.lnk" "$INSTDIR\tintaro.exe" "--ajustes" \
    "$INSTDIR\tintaro.ico"
  CreateShortCut "$SMPROGRAMS\Tintaro\Imprimir dibujos para colorear.lnk" "$INSTDIR\tintaro.exe" \
    "--print" "$INSTDIR\tintaro.ico"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tintaro.ico"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\desinstalar.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\desinstalar.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  ; Only what was installed: the book and the settings in %APPDATA%\Tintaro stay.
  ; The program's folder goes last, so that once it is gone all else is.
  Delete "$SMPROGRAMS\Tintaro\Tintaro.lnk"
  Delete "$SMPROGRAMS\Tintaro\Ajustes de Tintaro.lnk"
  Delete "$SMPROGRAMS\Tintaro\Imprimir dibujos para colorear.lnk"
  RMDir "$SMPROGRAMS\Tintaro"
  Delete "$DESKTOP\Tintaro.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  !include "${FILES}\..\unfiles.nsh"
  Delete "$INSTDIR\desinstalar.exe"
  RMDir "$INSTDIR"
SectionEnd
