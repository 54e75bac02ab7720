; The Kelvane installer: a 64-bit Unicode NSIS installer that puts the program into a folder of
; its own (Program Files unless another is chosen), adds a Start-menu shortcut for all users and
; registers its uninstaller with Windows. The program runs as administrator, so whoever can change
; its folder, or a folder above it, could run code as administrator: before a file is copied, the
; folder helper FolderGuard.exe (packaging/FolderGuard.cpp, carried in $PLUGINSDIR) proves that no
; one but Administrators, SYSTEM and TrustedInstaller can change any folder from the volume root
; down, with no link on the way, and makes the installation folder itself, in one call with its
; final permissions. The uninstaller removes only what the installer put in place, only from the
; installation it belongs to, and only once the helper has proved that folder safe again.
; scripts/package.sh builds it; it passes, with /D:
;   VERSION           2.6        (shown to the user and in the list of installed programs)
;   VERSION_QUAD      2.6.0.0    (the installer's own version information)
;   EXIT_CODES        path of ExitCodes.nsh, the exit codes of the helper and of this installer
;   PROGRAM_FILE      path of the Kelvane.exe to install
;   FOLDER_GUARD_FILE path of FolderGuard.exe, the folder helper
;   README_FILE       path of README.txt
;   LICENSE_FILE      path of LICENSE
;   ICON_FILE         path of the program's icon
;   FINALIZE_COMMAND  command run on the uninstaller and on the setup program once written: it
;                     signs them, or brings them into the form a signature would leave
;   OUTPUT_FILE       path of the installer to write
; Silent installs and uninstalls take /S; /D=folder chooses another installation folder. A silent
; run that cannot do its work ends with a non-zero exit code.
Unicode true
Target amd64-unicode
ManifestDPIAware true
ManifestSupportedOS all
SetCompressor /SOLID lzma
RequestExecutionLevel admin
; A file that cannot be written ends the installation with an error: it is never skipped, which
; would leave an older program in place behind a report of success.
AllowSkipFiles off

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "${EXIT_CODES}"

!define PRODUCT_NAME "系统优化Kelvane"
!define PUBLISHER "Tavrin软件"
!define PROGRAM_EXE "Kelvane.exe"
!define UNINSTALLER_EXE "Uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT_NAME}.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvane"

Name "${PRODUCT_NAME}"
OutFile "${OUTPUT_FILE}"
InstallDir "$PROGRAMFILES64\Kelvane"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT_NAME} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

!finalize '${FINALIZE_COMMAND} "%1"' = 0
!uninstfinalize '${FINALIZE_COMMAND} "%1"' = 0

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT_NAME} 安装程序"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION_QUAD}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON_FILE}"
!define MUI_UNICON "${ICON_FILE}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM_EXE}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one used where the system's own is neither.
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

