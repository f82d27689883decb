#!/usr/bin/env bash
# shellcheck source=wine_lib.sh disable=SC2015  # "a && b || fail" fails when either is false
# The desktop's screen-saver password under Wine. The saver is told it runs
# on the Windows 95 family (Wine's per-program version "win98", which makes
# GetVersionExA report VER_PLATFORM_WIN32_WINDOWS under 64-bit Wine too) and
# finds stand-ins of ours beside it: PASSWORD.CPL, whose VerifyScreenSavePwd
# answers what verifier.txt says and records each call, and MPR.DLL, whose
# PwdChangePasswordA records its arguments. Then: every close asks the
# verifier, the 200 ms rule, the running state, the settings that mean no
# password, the preview, the NT family, the a mode, and a loop that looks for
# leaks.
source "$(dirname "$0")/wine_lib.sh"
wine_begin

SCREEN_W=1024
SCREEN_H=768
# The stand-ins beside the saver, and in a second folder each under the
# other's name: there the library loads but lacks the function.
STANDIN=$WINEPREFIX/drive_c/Stand-in
SWAPPED=$WINEPREFIX/drive_c/Swapped
mkdir -p "$STANDIN" "$SWAPPED"
cp "$SAVER" "$HELPERS/PASSWORD.CPL" "$HELPERS/MPR.DLL" "$HELPERS/leak_check.exe" "$STANDIN/"
cp "$SAVER" "$SWAPPED/"
cp "$HELPERS/MPR.DLL" "$SWAPPED/PASSWORD.CPL"
cp "$HELPERS/PASSWORD.CPL" "$SWAPPED/MPR.DLL"
# Wine has a built-in MPR.DLL, which it prefers unless told otherwise.
MPR_OURS="$WINEDLLOVERRIDES;mpr=n,b"

platform() {
  "$WINE" reg add 'HKCU\Software\Wine\AppDefaults\Quelmar.scr' /v Version /d "$1" /f >/dev/null 2>&1
}
# use_password dword N | binary HEX | none
use_password() {
  local key='HKCU\Control Panel\Desktop'
  case $1 in
  dword) "$WINE" reg add "$key" /v ScreenSaveUsePassword /t REG_DWORD /d "$2" /f ;;
  binary) "$WINE" reg add "$key" /v ScreenSaveUsePassword /t REG_BINARY /d "$2" /f ;;
  none) "$WINE" reg delete "$key" /v ScreenSaveUsePassword /f ;;
  esac >/dev/null 2>&1 || true
}
# script LINE...: the verifier's answers, one line per call.
script() { printf '%s\n' "$@" >"$STANDIN/verifier.txt"; }
calls() { [ ! -f "$1/calls.log" ] || tr -d "\r" <"$1/calls.log"; }
count_calls() { calls "$STANDIN" | grep -c "$1" || true; }
has_call() { [ "$(count_calls "$1")" -ge "${2:-1}" ]; }
show_calls() { calls "${1:-$STANDIN}" | sed 's/^/    | /'; }
running_state() { "$WINE" "$HELPERS/fault_check.exe" state 2>/dev/null | tr -d '\r'; }
cursor() { "$WINE" "$HELPERS/cursor_state.exe" 2>/dev/null | tr -d '\r'; }

park_pointer() { xdotool mousemove 500 400; }
no_saver_window() { ! has_window_named "Screen Saver"; }

# start_saver FOLDER TEXT: a full-screen saver from that folder, drawing;
# the process is left in SAVER_PID.
start_saver() {
  park_pointer
  rm -f "$1/calls.log"
  SAVER_OUT=$WINE_WORK/saver-$((FRAME_SERIAL += 1)).out
  start_program "$SAVER_OUT" "$1/Quelmar.scr" /s
  SAVER_PID=$LAST_PID
  if until_true 60 has_window_named "Screen Saver" && until_true 30 has_gl_window "$SCREEN_W" "$SCREEN_H"; then
    GL=$(gl_window "$SCREEN_W" "$SCREEN_H")
    wait_frames "$GL" 2 30 && return 0
  fi
  fail "$2: the saver does not draw"
  kill "$SAVER_PID" 2>/dev/null || true
  until_true 30 no_saver_window || true
  return 1
}

# first_key_ends TEXT FOLDER: the first key ends the saver with 0.
first_key_ends() {
  xdotool key space
  wait_exit "$SAVER_PID" 30
  [ "$EXIT_CODE" = 0 ] || fail "$1: after one key, exit $EXIT_CODE"
}

