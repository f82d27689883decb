#!/usr/bin/env bash
# shellcheck source=wine_lib.sh disable=SC2015  # "a && b || fail" fails when either is false
# The settings dialog under Wine: opened with no argument and with /c, its
# controls read back by dialog_probe, moved with the mouse (arrows, page
# area, thumb), ended with OK, Cancel, Escape and the close box; every scroll
# request code sent as a bar sends it; the file written in the Windows folder,
# or where that cannot be written, in the user's VirtualStore.
source "$(dirname "$0")/wine_lib.sh"
wine_begin

CAPTION="Dellmora: Quelmar 3D Screen Saver Settings"
PROBE=$HELPERS/dialog_probe.exe
INI=$WINEPREFIX/drive_c/windows/Quelmar.ini
WEBSITE=https://www.dellmora.example/quelmar
# With no window manager, Wine draws the caption and its close box itself
# only when told to.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1

probe() { "$WINE" "$PROBE" "$@" 2>/dev/null | tr -d '\r'; }
# pos ID / track ID: a bar's position, and its thumb's while it is dragged.
pos() { probe pos "$1" | awk '{print $2}'; }
track() { probe pos "$1" | awk '{print $4}'; }
pos_is() { [ "$(pos "$1")" = "$2" ]; }
track_moved() { [ "$(track "$1")" != "$2" ]; }
checked() { probe controls | awk -v id="$1" '$1 == id {print $NF}'; }
checked_is() { [ "$(checked "$1")" = "$2" ]; }
no_dialog() { ! has_window_named "$CAPTION"; }

# click ID PART: a click on a part of a control (dialog_probe spot).
click() {
  local x y
  read -r x y <<<"$(probe spot "$1" "$2")"
  [ -n "$y" ] || { fail "no spot $2 on control $1"; return 1; }
  xdotool mousemove "$x" "$y" click 1
}

# open_dialog ARG...: starts the saver with these arguments and waits for
# its dialog; the process is left in DIALOG.
open_dialog() {
  start_program "$WINE_WORK/dialog-$((FRAME_SERIAL += 1)).out" "$SAVER" "$@"
  DIALOG=$LAST_PID
  until_true 60 has_window_named "$CAPTION" || { fail "'$*': no window captioned '$CAPTION'"; return 1; }
}

# expect_exit TEXT: the dialog has gone and the process ended with 1.
expect_exit() {
  wait_exit "$DIALOG" 30
  [ "$EXIT_CODE" = 1 ] || fail "$1: exit code $EXIT_CODE, want 1"
  until_true 10 no_dialog || fail "$1: the dialog is still there"
}

# ini STARS LINES CAMERA WARP DETAIL: the file as the platform writes it.
ini() {
  printf '[Quelmar 3D ScreenSaver]\r\nBG Stars=%s\r\nWarp Lines=%s\r\nCamera Pause=%s\r\nWarp Pause=%s\r\nTexture Detail=%s\r\nVisit the Website=%s\r\n' \
    "$@" "$WEBSITE"
}
expect_file() {
  if ! cmp -s "$INI" <(ini "${@:2}"; printf '%s' "${INI_TAIL:-}"); then
    fail "$1: the file reads"
    sed 's/^/    | /' "$INI" 2>/dev/null || log "    (no file)"
  fi
}

template_controls() {
  cat <<EOF
1 Button "OK"
2 Button "Cancel"
1004 ScrollBar "" range 100 600 pos $2 page 0
1000 ScrollBar "" range 100 600 pos $1 page 0
1006 ScrollBar "" range 30 360 pos $3 page 0
1007 ScrollBar "" range 30 360 pos $4 page 0
-1 Static "bitmap 221x186"
-1 Static "No. of background stars:"
-1 Static "No. of warp lines:"
-1 Static "Camera change pause:"
-1 Static "Warp pause:"
-1 Static "Less"
-1 Static "More"
-1 Static "Short"
-1 Static "Long"
-1 Button "Texture Detail"
1013 Button "High" check $5
1014 Button "Low" check $6
1015 Button "None" check $7
EOF
}
# expect_controls TEXT OWNER STARS LINES CAMERA WARP HIGH LOW NONE
expect_controls() {
  local got want
  got=$(probe controls)
  want=$(printf 'dialog owner %s\n' "$2"; template_controls "${@:3}")
  [ "$got" = "$want" ] || fail "$1: the controls read$(printf '\n%s' "$got" | sed 's/^/    | /')"
}

