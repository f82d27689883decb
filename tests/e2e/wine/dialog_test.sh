#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR source=../../support/wine.sh disable=SC2015  # "a && b || fail" fails when either is false
# The settings dialog under Wine: opened with no argument and with /c, moved with the
# mouse and by every scroll request, ended with OK, Cancel, Escape and the close box; the
# file written in the Windows folder, else in the user's VirtualStore, else a box says why.
source "$(dirname "$0")/../../support/wine.sh"
wine_begin

CAPTION="Dellmora: Quelmar 3D Screen Saver Settings"
INI=$WINEPREFIX/drive_c/windows/Quelmar.ini
# With no window manager, Wine draws the caption and its close box only when told to.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1

pos() { probe send "#$1" 0x00E1 | awk '{print $2}'; } # SBM_GETPOS
pos_is() { [ "$(pos "$1")" = "$2" ]; }
# click ID|dialog PART: a click on that part of the control (or the dialog's closebox).
click() { read -r X Y <<<"$(probe spot "${1/#[0-9]/#${1:0:1}}" "$2")" && xdotool mousemove "$X" "$Y" click 1 || fail "no $2 on $1"; }
# move ID PART WANT: a click there moves bar ID to WANT.
move() { click "$1" "$2" && until_true 10 pos_is "$1" "$3" || fail "$2 of bar $1: $(pos "$1"), want $3"; }
# open_dialog ARG...: the saver shows its dialog (its process in DIALOG).
open_dialog() {
  start_program "$WINE_WORK/dialog-$((SERIAL += 1)).out" "$SAVER" "$@"
  DIALOG=$LAST_PID
  until_true 60 has_window_named "$CAPTION" || { fail "'$*': no dialog"; return 1; }
}
# closed TEXT: the dialog has gone and its process ended with 1.
closed() {
  wait_exit "$DIALOG" 30
  [ "$EXIT_CODE" = 1 ] && until_true 10 no_window_named "$CAPTION" || fail "$1: exit code $EXIT_CODE, want 1 and no dialog"
}
# expect_state TEXT OWNER STARS LINES CAMERA WARP HIGH LOW NONE
expect_state() { [ "$(probe dialog)" = "owner $2 bars ${*:3:4} checks ${*:7}" ] || fail "$1: the dialog reads '$(probe dialog)'"; }
# expect_file TEXT STARS LINES CAMERA WARP DETAIL: the file as the platform writes it.
expect_file() {
  printf '[Quelmar 3D ScreenSaver]\r\nBG Stars=%s\r\nWarp Lines=%s\r\nCamera Pause=%s\r\nWarp Pause=%s\r\nTexture Detail=%s\r\nVisit the Website=https://www.dellmora.example/quelmar\r\n%s' \
    "${@:2}" "${INI_TAIL:-}" | cmp -s "$INI" - || fail "$1: the file reads$(output "$INI" | sed 's/^/\n    | /')"
}

begin_case
if open_dialog; then
  expect_state "no argument" none 300 200 120 120 1 0 0
  move 1000 lineright 310 && move 1000 pageright 360 && move 1000 lineleft 350
  move 1004 pageleft 150 && move 1006 lineleft 110
  # The thumb sets the value when it is released.
  read -r X Y <<<"$(probe spot '#1007' thumb)"
  xdotool mousemove "$X" "$Y" mousedown 1 mousemove $((X + 40)) "$Y" sleep 0.5 mouseup 1
  until_true 10 test "$(pos 1007)" -gt 120 || fail "warp pause after the drag: $(pos 1007)"
  dragged=$(pos 1007)
  click 1014 centre
  until_true 10 expect_state "after the moves" none 350 150 110 "$dragged" 0 1 0
  click 1 centre
  closed OK
  expect_file "OK after the moves" 350 150 110 "$dragged" 1
fi
end_case "arrows step 10, page areas 50, the thumb sets on release, Low replaces High; OK writes the six keys in order and ends with 1"

test_windows
cp "$INI" "$WINE_WORK/before.ini"
for way in Cancel Escape "close box"; do
  begin_case
  if open_dialog /c; then
    expect_state "/c" "Quelmar test owner" 350 150 110 "$dragged" 0 1 0
    move 1000 pageright 400
    click 1015 centre
    case $way in
    Cancel) click 2 centre ;;
    Escape) xdotool key Escape ;;
    *) click dialog closebox ;;
    esac
    closed "$way"
    cmp -s "$INI" "$WINE_WORK/before.ini" || fail "$way changed the file"
  fi
  end_case "/c, moves, then $way: ends with 1, the file keeps its values"
