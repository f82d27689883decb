#!/usr/bin/env bash
# shellcheck source=wine_lib.sh disable=SC2015  # "a && b || fail" fails when either is false
# What the saver carries and what it does beside drawing, checked under Wine
# by programs of ours: the resources as compiled and the textures read with
# LoadBitmapA and GetPixel against the portable decoder (the settings file is
# the dialog suite's, the fault guard the password suite's). None of it needs
# OpenGL, so the display has no GLX: there the saver must report that it
# cannot build its surface, and on Windows 98 leave the desktop as it was.
XVFB_EXTRA_ARGS="-extension GLX"
source "$(dirname "$0")/wine_lib.sh"
wine_begin

SAVER_W=$(winpath "$SAVER")

# run_check TEXT PROGRAM ARGS...: the program prints its own findings.
run_check() {
  local text=$1 out=$WINE_WORK/check-$((FRAME_SERIAL += 1)).out
  shift
  begin_case
  start_program "$out" "$@"
  wait_exit "$LAST_PID" 120
  tr -d '\r' <"$out" | sed 's/^/    | /'
  [ "$EXIT_CODE" = 0 ] || fail "$text (exit $EXIT_CODE)"
  end_case "$text"
}

log "== resources"
run_check "strings 1, 1001, 1007, icon 100, bitmaps 102 and 105-111, dialog 2003, VERSIONINFO" \
  "$HELPERS/resource_check.exe" "$SAVER_W"

log "== textures: LoadBitmapA and GetPixel against the portable decoder"
run_check "all seven give the decoder's RGBA buffers, byte for byte" \
  "$HELPERS/texture_check.exe" "$SAVER_W" "$(winpath "$QUELMAR_SOURCE_DIR/assets/bitmaps")"

state() { "$WINE" "$HELPERS/fault_check.exe" state 2>/dev/null | tr -d '\r'; }

log "== /s without OpenGL on Windows 98 with a password: two error boxes, exit code 1, the desktop as it was"
begin_case
STANDIN=$WINEPREFIX/drive_c/Stand-in
mkdir -p "$STANDIN"
cp "$SAVER" "$HELPERS/PASSWORD.CPL" "$STANDIN/"
"$WINE" reg add 'HKCU\Software\Wine\AppDefaults\Quelmar.scr' /v Version /d win98 /f >/dev/null 2>&1
"$WINE" reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /t REG_DWORD /d 1 /f >/dev/null 2>&1
start_program "$WINE_WORK/nogl.out" "$STANDIN/Quelmar.scr" /s
saver=$LAST_PID
until_true 60 has_window_named "Error Creating Window" && during=$(state)
if read_box "Error Creating Window"; then
  [ "$BOX" = "text Sorry dude. Can't get a pixel format.|icon yes|owner none|" ] || fail "first box: $BOX"
  if read_box "Error"; then
    [ "$BOX" = "text Cant create a OpenGL window!|icon yes|owner none|" ] || fail "second box: $BOX"
  fi
fi
wait_exit "$saver" 60
[ "$EXIT_CODE" = 1 ] || fail "without OpenGL the saver ended with $EXIT_CODE"
[ "${during:-}" = "running 1" ] && [ "$(state)" = "running 0" ] || fail "running state: '${during:-}' during the boxes, '$(state)' after"
calls=$(tr -d '\r' <"$STANDIN/calls.log" 2>/dev/null | tr '\n' '|')
[ "$calls" = "PASSWORD.CPL attach|PASSWORD.CPL detach free running 0|" ] || fail "the verifier's record: $calls"
end_case "\"Can't get a pixel format.\" (Error Creating Window), then \"Cant create a OpenGL window!\" (Error), exit code 1; the running state set meanwhile is cleared, then the verifier freed"

# What makes the running-state checks here and in the password suite mean
# something: Wine keeps the state after the process that set it has ended.
"$WINE" "$HELPERS/fault_check.exe" leave
[ "$(state)" = "running 1" ] || fail "the screen-saver-running state does not outlive a process here: $(state)"

wine_end