platform win98
log "== ScreenSaveUsePassword 1: every close asks the verifier; a refusal keeps the saver"
use_password dword 1
script "refuse nested" grant
begin_case
if start_saver "$STANDIN" "password 1"; then
  [ "$(running_state)" = "running 1" ] || fail "the screen-saver-running state is not set while it runs"
  xdotool key space
  until_true 30 has_call "return 1 refuse" || fail "a key did not ask the verifier"
  wait_frames "$GL" 2 30 || fail "no frames after the refusal"
  is_running "$SAVER_PID" || fail "the refusal ended the saver"
  [ "$(cursor)" = "cursor hidden" ] || fail "after the refusal: $(cursor)"
  xdotool key space
  wait_exit "$SAVER_PID" 30
  [ "$EXIT_CODE" = 0 ] || fail "after the grant, exit $EXIT_CODE"
  want="PASSWORD.CPL attach
PASSWORD.CPL call 1 depth 1 running 1 owner WindowsScreenSaverClass
PASSWORD.CPL return 1 refuse
PASSWORD.CPL call 2 depth 1 running 1 owner WindowsScreenSaverClass
PASSWORD.CPL return 2 grant
PASSWORD.CPL detach free running 0"
  [ "$(calls "$STANDIN" | sed 's/ tick [0-9]*//')" = "$want" ] || { fail "the verifier's record:"; show_calls; }
  [ "$(running_state)" = "running 0" ] || fail "the screen-saver-running state outlived the run"
fi
end_case "the verifier is asked with the saver window as owner, the state is set; a refusal (with a close inside the verifier's own loop) keeps it drawing with the cursor hidden; a grant ends it with 0 and unloads the verifier"

log "== the 200 ms rule: closes 150 ms and 250 ms after a refusal"
script "refuse close+150 close+250" grant
begin_case
if start_saver "$STANDIN" "200 ms rule"; then
  xdotool click 1
  wait_exit "$SAVER_PID" 30
  [ "$EXIT_CODE" = 0 ] || fail "exit $EXIT_CODE"
  [ "$(count_calls ' call ')" = 2 ] || { fail "the verifier was asked $(count_calls ' call ') times, want 2"; show_calls; }
  owner=$(calls "$STANDIN" | sed -n 's/.* call 1 .* owner //p')
  [ "$owner" = "OpenGL Window" ] || fail "a click's close went to '$owner', not the GL child"
  tick() { calls "$STANDIN" | sed -n "s/.* $1 .*tick \([0-9]*\).*/\1/p"; }
  gap=$(($(tick 'call 2') - $(tick 'return 1')))
  log "    the second dialog began ${gap} ms after the refusal"
  [ "$gap" -ge 200 ] || fail "the second dialog came too early (${gap} ms)"
fi
end_case "a close 150 ms after a refusal is dropped without a dialog; one 250 ms after asks again (a click: the GL child owns the dialog)"

log "== a fault inside the verifier: the fault guard clears the running state and says what failed"
script fault
begin_case
if WINEDEBUG=-all,warn+debugstr start_saver "$STANDIN" "fault"; then
  xdotool key space
  wait_exit "$SAVER_PID" 30
  [ "$EXIT_CODE" = 70 ] || fail "the fault ended the saver with $EXIT_CODE, not the guard's 70"
  [ "$(running_state)" = "running 0" ] || fail "the fault left the screen-saver-running state set"
  [ "$(calls "$STANDIN" | tail -n 1)" = "PASSWORD.CPL detach free running 0" ] || { fail "the verifier after the fault:"; show_calls; }
  line='Quelmar.scr: exception 0xC0000005 at 0x[0-9A-F]+ \(PASSWORD.CPL\+0x[0-9A-F]+\)'
  grep -Eq "^$line"$'\r$' "$WINEPREFIX/drive_c/windows/Quelmar-fault.txt" || fail "Quelmar-fault.txt: $(cat "$WINEPREFIX/drive_c/windows/Quelmar-fault.txt" 2>&1)"
  grep -Eq "OutputDebugStringA \"$line" "$SAVER_OUT" || fail "no such line in the debugger output"
fi
end_case "the guard clears the state, then frees the verifier, writes the exception and its address (in PASSWORD.CPL) to the debugger and to Quelmar-fault.txt, and ends the run with 70"

log "== settings that mean no password: the first key ends it, nothing is loaded"
script refuse
for setting in "dword 0" "none" "binary 0100000001"; do
  begin_case
  # shellcheck disable=SC2086
  use_password $setting
  if start_saver "$STANDIN" "$setting"; then
    first_key_ends "$setting"
    [ -z "$(calls "$STANDIN")" ] || { fail "$setting: the verifier was touched"; show_calls; }
  fi
  end_case "ScreenSaveUsePassword ${setting/none/missing}: no verifier, one key ends it with 0"
done