log "== no argument: the template's controls, then arrows, page areas, thumb and a radio button; OK writes"
rm -f "$INI"
begin_case
if open_dialog; then
  expect_controls "no argument" none 300 200 120 120 1 0 0
  click 1000 lineright && until_true 10 pos_is 1000 310 || fail "stars' right arrow: $(pos 1000), want 310"
  click 1000 pageright && until_true 10 pos_is 1000 360 || fail "stars' right page: $(pos 1000), want 360"
  click 1000 lineleft && until_true 10 pos_is 1000 350 || fail "stars' left arrow: $(pos 1000), want 350"
  click 1004 pageleft && until_true 10 pos_is 1004 150 || fail "warp lines' left page: $(pos 1004), want 150"
  click 1006 lineleft && until_true 10 pos_is 1006 110 || fail "camera pause's left arrow: $(pos 1006), want 110"
  # The thumb: while it is dragged only the thumb moves; the setting follows
  # when it is released.
  read -r x y <<<"$(probe spot 1007 thumb)"
  xdotool mousemove "$x" "$y" mousedown 1 mousemove $((x + 40)) "$y"
  until_true 10 track_moved 1007 120 || fail "warp pause's thumb did not follow the drag"
  [ "$(pos 1007)" = 120 ] || fail "warp pause moved to $(pos 1007) while its thumb was still held"
  dragged=$(track 1007)
  xdotool mouseup 1
  until_true 10 pos_is 1007 "$dragged" || fail "warp pause after the release: $(pos 1007), want $dragged"
  [ "$dragged" -gt 120 ] && [ "$dragged" -le 360 ] || fail "the thumb was dragged to $dragged"
  click 1014 centre && until_true 10 checked_is 1014 1 || fail "Low is not checked after a click"
  [ "$(checked 1013)" = 0 ] || fail "High stayed checked beside Low"
  click 1 centre
  expect_exit "OK"
  expect_file "OK after the moves" 350 150 110 "$dragged" 1
fi
end_case "arrows step 10, page areas 50, the thumb sets on release; OK writes the six keys in order and ends with 1"

log "== /c: owned by the foreground window; Cancel, Escape and the close box write nothing"
start_program "$WINE_WORK/windows.out" "$HELPERS/test_windows.exe"
windows=$LAST_PID
until_true 30 has_window_named "Quelmar test owner" || fail "test_windows showed no window"
cp "$INI" "$WINE_WORK/before.ini"
for way in Cancel Escape "close box"; do
  begin_case
  if open_dialog /c; then
    expect_controls "/c" "Quelmar test owner" 350 150 110 "$dragged" 0 1 0
    click 1000 pageright && until_true 10 pos_is 1000 400 || fail "$way: stars' right page: $(pos 1000)"
    click 1015 centre && until_true 10 checked_is 1015 1 || fail "$way: None is not checked after a click"
    case $way in
    Cancel) click 2 centre ;;
    Escape) xdotool key Escape ;;
    *) read -r x y <<<"$(probe closebox)" && xdotool mousemove "$x" "$y" click 1 || fail "no close box" ;;
    esac
    expect_exit "$way"
    cmp -s "$INI" "$WINE_WORK/before.ini" || fail "$way changed the file"
  fi
  end_case "/c, moves, then $way: ends with 1, the file keeps its values"
done
kill "$windows" 2>/dev/null || true

log "== values outside their ranges: clamped thumbs, no radio button, written back unchanged"
printf '[Quelmar 3D ScreenSaver]\r\nBG Stars=5000\r\nWarp Lines=2147483647\r\nCamera Pause=-5\r\nWarp Pause=340\r\nTexture Detail=7\r\n' >"$INI"
begin_case
if open_dialog; then
  expect_controls "out of range" none 600 600 30 340 0 0 0
  click 1 centre
  expect_exit "OK, out of range"
  expect_file "OK without a move" 5000 2147483647 -5 340 7
fi
end_case "5000 stars, 2147483647 warp lines, camera pause -5, detail 7: thumbs at the ends, no detail button, OK writes them back"

# scroll ID CODE [POS] WANT: a request as the bar sends it, and the bar's
# position after it.
scroll() {
  local want=${*: -1} got
  got=$(probe scroll "${@:1:$#-1}" | awk '{print $2}')
  [ "$got" = "$want" ] || fail "request $2 on bar $1: position $got, want $want"
}
log "== every request code, sent as the bars send them"
begin_case
if open_dialog; then
  scroll 1004 1 600      # SB_LINERIGHT on 2147483647: clamped, never wrapped
  scroll 1006 5 200 30   # SB_THUMBTRACK: nothing, the value stays -5
  scroll 1006 8 30       # SB_ENDSCROLL: nothing
  scroll 1007 3 360      # SB_PAGERIGHT from 340: 360, not 390
  scroll 1000 9 600      # an unknown code changes nothing but still clamps
  click 1 centre
  expect_exit "OK after requests"
  expect_file "requests on out-of-range values" 600 600 -5 360 7
