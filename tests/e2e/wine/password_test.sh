#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR source=../../support/wine.sh disable=SC2015  # "a && b || fail" fails when either is false
# The desktop's screen-saver password under Wine. The saver is told it runs on the Windows
# 95 family (Wine's per-program version "win98", also under 64-bit Wine) and finds our
# stand-ins beside it; in a second folder each has the other's name, so it lacks the function.
source "$(dirname "$0")/../../support/wine.sh"
wine_begin

STANDIN=$WINEPREFIX/drive_c/Stand-in SWAPPED=$WINEPREFIX/drive_c/Swapped
mkdir -p "$STANDIN" "$SWAPPED"
cp "$SAVER" "$HELPERS/PASSWORD.CPL" "$HELPERS/MPR.DLL" "$PROBE" "$STANDIN/"
cp "$SAVER" "$SWAPPED/" && cp "$HELPERS/MPR.DLL" "$SWAPPED/PASSWORD.CPL" && cp "$HELPERS/PASSWORD.CPL" "$SWAPPED/MPR.DLL"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mpr=n,b" # Wine prefers its own MPR.DLL

platform() { "$WINE" reg add 'HKCU\Software\Wine\AppDefaults\Quelmar.scr' /v Version /d "$1" /f >/dev/null 2>&1; }
# use_password REG_DWORD N | REG_BINARY HEX | none
use_password() {
  "$WINE" reg delete 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /f >/dev/null 2>&1 || true
  [ "$1" = none ] || "$WINE" reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /t "$1" /d "$2" /f >/dev/null 2>&1
}
script() { printf '%s\n' "$@" >"$STANDIN/verifier.txt"; }
# calls [FOLDER]: the stand-ins' record, without the ticks; fresh [FOLDER]: a new one.
calls() { output "${1:-$STANDIN}/calls.log" | sed 's/ tick [0-9]*//'; }
fresh() { rm -f "${1:-$STANDIN}/calls.log"; }
record_is() { [ "$(calls "${3:-}")" = "$2" ] || fail "$1: the stand-ins' record:$(calls "${3:-}" | sed 's/^/\n    | /')"; }
# key_ends TEXT: one key ends the saver with 0.
key_ends() { xdotool key space && wait_exit "$SAVER_PID" 30 && [ "$EXIT_CODE" = 0 ] || fail "$1: after a key, exit $EXIT_CODE"; }

platform win98
use_password REG_DWORD 1
script "refuse nested" grant
fresh
begin_case
if start_saver "password 1" "$STANDIN/Quelmar.scr" /s; then
  [ "$(probe running)" = "running 1" ] || fail "the screen-saver-running state is not set while it runs"
  xdotool key space
  until_true 30 grep -q "return 1 refuse" "$STANDIN/calls.log" || fail "a key did not ask the verifier"
  wait_frames "$GL" 2 30 && is_running "$SAVER_PID" || fail "the refusal ended the saver or its frames"
  [ "$(probe cursor)" = "cursor hidden" ] || fail "after the refusal: $(probe cursor)"
  key_ends "a grant"
  record_is "two keys" "PASSWORD.CPL attach
PASSWORD.CPL call 1 depth 1 running 1 owner WindowsScreenSaverClass
PASSWORD.CPL return 1 refuse
PASSWORD.CPL call 2 depth 1 running 1 owner WindowsScreenSaverClass
PASSWORD.CPL return 2 grant
PASSWORD.CPL detach free running 0"
  [ "$(probe running)" = "running 0" ] || fail "the screen-saver-running state outlived the run"
fi
end_case "the verifier is asked with the saver window as owner while the state is set; a refusal (with a close inside its own loop) keeps it drawing with the cursor hidden; a grant ends it with 0 and clears the state before the verifier goes"

script "refuse close+150 close+250" grant
fresh
begin_case
if start_saver "200 ms rule" "$STANDIN/Quelmar.scr" /s; then
  xdotool click 1
  wait_exit "$SAVER_PID" 30
  [ "$EXIT_CODE" = 0 ] || fail "exit $EXIT_CODE"
  [ "$(calls | grep -c ' call ')" = 2 ] || fail "the verifier was asked $(calls | grep -c ' call ') times, want 2"
  calls | grep -q "call 1 .* owner OpenGL Window$" || fail "a click's close did not go to the GL child"
  tick() { output "$STANDIN/calls.log" | sed -n "s/.* $1 .*tick \([0-9]*\).*/\1/p"; }
  gap=$(($(tick 'call 2') - $(tick 'return 1')))
  [ "$gap" -ge 200 ] || fail "the second dialog came too early (${gap} ms)"
fi
end_case "a close 150 ms after a refusal is dropped without a dialog; one 250 ms after asks again (a click: the GL child owns the dialog)"