begin_case
use_password dword 1
if start_saver "$SWAPPED" "no VerifyScreenSavePwd"; then
  [ "$(running_state)" = "running 0" ] || fail "the running state was set without a verifier"
  first_key_ends "no VerifyScreenSavePwd"
  want="PASSWORD.CPL attach
PASSWORD.CPL detach free"
  [ "$(calls "$SWAPPED")" = "$want" ] || { fail "the library's record:"; show_calls "$SWAPPED"; }
fi
end_case "a PASSWORD.CPL without VerifyScreenSavePwd is freed at once; no running state; one key ends it"

log "== the preview never loads the verifier"
begin_case
rm -f "$STANDIN/calls.log"
start_program "$WINE_WORK/preview.out" "$HELPERS/preview_host.exe" "$(winpath "$STANDIN/Quelmar.scr")" "/p %u"
wait_exit "$LAST_PID" 120
[ "$EXIT_CODE" = 0 ] || { fail "the preview run failed ($EXIT_CODE)"; tr -d '\r' <"$WINE_WORK/preview.out" | sed 's/^/    | /'; }
[ -z "$(calls "$STANDIN")" ] || { fail "the preview touched the verifier"; show_calls; }
end_case "a preview with the password set runs and ends with 0 without loading PASSWORD.CPL"

log "== the a mode: PwdChangePasswordA of MPR.DLL"
start_program "$WINE_WORK/windows.out" "$HELPERS/test_windows.exe"
windows=$LAST_PID
until_true 30 has_window_named "Quelmar test owner" || fail "test_windows showed no window"
until_true 30 grep -q owner "$WINE_WORK/windows.out" || true
read -r owner other <<<"$(tr -d '\r' <"$WINE_WORK/windows.out" | awk '/^owner/ {print $2, $4}')"
# change ARGS... WANT-OWNER: one a run with the stand-in; its record.
change() {
  local want=${*: -1}
  rm -f "$STANDIN/calls.log"
  WINEDLLOVERRIDES=$MPR_OURS "$WINE" "$STANDIN/Quelmar.scr" "${@:1:$#-1}" >/dev/null 2>&1 && code=0 || code=$?
  [ "$code" = 0 ] || fail "'${*:1:$#-1}': exit $code"
  [ "$(calls "$STANDIN")" = "MPR.DLL attach
MPR.DLL change SCRSAVE owner $want 0 0
MPR.DLL detach free" ] || { fail "'${*:1:$#-1}': MPR.DLL's record:"; show_calls; }
}
begin_case
change /a "$owner"
change -A "$other" "$other"
change /a 1234 "$owner"
end_case "/a calls PwdChangePasswordA(\"SCRSAVE\", owner, 0, 0) and exits 0; the owner is the named window, else the foreground one"
kill "$windows" 2>/dev/null || true

begin_case
rm -f "$SWAPPED/calls.log"
WINEDLLOVERRIDES=$MPR_OURS "$WINE" "$SWAPPED/Quelmar.scr" /a >/dev/null 2>&1 && code=0 || code=$?
[ "$code" = 0 ] || fail "/a without PwdChangePasswordA: exit $code"
[ "$(calls "$SWAPPED")" = "MPR.DLL attach
MPR.DLL detach free running 0" ] || { fail "the library's record:"; show_calls "$SWAPPED"; }
has_window_named "Error" && fail "a message appeared"
end_case "/a with an MPR.DLL that lacks PwdChangePasswordA exits 0 silently and frees it"

log "== the NT family: the password setting changes nothing, /a gives -1"
platform win10
use_password dword 1
begin_case
if start_saver "$STANDIN" "NT family"; then
  first_key_ends "NT family"
  [ -z "$(calls "$STANDIN")" ] || { fail "the verifier was touched"; show_calls; }
fi
WINEDLLOVERRIDES=$MPR_OURS "$WINE" "$STANDIN/Quelmar.scr" /a >/dev/null 2>&1 && code=0 || code=$?
[ "$code" = 255 ] || fail "/a on the NT family: exit $code, want -1 (255)"
[ -z "$(calls "$STANDIN")" ] || { fail "/a on the NT family loaded a library"; show_calls; }
end_case "with ScreenSaveUsePassword 1 one key ends the saver with 0 and nothing is loaded; /a exits -1 and loads nothing"

log "== leaks: the dialog and the password operations looped in one process"
begin_case
rm -f "$STANDIN/calls.log"
script refuse
WINEDLLOVERRIDES=$MPR_OURS start_program "$WINE_WORK/leak.out" "$STANDIN/leak_check.exe" 20
wait_exit "$LAST_PID" 120
tr -d '\r' <"$WINE_WORK/leak.out" | sed 's/^/    | /'
[ "$EXIT_CODE" = 0 ] || fail "leak_check ($EXIT_CODE)"
end_case "no window, handle or library left behind by 21 rounds"

wine_end