fi
if open_dialog; then
  scroll 1000 6 100      # SB_LEFT
  scroll 1000 0 100      # SB_LINELEFT at the minimum stays there
  scroll 1000 2 100      # SB_PAGELEFT too
  scroll 1004 4 250 250  # SB_THUMBPOSITION
  scroll 1004 7 600      # SB_RIGHT
  scroll 1004 1 600      # SB_LINERIGHT at the maximum
  scroll 1006 7 360      # SB_RIGHT on -5
  scroll 1007 2 310      # SB_PAGELEFT
  scroll 1007 0 300      # SB_LINELEFT
  click 1013 centre && until_true 10 checked_is 1013 1 || fail "High is not checked after a click"
  click 1 centre
  expect_exit "OK after more requests"
  expect_file "requests at the ends" 100 600 360 300 2
fi
end_case "SB_LINE*, SB_PAGE*, SB_THUMBPOSITION, SB_LEFT, SB_RIGHT clamp and move the bar; SB_THUMBTRACK and SB_ENDSCROLL do nothing"

log "== a Windows folder that cannot be written: OK saves where the next /s reads it, or says why not"
# Root writes anywhere: here its Wine (and so its server) runs without the
# capabilities that override file permissions. A normal user needs nothing.
STORE=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/VirtualStore/windows
[ "$(id -u)" != 0 ] || restrict='setpriv --inh-caps=-all --bounding-set=-dac_override,-dac_read_search,-fowner'
printf '#!/bin/sh\nexec %s %s "$@"\n' "${restrict:-}" "$WINE" >"$WINE_WORK/wine" && chmod +x "$WINE_WORK/wine"
INI_TAIL=$'[Other]\r\nKept=1\r\n' # the user's copy starts as the shared file
printf '[Quelmar 3D ScreenSaver]\r\nBG Stars=450\r\n%s' "$INI_TAIL" >"$INI"
chmod a-w "$INI" "$(dirname "$INI")"
"$WINESERVER" -k 2>/dev/null || true
"$WINESERVER" -w 2>/dev/null || true
WINE=$WINE_WORK/wine INI=$STORE/Quelmar.ini
begin_case
if open_dialog; then
  click 1000 lineright && until_true 10 pos_is 1000 460 || fail "stars' right arrow from 450: $(pos 1000)"
  click 1 centre
  expect_exit "OK, the Windows folder read-only"
  expect_file "OK, the Windows folder read-only" 460 200 120 120 2
  WINEDEBUG=-all,trace+profile start_program "$WINE_WORK/ro-saver.out" "$SAVER" /s
  opened() { tr -d '\r' <"$WINE_WORK/ro-saver.out" | sed -n 's/.*PROFILE_Open path: L"\(.*Quelmar.ini\)"$/\1/p' | sort -u; }
  read_any() { [ -n "$(opened)" ]; }
  until_true 60 has_window_named "Screen Saver" && until_true 30 read_any || fail "/s read no settings"
  [ "$(opened)" = "C:\\\\users\\\\$(id -un)\\\\AppData\\\\Local\\\\VirtualStore\\\\windows\\\\Quelmar.ini" ] || fail "/s read $(opened)"
  kill "$LAST_PID" 2>/dev/null || true
fi
end_case "OK writes the user's VirtualStore copy, begun from the shared file, and the next /s reads only that one"

begin_case
chmod a-w "$INI" "$STORE" 2>/dev/null || fail "no VirtualStore copy to make read-only"
if open_dialog; then
  click 1000 lineright && until_true 10 pos_is 1000 470 || fail "stars' right arrow from 460: $(pos 1000)"
  click 1 centre
  if read_box Error; then
    want="text The settings could not be saved to C:\\users\\$(id -un)\\AppData\\Local\\VirtualStore\\windows\\Quelmar.ini: "
    [[ "$BOX" == "$want"?*"|icon yes|owner yes|" ]] || fail "the box: $BOX"
  fi
  until_true 5 has_window_named "$CAPTION" || fail "the dialog ended after a failed save"
  click 2 centre
  expect_exit "Cancel after the failed save"
  expect_file "a failed save" 460 200 120 120 2
fi
chmod -R u+w "$WINEPREFIX/drive_c"
end_case "where neither can be written, OK says so in one box naming the file and the reason, and the dialog stays"

wine_end