done
kill "$WINDOWS_PID"

printf '[Quelmar 3D ScreenSaver]\r\nBG Stars=5000\r\nWarp Lines=2147483647\r\nCamera Pause=-5\r\nWarp Pause=340\r\nTexture Detail=7\r\n' >"$INI"
# requests TEXT "BAR CODE POSITION WANT"...: WM_HSCROLL (CODE, POSITION) from
# the bar leaves it at WANT; then OK.
requests() {
  local bar code position want
  for row in "${@:2}"; do
    read -r bar code position want <<<"$row"
    probe send dialog 0x0114 $((code | position << 16)) "#$bar" >/dev/null
    pos_is "$bar" "$want" || fail "request $code on bar $bar: $(pos "$bar"), want $want"
  done
  click 1 centre
  closed "OK after the requests: $1"
}
begin_case
if open_dialog; then
  expect_state "out of range" none 600 600 30 340 0 0 0
  requests "on values out of range" "1004 1 0 600" "1006 5 200 30" "1006 8 0 30" "1007 3 0 360" "1000 9 0 600"
  expect_file "requests on values out of range" 600 600 -5 360 7
fi
if open_dialog; then
  click 1013 centre
  requests "at the ends" "1000 6 0 100" "1000 0 0 100" "1000 2 0 100" "1004 4 250 250" "1004 7 0 600" \
    "1004 1 0 600" "1006 7 0 360" "1007 2 0 310" "1007 0 0 300"
  expect_file "requests at the ends" 100 600 360 300 2
fi
end_case "thumbs at the ends of their ranges, no detail button; SB_LINE*, SB_PAGE*, SB_THUMBPOSITION, SB_LEFT, SB_RIGHT clamp, never wrap; SB_THUMBTRACK, SB_ENDSCROLL and unknown codes change nothing; untouched values go back as they came"

# Root writes anywhere: its Wine (and so its server) runs without the capabilities that override permissions.
STORE=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/VirtualStore/windows
[ "$(id -u)" != 0 ] || restrict='setpriv --inh-caps=-all --bounding-set=-dac_override,-dac_read_search,-fowner'
printf '#!/bin/sh\nexec %s %s "$@"\n' "${restrict:-}" "$WINE" >"$WINE_WORK/wine" && chmod +x "$WINE_WORK/wine"
INI_TAIL=$'[Other]\r\nKept=1\r\n' # the user's copy starts as the shared file
printf '[Quelmar 3D ScreenSaver]\r\nBG Stars=450\r\n%s' "$INI_TAIL" >"$INI"
chmod a-w "$INI" "$(dirname "$INI")"
{ "$WINESERVER" -k && "$WINESERVER" -w; } 2>/dev/null || true
WINE=$WINE_WORK/wine INI=$STORE/Quelmar.ini
begin_case
if open_dialog; then
  move 1000 lineright 460
  click 1 centre
  closed "OK, the Windows folder read-only"
  expect_file "OK, the Windows folder read-only" 460 200 120 120 2
  WINEDEBUG=-all,trace+profile start_program "$WINE_WORK/ro-saver.out" "$SAVER" /s
  opened() { output "$WINE_WORK/ro-saver.out" | sed -n 's/.*PROFILE_Open path: L"\(.*Quelmar.ini\)"$/\1/p' | sort -u | grep .; }
  until_true 60 has_window_named "Screen Saver" && until_true 30 opened >/dev/null || fail "/s read no settings"
  [ "$(opened)" = "C:\\\\users\\\\$(id -un)\\\\AppData\\\\Local\\\\VirtualStore\\\\windows\\\\Quelmar.ini" ] || fail "/s read $(opened)"
  kill "$LAST_PID"
fi
end_case "OK writes the user's VirtualStore copy, begun from the shared file, and the next /s reads only that one"

begin_case
chmod a-w "$INI" "$STORE"
if open_dialog; then
  move 1000 lineright 470
  click 1 centre
  want="text The settings could not be saved to C:\\users\\$(id -un)\\AppData\\Local\\VirtualStore\\windows\\Quelmar.ini: "
  read_box Error && [[ "$BOX" == "$want"?*"|icon yes|owner yes|" ]] || fail "the box: ${BOX:-}"
  until_true 5 has_window_named "$CAPTION" || fail "the dialog ended after a failed save"
  click 2 centre
  closed "Cancel after the failed save"
  expect_file "a failed save" 460 200 120 120 2
fi
end_case "where neither can be written, OK says so in one box naming the file and the reason, and the dialog stays"

wine_end
