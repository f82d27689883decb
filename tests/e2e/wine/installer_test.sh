#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR source=../../support/wine.sh disable=SC2015  # "a && b || fail" fails when either is false
# Quelmar-Setup.exe under Wine, silent both ways, in fresh prefixes. The shipped installer
# is 32-bit; where 32-bit programs cannot run, the same script built for amd64 stands in.
source "$(dirname "$0")/../../support/wine.sh"
kernel_runs_32bit "${QUELMAR_WINE32:-/usr/lib/wine/wine}" /lib/ld-linux.so.2 && TARGET=x86-unicode || TARGET=amd64-unicode
log "installer: built for $TARGET, in a fresh 64-bit prefix$([ "$TARGET" = amd64-unicode ] || echo " and in a fresh 32-bit one")"
wine_begin
SETUP=$WINE_WORK/Quelmar-Setup.exe
bash "$QUELMAR_SOURCE_DIR/scripts/make-installer.sh" "$SETUP" "$QUELMAR_WIN32_BUILD/Quelmar.scr" \
  "$QUELMAR_WIN64_BUILD/Quelmar.scr" "$TARGET" >"$WINE_WORK/makensis.log" 2>&1 ||
  { cat "$WINE_WORK/makensis.log"; die "the installer does not build"; }

UNINSTALL='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quelmar'
DESKTOP='HKCU\Control Panel\Desktop'
# values KEY [VALUE]: "NAME=DATA" lines; value KEY VALUE: its data.
values() { { "$WINE" reg query "$1" ${2:+/v "$2"} 2>/dev/null || true; } | tr -d '\r' | sed -n 's/^    \([^ ]*\)    REG_[A-Z_]*    \(.*\)$/\1=\2/p'; }
value() { values "$1" "$2" | sed 's/^[^=]*=//'; }
uninstalled() { [ ! -e "$SYSTEM32/Quelmar.scr" ] && [ -z "$(values "$UNINSTALL")" ]; }

# install_round TEXT SAVER TYPE: both directions in the current prefix, for
# a system whose own saver is SAVER, a file of TYPE.
install_round() {
  local folder kb version
  SYSTEM32=$WINEPREFIX/drive_c/windows/system32
  begin_case
  "$WINE" "$SETUP" /S >/dev/null 2>&1 || fail "$1: the silent install ended with $?"
  [ -z "$(value "$DESKTOP" SCRNSAVE.EXE)" ] || fail "$1: /S alone made it the desktop's saver"
  "$WINE" "$SETUP" /S /CURRENT >/dev/null 2>&1 || fail "$1: the silent install over it ended with $?"
  cmp -s "$SYSTEM32/Quelmar.scr" "$2" && [[ "$(file -b "$SYSTEM32/Quelmar.scr")" == "$3 "* ]] ||
    fail "$1: system32 holds $(file -b "$SYSTEM32/Quelmar.scr" 2>&1)"
  [ ! -e "$WINEPREFIX/drive_c/windows/syswow64/Quelmar.scr" ] || fail "$1: a saver went into syswow64"
  folder=$(value "$UNINSTALL" InstallLocation) kb=$(value "$UNINSTALL" EstimatedSize) version=$(value "$UNINSTALL" DisplayVersion)
  [[ "$folder" == 'C:\Program Files'* ]] && [ $((kb)) -ge $(($(stat -c %s "$2") / 1024)) ] && [[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] &&
    [ "$(value "$UNINSTALL" UninstallString)" = "\"$folder\\Uninstall.exe\"" ] ||
    fail "$1: the uninstall entry reads$(values "$UNINSTALL" | sed 's/^/\n    | /')"
  "$WINE" uninstaller --list 2>/dev/null | tr -d '\r' | grep -q '|||Quelmar 3D Screen Saver$' || fail "$1: Add/Remove Programs does not list it"
  [ "$(value "$DESKTOP" SCRNSAVE.EXE)" = 'C:\windows\system32\Quelmar.scr' ] || fail "$1: /CURRENT did not make it the saver"
  end_case "$1: /S leaves the desktop's saver; /S /CURRENT over it puts the $3 saver into system32 and nothing into syswow64, registers the uninstaller, and makes it the desktop's saver"

  begin_case
  local store quiet
  store=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/VirtualStore/windows && mkdir -p "$store"
  printf '[Quelmar 3D ScreenSaver]\r\nBG Stars=450\r\n' | tee "$WINEPREFIX/drive_c/windows/Quelmar.ini" >"$store/Quelmar.ini"
  quiet=$(value "$UNINSTALL" QuietUninstallString)
  [[ "$quiet" =~ ^\"(.*)\"\ /S$ ]] && "$WINE" "${BASH_REMATCH[1]}" /S || fail "$1: '$quiet' does not run"
  # The uninstaller goes on from a copy of itself in the temporary folder.
  until_true 60 uninstalled || fail "$1: after the uninstall: $(ls "$SYSTEM32/Quelmar.scr" 2>&1), $(values "$UNINSTALL")"
  folder=${folder#C:\\}
  until_true 10 test ! -e "$WINEPREFIX/drive_c/${folder//\\//}" || fail "$1: C:\\$folder is still there"
  [ -z "$(value "$DESKTOP" SCRNSAVE.EXE)" ] || fail "$1: the desktop still names the removed saver"
  [ -s "$WINEPREFIX/drive_c/windows/Quelmar.ini" ] && [ -s "$store/Quelmar.ini" ] || fail "$1: the settings went too"
  end_case "$1: the silent uninstall removes the saver, its folder, the entry and the desktop's choice, and leaves Quelmar.ini"
}

if [ "$TARGET" = x86-unicode ]; then
  # Beside the suite's 32-bit prefix, a 64-bit one: there the x86-64 saver goes into the real system32.
  (WINEPREFIX=$WINE_WORK/prefix64 WINEARCH=win64 WINE=${QUELMAR_WINE64:-/usr/lib/wine/wine64}
    export WINEPREFIX WINEARCH WINELOADER=$WINE
    timeout 180 "$WINE" wineboot -i >/dev/null 2>&1 || die "wineboot -i of the 64-bit prefix failed"
    install_round "64-bit prefix" "$QUELMAR_WIN64_BUILD/Quelmar.scr" PE32+
    "$WINESERVER" -k 2>/dev/null || true
    exit "$FAILURES") || FAILURES=$((FAILURES + 1))
  install_round "32-bit prefix" "$QUELMAR_WIN32_BUILD/Quelmar.scr" PE32
else
  install_round "64-bit prefix" "$QUELMAR_WIN64_BUILD/Quelmar.scr" PE32+
fi

wine_end