LangString ProgramRunning ${LANG_SIMPCHINESE} "${PRODUCT_NAME} 正在运行。请先关闭它，然后单击“重试”。"
LangString ProgramRunning ${LANG_ENGLISH} "${PRODUCT_NAME} is running. Close it, then click Retry."
LangString FolderTaken ${LANG_SIMPCHINESE} "$INSTDIR 既不是空文件夹，也不是 ${PRODUCT_NAME} 的安装文件夹。请选择另一个文件夹。"
LangString FolderTaken ${LANG_ENGLISH} "$INSTDIR is neither empty nor a ${PRODUCT_NAME} installation folder. Choose another folder."
LangString InstalledElsewhere ${LANG_SIMPCHINESE} "${PRODUCT_NAME} 已安装在 $R1。请先卸载它，或安装到该文件夹。"
LangString InstalledElsewhere ${LANG_ENGLISH} "${PRODUCT_NAME} is already installed in $R1. Uninstall it first, or install into that folder."
LangString FolderChangeable ${LANG_SIMPCHINESE} "其他用户可以更改 $R1，以管理员身份运行的程序不能安全地安装在这里。"
LangString FolderChangeable ${LANG_ENGLISH} "Other users can change $R1, so a program that runs as administrator cannot be installed there safely."
LangString FolderIsLink ${LANG_SIMPCHINESE} "$R1 是一个链接（联接点或符号链接），不能安装在这里。"
LangString FolderIsLink ${LANG_ENGLISH} "$R1 is a link (a junction or a symbolic link); the program is not installed through it."
LangString FolderIsFile ${LANG_SIMPCHINESE} "$R1 是一个文件，不是文件夹。"
LangString FolderIsFile ${LANG_ENGLISH} "$R1 is a file, not a folder."
LangString FolderUnreadable ${LANG_SIMPCHINESE} "无法读取 $R1 或其权限。"
LangString FolderUnreadable ${LANG_ENGLISH} "$R1 or its permissions cannot be read."
LangString FolderNotLocal ${LANG_SIMPCHINESE} "$R1 不是本机硬盘上的文件夹。"
LangString FolderNotLocal ${LANG_ENGLISH} "$R1 is not a folder on a local hard disk."
LangString FolderNotMade ${LANG_SIMPCHINESE} "无法创建文件夹 $R1。"
LangString FolderNotMade ${LANG_ENGLISH} "The folder $R1 cannot be made."
LangString FolderOnSubstitutedDrive ${LANG_SIMPCHINESE} "$R1 位于用 subst 命令映射的驱动器上。请改用该驱动器所代表的实际文件夹。"
LangString FolderOnSubstitutedDrive ${LANG_ENGLISH} "$R1 is on a drive that subst maps to a folder. Use the real folder the drive stands for instead."
LangString FolderUnchecked ${LANG_SIMPCHINESE} "无法检查 $R1 是否安全。"
LangString FolderUnchecked ${LANG_ENGLISH} "Whether $R1 is safe cannot be checked."
LangString SafeFolderHint ${LANG_SIMPCHINESE} "未做任何更改。Program Files 下的文件夹（例如 $PROGRAMFILES64\Kelvane）是安全的，请选择这样的文件夹。"
LangString SafeFolderHint ${LANG_ENGLISH} " Nothing was changed. A folder under Program Files, such as $PROGRAMFILES64\Kelvane, is safe: choose one there."
LangString NotTheInstallation ${LANG_SIMPCHINESE} "此卸载程序不属于 $INSTDIR 中的 ${PRODUCT_NAME} 安装。未做任何更改。"
LangString NotTheInstallation ${LANG_ENGLISH} "This uninstaller does not belong to a ${PRODUCT_NAME} installation in $INSTDIR. Nothing was changed."
LangString CannotRemove ${LANG_SIMPCHINESE} "无法删除 $R8。${PRODUCT_NAME} 仍处于安装状态：请关闭正在使用该文件的程序，然后再次卸载。"
LangString CannotRemove ${LANG_ENGLISH} "$R8 cannot be removed. ${PRODUCT_NAME} stays installed: close whatever uses the file, then uninstall again."
LangString NothingRemoved ${LANG_SIMPCHINESE} "卸载程序没有删除任何文件。"
LangString NothingRemoved ${LANG_ENGLISH} " The uninstaller removed nothing."

; Waits until the installed program is no longer running (another program's window of the same
; class proves nothing): until no process runs the installed program file, as the folder helper
; finds. Neither the name of the program's mutex (any user can make an object of that name) nor
; the file being in use (any user may hold it open for reading) tells that the program runs; a
; file that someone holds is left to the copying or the removal, which name it and can be tried
; again. A silent run gives up at once.
!macro WaitForProgramToClose
  ${Do}
    nsExec::Exec '"$PLUGINSDIR\FolderGuard.exe" running "$INSTDIR\${PROGRAM_EXE}"'
    Pop $0
    ${If} $0 != ${ExitProgramRunning}
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(ProgramRunning)" /SD IDCANCEL IDRETRY +3
    SetErrorLevel ${ExitInstallerRefused}
    Abort
  ${Loop}
