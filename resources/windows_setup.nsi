; The Windows setup program: zav-patcher.exe, zavpatch.exe and the README into one folder, per
; machine with administrator rights (or per user without them, or with /CurrentUser), a Start menu
; shortcut to the window and an entry in "Apps and features". Its uninstaller takes away those and
; nothing else: a player's own files in the folder, the game, its PatcherHistory and the disc stay.
; cmake/WindowsSetup.cmake builds it with makensis, handing in ZAV_VERSION, ZAV_VERSION_QUAD,
; ZAV_STAGE (the folder of the stripped programs and README.txt), ZAV_ICON, ZAV_PUBLISHER,
; ZAV_URL and ZAV_OUTFILE.
Unicode true
; This machine's Wine, like a 64-bit Windows without its 32-bit part, runs 64-bit setups only.
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
; Administrators are asked to elevate and get the per-machine install; other users run as they
; are and get the per-user one.
RequestExecutionLevel highest

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define NAME "ZAV Data Patcher"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZavDataPatcher"
!define SHORTCUT "$SMPROGRAMS\${NAME}.lnk"
!define UNINSTALLER "uninstall.exe"

Name "${NAME}"
OutFile "${ZAV_OUTFILE}"
; The per-machine default; .onInit moves it for a per-user install. Ending in the program's name,
; a folder picked with "Browse..." gets a "ZAV Data Patcher" folder of its own inside it.
InstallDir "$PROGRAMFILES64\${NAME}"
BrandingText "${NAME} ${ZAV_VERSION}"

!define MUI_ICON "${ZAV_ICON}"
!define MUI_UNICON "${ZAV_ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first is the fallback; the system's display language picks among them.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "French"

LangString FolderInUse ${LANG_ENGLISH} "The folder $INSTDIR already holds other files. Choose an empty or new folder, so that removing ${NAME} later takes nothing else with it."
LangString FolderInUse ${LANG_GERMAN} "Der Ordner $INSTDIR enthält bereits andere Dateien. Wählen Sie einen leeren oder neuen Ordner, damit beim späteren Entfernen von ${NAME} nichts anderes mitgelöscht wird."
LangString FolderInUse ${LANG_FRENCH} "Le dossier $INSTDIR contient déjà d'autres fichiers. Choisissez un dossier vide ou nouveau, afin que la désinstallation de ${NAME} n'emporte rien d'autre."
LangString NeedsAdministrator ${LANG_ENGLISH} "${NAME} was installed for all users of this computer: only an administrator can remove it."
LangString NeedsAdministrator ${LANG_GERMAN} "${NAME} wurde für alle Benutzer dieses Computers installiert: Nur ein Administrator kann es entfernen."
LangString NeedsAdministrator ${LANG_FRENCH} "${NAME} a été installé pour tous les utilisateurs de cet ordinateur : seul un administrateur peut le désinstaller."
LangString ShortcutComment ${LANG_ENGLISH} "Add new tracks and cars to ZAV, or remove them"
LangString ShortcutComment ${LANG_GERMAN} "Neue Strecken und Autos zu ZAV hinzufügen oder wieder entfernen"
LangString ShortcutComment ${LANG_FRENCH} "Ajouter de nouveaux circuits et voitures à ZAV, ou les retirer"

VIProductVersion "${ZAV_VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${NAME}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${ZAV_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${ZAV_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${NAME} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${ZAV_PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${ZAV_PUBLISHER}"

; Sets $0 to 1 when the setup may write into $INSTDIR: the folder is new or empty, or it is the one
; an earlier install of the same kind registered. Anything else there would go with the uninstall.
Function CheckInstallFolder
  StrCpy $0 1
  ReadRegStr $1 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $1 == $INSTDIR
    Return
  ${EndIf}
  FindFirst $2 $3 "$INSTDIR\*"
  ${DoUntil} $3 == ""
    ${If} $3 != "."
    ${AndIf} $3 != ".."
      StrCpy $0 0
      ${Break}
    ${EndIf}
    FindNext $2 $3
  ${Loop}
  FindClose $2
