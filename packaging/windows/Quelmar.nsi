; Quelmar-Setup.exe: one installer for 32- and 64-bit Windows. On 64-bit
; Windows the x86-64 saver goes into the real System32 (file-system
; redirection off for that copy), on 32-bit Windows the i686 one goes into
; System32; the desktop's Screen Saver list then shows "Quelmar" either way.
; It registers an uninstaller under Add/Remove Programs, offers to make
; Quelmar the current screen saver (in a silent install only when /CURRENT is
; given), and installs and uninstalls silently with /S.
;
; Built by scripts/make-installer.sh:
;   makensis -DOUTFILE=... -DSAVER_I686=... -DSAVER_X86_64=... -DREADME=... -DICON=... [-DTARGET=...]
; TARGET is x86-unicode, the installer that ships, unless told otherwise:
; amd64-unicode builds the same script as a 64-bit program, for testing on
; machines that cannot run 32-bit programs.

!ifndef TARGET
  !define TARGET x86-unicode
!endif
Target ${TARGET}
!if "${TARGET}" == "amd64-unicode"
  !pragma warning disable 6012  ; RunningX64 is known when building: its other branches go unused
!endif

!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh

; The version is the saver's own (its VERSIONINFO), so the two always agree.
!getdllversion "${SAVER_I686}" SAVER_VERSION_
!define VERSION "${SAVER_VERSION_1}.${SAVER_VERSION_2}.${SAVER_VERSION_3}"
!define PRODUCT "Quelmar 3D Screen Saver"
!define PUBLISHER "Dellmora"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quelmar"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATEINIFILE_SENDCHANGE 3

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Quelmar"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
Icon "${ICON}"
UninstallIcon "${ICON}"
ShowInstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 ProductName "${PRODUCT}"
VIAddVersionKey /LANG=0 FileDescription "${PRODUCT} setup"
VIAddVersionKey /LANG=0 FileVersion "${VERSION}"
VIAddVersionKey /LANG=0 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=0 CompanyName "${PUBLISHER}"
VIAddVersionKey /LANG=0 LegalCopyright "${PUBLISHER}"

Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The 64-bit registry view and the real System32, on 64-bit Windows only.
!macro NativeView
  ${If} ${RunningX64}
    SetRegView 64
    ${DisableX64FSRedirection}
  ${EndIf}
!macroend
!macro RedirectionBack
  ${If} ${RunningX64}
    ${EnableX64FSRedirection}
  ${EndIf}
!macroend

Section "Quelmar"
  !insertmacro NativeView
  SetOutPath "$SYSDIR"
  ${If} ${RunningX64}
    File "/oname=Quelmar.scr" "${SAVER_X86_64}"
  ${Else}
    File "/oname=Quelmar.scr" "${SAVER_I686}"
  ${EndIf}
  ${GetSize} "$SYSDIR" "/M=Quelmar.scr /S=0K /G=0" $1 $2 $3
  !insertmacro RedirectionBack

  SetOutPath "$INSTDIR"
  File "/oname=README.txt" "${README}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  ${GetSize} "$INSTDIR" "/S=0K" $2 $3 $4
  IntOp $1 $1 + $2

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Uninstall.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/CURRENT" $1
  ${If} ${Errors}
    MessageBox MB_YESNO|MB_ICONQUESTION "Make Quelmar your screen saver now?" /SD IDNO IDNO done
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\Quelmar.scr"
  System::Call "user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATEINIFILE_SENDCHANGE})"
  done:
SectionEnd

; The user's settings (Quelmar.ini) and a fault note beside them stay.
Section "Uninstall"
  !insertmacro NativeView
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "$SYSDIR\Quelmar.scr"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}
  Delete /REBOOTOK "$SYSDIR\Quelmar.scr"
  !insertmacro RedirectionBack

  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