!macroend

; Gives $INSTDIR in full, with no relative parts and no closing backslash, as it is compared
; with the recorded installation and with the Program Files folders.
!macro NormaliseInstallFolder
  System::Call 'kernel32::GetFullPathNameW(w "$INSTDIR", i ${NSIS_MAX_STRLEN}, w .r0, p 0) i .r1'
  ${If} $1 > 0
    StrCpy $INSTDIR $0
  ${EndIf}
  StrCpy $0 $INSTDIR 1 -1
  ${If} $0 == "\"
    StrCpy $INSTDIR $INSTDIR -1
  ${EndIf}
!macroend

!macro IsOurInstallation un
; $0 = 1 when the uninstall entry records the folder $R0 as the installation and the folder still
; holds the program or its uninstaller (what an uninstallation stopped half-way leaves), else 0.
Function ${un}IsOurInstallation
  StrCpy $0 0
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $1 != ""
  ${AndIf} $1 == $R0
    ${If} ${FileExists} "$R0\${PROGRAM_EXE}"
    ${OrIf} ${FileExists} "$R0\${UNINSTALLER_EXE}"
      StrCpy $0 1
    ${EndIf}
  ${EndIf}
FunctionEnd
!macroend
!insertmacro IsOurInstallation ""
!insertmacro IsOurInstallation "un."

; Runs the folder helper: $0 = its exit code ("error" when it did not run), $R1 = the folder a
; refusal is about.
!macro FolderGuard command folder more
  Delete "$PLUGINSDIR\verdict"
  nsExec::Exec '"$PLUGINSDIR\FolderGuard.exe" ${command} "${folder}" "$PLUGINSDIR\verdict" ${more}'
  Pop $0
  StrCpy $R1 "${folder}"
  ClearErrors
  FileOpen $1 "$PLUGINSDIR\verdict" r
  ${IfNot} ${Errors}
    FileReadUTF16LE $1 $R1
    FileClose $1
  ${EndIf}
!macroend

; $2 = why the folder $R1 cannot hold the program, from $0, the helper's refusal.
!macro FolderRefusalText
  ${Select} $0
  ${Case} ${ExitRefusedChangeable}
    StrCpy $2 "$(FolderChangeable)"
  ${Case} ${ExitRefusedLink}
    StrCpy $2 "$(FolderIsLink)"
  ${Case} ${ExitRefusedNotAFolder}
    StrCpy $2 "$(FolderIsFile)"
  ${Case} ${ExitRefusedUnreadable}
    StrCpy $2 "$(FolderUnreadable)"
  ${Case} ${ExitRefusedNotLocal}
    StrCpy $2 "$(FolderNotLocal)"
  ${Case} ${ExitRefusedNotMade}
    StrCpy $2 "$(FolderNotMade)"
  ${Case} ${ExitRefusedSubstitutedDrive}
    StrCpy $2 "$(FolderOnSubstitutedDrive)"
  ${CaseElse}
    StrCpy $2 "$(FolderUnchecked)"
  ${EndSelect}
!macroend

