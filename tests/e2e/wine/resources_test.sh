#!/usr/bin/env bash
# What the saver carries and what it does beside drawing, checked under Wine
# by programs of ours: the resources as compiled, the settings file through
# the private-profile functions, the fault guard, and the textures read with
# LoadBitmapA and GetPixel against the portable decoder.
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
run_check "strings 1, 1001, 1007, icon 100, bitmaps 102 and 105-111, dialog 2003" \
  "$HELPERS/resource_check.exe" "$SAVER_W"

log "== settings through GetPrivateProfileIntA and WritePrivateProfileStringA"
run_check "defaults, clamping on load, the raw read, the saved file" \
  "$HELPERS/settings_check.exe" "$SAVER_W"

log "== fault guard"
begin_case
state() {
  "$WINE" "$HELPERS/fault_check.exe" state 2>/dev/null | tr -d '\r'
}
"$WINE" "$HELPERS/fault_check.exe" leave
[ "$(state)" = "running 1" ] || fail "the screen-saver-running state does not outlive a process here: $(state)"
start_program "$WINE_WORK/fault.out" "$HELPERS/fault_check.exe" fault
wait_exit "$LAST_PID" 60
tr -d '\r' <"$WINE_WORK/fault.out" | sed 's/^/    | /'
[ "$EXIT_CODE" = 70 ] || fail "a fault ended the process with $EXIT_CODE, not the guard's 70"
[ "$(state)" = "running 0" ] || fail "the fault left the screen-saver-running state set"
end_case "a fault clears the screen-saver-running state and ends the process with 70"

wine_end