script fault
fresh
begin_case
if WINEDEBUG=-all,warn+debugstr start_saver "fault" "$STANDIN/Quelmar.scr" /s; then
  xdotool key space
  wait_exit "$SAVER_PID" 30
  [ "$EXIT_CODE" = 70 ] && [ "$(probe running)" = "running 0" ] || fail "the fault: exit $EXIT_CODE (want 70), $(probe running)"
  [ "$(calls | tail -n 1)" = "PASSWORD.CPL detach free running 0" ] || fail "the verifier after the fault: $(calls | tail -n 1)"
  line='Quelmar.scr: exception 0xC0000005 at 0x[0-9A-F]+ \(PASSWORD.CPL\+0x[0-9A-F]+\)' file=$WINEPREFIX/drive_c/windows/Quelmar-fault.txt
  grep -Eq "^$line"$'\r$' "$file" || fail "Quelmar-fault.txt: $(cat "$file" 2>&1)"
  grep -Eq "OutputDebugStringA \"$line" "$SAVER_OUT" || fail "no such line in the debugger output"
fi
end_case "the guard clears the state, frees the verifier, writes the exception and its address in PASSWORD.CPL to the debugger and to Quelmar-fault.txt, and ends the run with 70"

script refuse
for setting in "REG_DWORD 0 $STANDIN" "none - $STANDIN" "REG_BINARY 0100000001 $STANDIN" "REG_DWORD 1 $SWAPPED"; do
  read -r type value folder <<<"$setting"
  begin_case
  use_password "$type" "$value"
  fresh "$folder"
  if start_saver "$type $value" "$folder/Quelmar.scr" /s; then
    [ "$(probe running)" = "running 0" ] || fail "$type $value: the running state was set"
    key_ends "$type $value"
    [ "$folder" = "$STANDIN" ] && record_is "$type $value" "" || record_is "no VerifyScreenSavePwd" "PASSWORD.CPL attach
PASSWORD.CPL detach free running 0" "$SWAPPED"
  fi
  end_case "ScreenSaveUsePassword $type $value in ${folder##*/}: one key ends it with 0, no verifier stays loaded, no running state"
done

begin_case
use_password REG_DWORD 1
fresh
open_preview "$STANDIN/Quelmar.scr" "/p %u" && close_preview && record_is "the preview" ""
end_case "a preview with the password set runs and ends with 0 without loading PASSWORD.CPL"

# change FOLDER OWNER ARG...: one a run exits 0, MPR.DLL asked with OWNER (none: not asked).
change() {
  fresh "$1"
  "$WINE" "$1/Quelmar.scr" "${@:3}" >/dev/null 2>&1 || fail "'${*:3}': exit $?"
  record_is "'${*:3}' in ${1##*/}" "MPR.DLL attach
${2:+MPR.DLL change SCRSAVE owner $2 0 0
}MPR.DLL detach free running 0" "$1"
}
begin_case
test_windows
change "$STANDIN" "$OWNER" /a
change "$STANDIN" "$OTHER" -A "$OTHER"
change "$STANDIN" "$OWNER" /a 1234
kill "$WINDOWS_PID"
change "$SWAPPED" "" /a
no_window_named Error || fail "/a without PwdChangePasswordA showed a box"
end_case "/a calls PwdChangePasswordA(\"SCRSAVE\", owner, 0, 0) and exits 0, the owner the named window, else the foreground one; without the function it exits 0 silently"

platform win10
fresh
begin_case
start_saver "NT family" "$STANDIN/Quelmar.scr" /s && key_ends "NT family"
"$WINE" "$STANDIN/Quelmar.scr" /a >/dev/null 2>&1 && code=0 || code=$?
[ "$code" = 255 ] || fail "/a on the NT family: exit $code, want -1 (255)"
record_is "the NT family" ""
end_case "with ScreenSaveUsePassword 1 one key ends the saver with 0 and nothing is loaded; /a exits -1 and loads nothing"

begin_case
fresh
start_program "$WINE_WORK/leak.out" "$STANDIN/probe.exe" leak 20
wait_exit "$LAST_PID" 120
[ "$EXIT_CODE" = 0 ] || fail "the leak loop ($EXIT_CODE): $(output "$WINE_WORK/leak.out")"
for each in "PASSWORD.CPL attach" "PASSWORD.CPL detach free" "PASSWORD.CPL call" "MPR.DLL attach" "MPR.DLL detach free" "MPR.DLL change"; do
  [ "$(calls | grep -c "^$each")" = 21 ] || fail "'$each' $(calls | grep -c "^$each") times in 21 rounds"
done
end_case "no window, handle or library left behind by 21 rounds, each loading and freeing both libraries once"

wine_end