; Says why the folder $R1 cannot hold the program ($0, the helper's refusal) and that a folder
; under Program Files is safe, and ends the installation, which has changed nothing yet.
Function RefuseFolder
  !insertmacro FolderRefusalText
  MessageBox MB_OK|MB_ICONSTOP "$2$(SafeFolderHint)" /SD IDOK
  SetErrorLevel ${ExitInstallerRefused}
  Abort
FunctionEnd

; $0 = what is at $INSTDIR: 0 nothing, 1 an empty folder, 2 a folder that holds something. A
; file, a link or a folder that cannot be read is never taken for an empty folder: it ends the
; installation.
Function LookAtInstallFolder
  !insertmacro FolderGuard look "$INSTDIR" ""
  ${If} $0 != ${ExitLookNothing}
  ${AndIf} $0 != ${ExitLookEmptyFolder}
  ${AndIf} $0 != ${ExitLookHoldsSomething}
    Call RefuseFolder
  ${EndIf}
FunctionEnd

; The program always goes into a folder of its own that the installer makes itself. A folder that
; already exists is used only when it is the recorded installation; any other, empty or not, gets
; a Kelvane folder inside it. So no file of the user's is ever overwritten or later removed, and
; no folder whose permissions someone else set is taken over (removing an empty one and making it
; again would leave a moment in which someone else could take the name). $R3 = "upgrade" when the
; folder is the recorded installation, else "make": the helper then makes the folder itself.
Function ChooseOwnFolder
  ; A full path on a drive only: a relative one would depend on where the installer was started.
  ; Windows takes forward slashes for backslashes, and so does the normalising.
  StrCpy $R1 $INSTDIR
  StrCpy $2 $INSTDIR 2 1
  ${If} $2 != ":\"
  ${AndIf} $2 != ":/"
    StrCpy $0 ${ExitRefusedNotLocal}
    Call RefuseFolder
  ${EndIf}
  !insertmacro NormaliseInstallFolder
  StrCpy $R3 "make"
  Call LookAtInstallFolder
  StrCpy $R0 $INSTDIR
  ${If} $0 <> ${ExitLookNothing}
    Call IsOurInstallation
    ${If} $0 = 0
      StrCpy $INSTDIR "$INSTDIR\Kelvane"
      StrCpy $R0 $INSTDIR
      Call LookAtInstallFolder
      ${If} $0 <> ${ExitLookNothing}
        Call IsOurInstallation
        ${If} $0 = 0
          MessageBox MB_OK|MB_ICONSTOP "$(FolderTaken)" /SD IDOK
          SetErrorLevel ${ExitInstallerRefused}
          Abort
        ${EndIf}
        StrCpy $R3 "upgrade"
      ${EndIf}
    ${Else}
      StrCpy $R3 "upgrade"
    ${EndIf}
  ${EndIf}

  ; One installation at a time: a second one would orphan the first, whose uninstaller then no
  ; longer matches the uninstall entry.
  ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R1 != ""
  ${AndIf} $R1 != $INSTDIR
    StrCpy $R0 $R1
    Call IsOurInstallation
    ${If} $0 = 1
      MessageBox MB_OK|MB_ICONSTOP "$(InstalledElsewhere)" /SD IDOK
      SetErrorLevel ${ExitInstallerRefused}
      Abort
    ${EndIf}
  ${EndIf}
FunctionEnd

Function .onInit
  SetShellVarContext all
  SetRegView 64
  ; NSIS replaces a /D folder it finds unusable (one that names a file or lies below one, or a
  ; relative one) by the default folder without a word. So the folder asked for is read from the
  ; command line once more (/D= comes last), to be judged and refused instead; the directory page
  ; shows it as it was asked.
  System::Call 'kernel32::GetCommandLineW() w .r0'
  StrCpy $1 0
  ${Do}
    StrCpy $2 $0 4 $1
    ${If} $2 == ""
      ${Break}
    ${ElseIf} $2 S== " /D="
      IntOp $3 $1 + 4
      StrCpy $INSTDIR $0 "" $3
    ${EndIf}
    IntOp $1 $1 + 1
  ${Loop}
FunctionEnd

Section "Kelvane" SectionProgram
  SectionIn RO
  InitPluginsDir
  File "/oname=$PLUGINSDIR\FolderGuard.exe" "${FOLDER_GUARD_FILE}"
  Call ChooseOwnFolder
  !insertmacro WaitForProgramToClose
  ; Every folder from the volume root down is proved safe, and the missing ones are made with their
  ; final permissions, before a file is copied. Missing folders above the installation folder are
  ; made that way too (and stay after an uninstallation, like any folder the user chose). Over an
  ; installation, what its folder hands down counts as well, and the files already there are given
  ; the folder's permissions again, so that the new ones are copied into files no one else may change.
  ${If} $R3 == "upgrade"
    !insertmacro FolderGuard upgrade "$INSTDIR" '"${PROGRAM_EXE}" README.txt LICENSE "${UNINSTALLER_EXE}"'
  ${Else}
    !insertmacro FolderGuard make "$INSTDIR" ""
  ${EndIf}
  ${If} $0 != ${ExitFolderSafe}
    Call RefuseFolder
  ${EndIf}

  SetOutPath "$INSTDIR"
  File "/oname=${PROGRAM_EXE}" "${PROGRAM_FILE}"
  File "/oname=README.txt" "${README_FILE}"
  File "/oname=LICENSE" "${LICENSE_FILE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER_EXE}"

  CreateShortcut "${SHORTCUT}" "$INSTDIR\${PROGRAM_EXE}" "" "$INSTDIR\${PROGRAM_EXE}" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM_EXE},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER_EXE}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER_EXE}" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The uninstaller works only on the installation it belongs to: the folder it was started from
