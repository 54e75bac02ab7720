; The Kelvane installer: a 64-bit Unicode NSIS installer that puts the program into a folder of
; its own (Program Files unless another is chosen), adds a Start-menu shortcut for all users and
; registers its uninstaller with Windows. The program runs as administrator, so its folder must be
; one that only administrators can change, and the uninstaller removes only what the installer put
; in place, and only from the installation it belongs to.
; scripts/package.sh builds it; it passes, with /D:
;   VERSION           2.6        (shown to the user and in the list of installed programs)
;   VERSION_QUAD      2.6.0.0    (the installer's own version information)
;   RUNNING_MUTEX     the name of the mutex the running program holds
;   PROGRAM_FILE      path of the Kelvane.exe to install
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

!define PRODUCT_NAME "系统优化Kelvane"
!define PUBLISHER "Tavrin软件"
!define PROGRAM_EXE "Kelvane.exe"
!define UNINSTALLER_EXE "Uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT_NAME}.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvane"
; Well-known SIDs, so that the permissions come out the same in every language of Windows.
!define SID_ADMINISTRATORS "*S-1-5-32-544"
!define SID_SYSTEM "*S-1-5-18"
!define SID_USERS "*S-1-5-32-545"

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
LangString FolderNotProtected ${LANG_SIMPCHINESE} "无法设置 $INSTDIR 的权限，其他用户将能够更改以管理员身份运行的程序。请选择 Program Files 下的文件夹。"
LangString FolderNotProtected ${LANG_ENGLISH} "The permissions of $INSTDIR cannot be set, so other users could change a program that runs as administrator. Choose a folder under Program Files."
LangString NotTheInstallation ${LANG_SIMPCHINESE} "此卸载程序不属于 $INSTDIR 中的 ${PRODUCT_NAME} 安装。未做任何更改。"
LangString NotTheInstallation ${LANG_ENGLISH} "This uninstaller does not belong to a ${PRODUCT_NAME} installation in $INSTDIR. Nothing was changed."
LangString CannotRemove ${LANG_SIMPCHINESE} "无法删除 $R8。${PRODUCT_NAME} 仍处于安装状态：请关闭正在使用该文件的程序，然后再次卸载。"
LangString CannotRemove ${LANG_ENGLISH} "$R8 cannot be removed. ${PRODUCT_NAME} stays installed: close whatever uses the file, then uninstall again."

; Waits until the program is no longer running, which it shows by holding its mutex (another
; program's window of the same class proves nothing); a silent run gives up at once.
!macro WaitForProgramToClose
  ${Do}
    ; SYNCHRONIZE access. A mutex that exists but may not be opened is still the program's.
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${RUNNING_MUTEX}") p .r0 ?e'
    Pop $1
    ${If} $0 P<> 0
      System::Call 'kernel32::CloseHandle(p r0)'
    ${ElseIf} $1 <> 5
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(ProgramRunning)" /SD IDCANCEL IDRETRY +3
    SetErrorLevel 2
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
; $0 = 1 when the folder $R0 holds the program and the uninstall entry records it as the
; installation, else 0.
Function ${un}IsOurInstallation
  StrCpy $0 0
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $1 != ""
  ${AndIf} $1 == $R0
  ${AndIf} ${FileExists} "$R0\${PROGRAM_EXE}"
    StrCpy $0 1
  ${EndIf}
FunctionEnd
!macroend
!insertmacro IsOurInstallation ""
!insertmacro IsOurInstallation "un."

; $0 = 1 when the folder $R0 is missing or holds nothing, else 0.
Function IsFolderEmpty
  StrCpy $0 1
  ClearErrors
  FindFirst $1 $2 "$R0\*"
  ${DoUntil} ${Errors}
    ${If} $2 != "."
    ${AndIf} $2 != ".."
      StrCpy $0 0
      ${Break}
    ${EndIf}
    FindNext $1 $2
  ${Loop}
  FindClose $1
FunctionEnd

; The program always goes into a folder of its own: a folder that already holds something else
; gets a Kelvane folder inside it, so no file of the user's is ever overwritten or later removed.
Function ChooseOwnFolder
  !insertmacro NormaliseInstallFolder
  StrCpy $R0 $INSTDIR
  Call IsOurInstallation
  StrCpy $R2 $0
  Call IsFolderEmpty
  ${If} $R2 = 0
  ${AndIf} $0 = 0
    StrCpy $INSTDIR "$INSTDIR\Kelvane"
    StrCpy $R0 $INSTDIR
    Call IsOurInstallation
    StrCpy $R2 $0
    Call IsFolderEmpty
    ${If} $R2 = 0
    ${AndIf} $0 = 0
      MessageBox MB_OK|MB_ICONSTOP "$(FolderTaken)" /SD IDOK
      SetErrorLevel 2
      Abort
    ${EndIf}
  ${EndIf}

  ; One installation at a time: a second one would orphan the first, whose uninstaller then no
  ; longer matches the uninstall entry.
  ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R1 != ""
  ${AndIf} $R1 != $INSTDIR
  ${AndIf} ${FileExists} "$R1\${PROGRAM_EXE}"
    MessageBox MB_OK|MB_ICONSTOP "$(InstalledElsewhere)" /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
FunctionEnd

; Program Files is writable by administrators only and passes that on to the folders in it. Any
; other folder gets exactly that before a file is copied: inheritance off, Administrators and
; SYSTEM full control, Users read and execute, owned by Administrators. An empty folder made by
; someone else is made anew first, so none of its own permissions remain.
!macro ReturnWhenInside folder
  StrLen $2 "${folder}\"
  StrCpy $3 "$INSTDIR\" $2
  ${If} $3 == "${folder}\"
    Return
  ${EndIf}
!macroend

Function ProtectInstallFolder
  !insertmacro ReturnWhenInside "$PROGRAMFILES64"
  !insertmacro ReturnWhenInside "$PROGRAMFILES32"

  StrCpy $R0 $INSTDIR
  Call IsOurInstallation
  ${If} $0 = 0
    RMDir "$INSTDIR"
  ${EndIf}
  CreateDirectory "$INSTDIR"
  nsExec::Exec '"$SYSDIR\icacls.exe" "$INSTDIR" /setowner ${SID_ADMINISTRATORS}'
  Pop $0
  ${If} $0 == 0
    nsExec::Exec '"$SYSDIR\icacls.exe" "$INSTDIR" /inheritance:r /grant:r ${SID_ADMINISTRATORS}:(OI)(CI)F ${SID_SYSTEM}:(OI)(CI)F ${SID_USERS}:(OI)(CI)RX'
    Pop $0
  ${EndIf}
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONSTOP "$(FolderNotProtected)" /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
FunctionEnd

Function .onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Kelvane" SectionProgram
  SectionIn RO
  !insertmacro WaitForProgramToClose
  Call ChooseOwnFolder
  Call ProtectInstallFolder

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
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd

; Removes one file, trying again for a moment in case a virus scanner or the like holds it. When
; it stays, the uninstallation stops there with an error: the uninstall entry and the uninstaller
; remain, and so does the program (it is removed after the other files), so it can be run again.
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
      SetErrorLevel 3
      Abort
    ${EndIf}
    Sleep 200
  ${Loop}
!macroend

; Removes exactly what the installer put in place; the folder goes only when nothing else is left
; in it.
Section "Uninstall"
  !insertmacro WaitForProgramToClose

  !insertmacro RemoveFile "$INSTDIR\README.txt"
  !insertmacro RemoveFile "$INSTDIR\LICENSE"
  !insertmacro RemoveFile "$INSTDIR\${PROGRAM_EXE}"
  !insertmacro RemoveFile "${SHORTCUT}"
  ; Run in place (_?=folder), the uninstaller cannot remove itself: NSIS leaves that to the caller.
  ${If} $EXEDIR != $INSTDIR
    !insertmacro RemoveFile "$INSTDIR\${UNINSTALLER_EXE}"
  ${EndIf}
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