FunctionEnd

; Sets $R0 to the outermost folder on the way to $INSTDIR that does not exist yet (the one the
; install will create first), or to "" when $INSTDIR exists.
Function FindFirstMissingFolder
  StrCpy $R0 ""
  StrCpy $R1 $INSTDIR
  ${DoUntil} $R1 == ""
    ${If} ${FileExists} "$R1\*"
      ${Break}
    ${EndIf}
    StrCpy $R0 $R1
    ${GetParent} $R1 $R1
  ${Loop}
FunctionEnd

Function DirectoryLeave
  Call CheckInstallFolder
  ${If} $0 != 1
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(FolderInUse)"
    Abort
  ${EndIf}
FunctionEnd

Function .onInit
  SetRegView 64
  UserInfo::GetAccountType
  Pop $0
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/CurrentUser" $2
  ${If} $0 == "Admin"
  ${AndIf} ${Errors}
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
    ; Unless /D= named a folder.
    ${If} $INSTDIR == "$PROGRAMFILES64\${NAME}"
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${NAME}"
    ${EndIf}
  ${EndIf}
  ; A silent setup has no directory page to refuse a folder on.
  ${If} ${Silent}
    Call CheckInstallFolder
    ${If} $0 != 1
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Section
  Call FindFirstMissingFolder
  SetOutPath "$INSTDIR"
  File "${ZAV_STAGE}/zav-patcher.exe"
  File "${ZAV_STAGE}/zavpatch.exe"
  File "${ZAV_STAGE}/README.txt"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateShortcut "${SHORTCUT}" "$INSTDIR\zav-patcher.exe" "" "$INSTDIR\zav-patcher.exe" 0 \
    SW_SHOWNORMAL "" "$(ShortcutComment)"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${ZAV_VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zav-patcher.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${ZAV_PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "${ZAV_URL}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ; Folders above the program's that this install made (such as a user's first
  ; AppData\Local\Programs) go with the uninstall when nothing else has moved in. A reinstall over
  ; the folder keeps what the first install noted.
  ${If} $R0 != ""
  ${AndIf} $R0 != $INSTDIR
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "CreatedFolder" "$R0"
  ${EndIf}
  ; In KiB, as "Apps and features" reads it.
  SectionGetSize 0 $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The entry of this folder says which kind of install it was: per machine when HKLM's names it.
Function un.onInit
  SetRegView 64
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    SetShellVarContext all
    UserInfo::GetAccountType
    Pop $1
    ${If} $1 != "Admin"
      MessageBox MB_OK|MB_ICONSTOP "$(NeedsAdministrator)" /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

; File by file, never the whole folder: it may hold the player's own files, which stay with it.
Section "Uninstall"
  Delete "$INSTDIR\zav-patcher.exe"
  Delete "$INSTDIR\zavpatch.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  ; The shortcut and the entry only when they are this folder's, not another install's.
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    Delete "${SHORTCUT}"
    ReadRegStr $1 SHCTX "${UNINSTALL_KEY}" "CreatedFolder"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ; Empty folders only, and only from $INSTDIR's parent up to the one noted, which must lie on
    ; the way there: a changed value cannot reach any other folder.
    StrLen $2 $1
    ${If} $2 > 0
      StrCpy $3 $INSTDIR
      ${Do}
        ${GetParent} $3 $3
        ${If} $3 == $1
          RMDir "$3"
          ${Break}
        ${EndIf}
        StrCpy $4 $3 $2
        StrCpy $5 $3 1 $2
        ${If} $4 != $1
        ${OrIf} $5 != "\"
          ${Break}
        ${EndIf}
        RMDir "$3"
      ${Loop}
    ${EndIf}
  ${EndIf}
SectionEnd