; must be the one the uninstall entry records, and must still hold the program. A copy elsewhere
; changes nothing.
Function un.onInit
  SetShellVarContext all
  SetRegView 64
  !insertmacro NormaliseInstallFolder
  StrCpy $R0 $INSTDIR
  Call un.IsOurInstallation
  ${If} $0 = 0
    MessageBox MB_OK|MB_ICONSTOP "$(NotTheInstallation)" /SD IDOK
    SetErrorLevel ${ExitInstallerRefused}
    Quit
  ${EndIf}
FunctionEnd

; Removes one file, trying again for a moment in case a virus scanner or the like holds it. When
; it stays, the uninstallation stops there with an error: the uninstall entry remains, and so does
; the program (it is removed last), so the uninstaller, or a new installation into the same folder,
; still finds the installation.
!macro RemoveFile path
  StrCpy $R9 0
  ${Do}
    Delete "${path}"
    ${IfNot} ${FileExists} "${path}"
      ${Break}
    ${EndIf}
    IntOp $R9 $R9 + 1
    ${If} $R9 >= 5
      StrCpy $R8 "${path}"
      DetailPrint "$(CannotRemove)"
      MessageBox MB_OK|MB_ICONSTOP "$(CannotRemove)" /SD IDOK
      SetErrorLevel ${ExitUninstallIncomplete}
      Abort
    ${EndIf}
    Sleep 200
  ${Loop}
!macroend

; Removes exactly what the installer put in place; the folder goes only when nothing else is left
; in it. Nothing is removed before the folder helper has proved the installation folder safe as it
; is now: a folder replaced by a link since, or one that others may change, would have the files of
; wherever it leads removed.
Section "Uninstall"
  InitPluginsDir
  File "/oname=$PLUGINSDIR\FolderGuard.exe" "${FOLDER_GUARD_FILE}"
  !insertmacro FolderGuard check "$INSTDIR" ""
  ${If} $0 != ${ExitFolderSafe}
    !insertmacro FolderRefusalText
    MessageBox MB_OK|MB_ICONSTOP "$2$(NothingRemoved)" /SD IDOK
    SetErrorLevel ${ExitInstallerRefused}
    Abort
  ${EndIf}
  !insertmacro WaitForProgramToClose

  !insertmacro RemoveFile "$INSTDIR\README.txt"
  !insertmacro RemoveFile "$INSTDIR\LICENSE"
  !insertmacro RemoveFile "${SHORTCUT}"
  ; Run in place (_?=folder), the uninstaller cannot remove itself: NSIS leaves that to the caller.
  ${If} $EXEDIR != $INSTDIR
    !insertmacro RemoveFile "$INSTDIR\${UNINSTALLER_EXE}"
  ${EndIf}
  !insertmacro RemoveFile "$INSTDIR\${PROGRAM_EXE}"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
