#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR source=../../support/wine.sh disable=SC2015  # "a && b || fail" fails when either is false
# What the saver carries, read by the probe; and on a display without GLX, the boxes that
# say it cannot build its surface, leaving a Windows 98 desktop as it was.
XVFB_EXTRA_ARGS="-extension GLX"
source "$(dirname "$0")/../../support/wine.sh"
wine_begin

begin_case
diff <(probe resources "$(winpath "$SAVER")" "$(winpath "$QUELMAR_SOURCE_DIR/assets/bitmaps")") - <<'EOF_RESOURCES' ||
  fail "the resources differ (< as compiled, > as wanted)"
strings 1 "Quelmar 3D Screen Saver" 1001 "Quelmar.ini" 1007 "Quelmar 3D ScreenSaver"
icon 100 yes
dialog 1 signature FFFF help 0 exstyle 0 style 80C808C0 items 19 at 0 0 245 225 menu "" class "" caption "Dellmora: Quelmar 3D Screen Saver Settings" font 8 weight 0 italic-charset 100 face "MS Sans Serif"
item help 0 exstyle 0 style 50010001 at 71 194 50 14 id 1 class "#128" text "OK" data 0
item help 0 exstyle 0 style 50010000 at 125 194 50 14 id 2 class "#128" text "Cancel" data 0
item help 0 exstyle 0 style 50000000 at 148 145 90 8 id 1004 class "#132" text "" data 0
item help 0 exstyle 0 style 50000000 at 148 132 90 8 id 1000 class "#132" text "" data 0
item help 0 exstyle 0 style 50000000 at 148 167 90 8 id 1006 class "#132" text "" data 0
item help 0 exstyle 0 style 50000000 at 148 180 90 8 id 1007 class "#132" text "" data 0
item help 0 exstyle 0 style 5000000E at 49 7 147 114 id -1 class "#130" text "#102" data 0
item help 0 exstyle 0 style 50020000 at 66 132 79 8 id -1 class "#130" text "No. of background stars:" data 0
item help 0 exstyle 0 style 50020000 at 66 145 79 8 id -1 class "#130" text "No. of warp lines:" data 0
item help 0 exstyle 0 style 50020000 at 66 167 79 8 id -1 class "#130" text "Camera change pause:" data 0
item help 0 exstyle 0 style 50020000 at 66 180 79 8 id -1 class "#130" text "Warp pause:" data 0
item help 0 exstyle 0 style 50020000 at 148 124 16 8 id -1 class "#130" text "Less" data 0
item help 0 exstyle 0 style 50020000 at 221 124 17 8 id -1 class "#130" text "More" data 0
item help 0 exstyle 0 style 50020000 at 148 159 18 8 id -1 class "#130" text "Short" data 0
item help 0 exstyle 0 style 50020000 at 221 159 17 8 id -1 class "#130" text "Long" data 0
item help 0 exstyle 0 style 50000007 at 7 127 57 49 id -1 class "#128" text "Texture Detail" data 0
item help 0 exstyle 0 style 50000009 at 13 138 31 10 id 1013 class "#128" text "High" data 0
item help 0 exstyle 0 style 50000009 at 13 149 29 10 id 1014 class "#128" text "Low" data 0
item help 0 exstyle 0 style 50000009 at 13 160 33 10 id 1015 class "#128" text "None" data 0
version CompanyName "Dellmora" FileDescription "Quelmar 3D Screen Saver" FileVersion "(the file version)" InternalName "Quelmar" OriginalFilename "Quelmar.scr" ProductName "Quelmar 3D Screen Saver" ProductVersion "(the file version)"
EOF_RESOURCES
end_case "strings 1, 1001, 1007, icon 100, every field of dialog 2003, the version texts; the seven textures by LoadBitmapA and GetPixel equal the decoder's RGBA buffers"

begin_case
STANDIN=$WINEPREFIX/drive_c/Stand-in
mkdir -p "$STANDIN"
cp "$SAVER" "$HELPERS/PASSWORD.CPL" "$STANDIN/"
"$WINE" reg add 'HKCU\Software\Wine\AppDefaults\Quelmar.scr' /v Version /d win98 /f >/dev/null 2>&1
"$WINE" reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /t REG_DWORD /d 1 /f >/dev/null 2>&1
start_program "$WINE_WORK/nogl.out" "$STANDIN/Quelmar.scr" /s
until_true 60 has_window_named "Error Creating Window" && during=$(probe running)
read_box "Error Creating Window" && [ "$BOX" = "text Sorry dude. Can't get a pixel format.|icon yes|owner none|" ] || fail "first box: ${BOX:-}"
read_box "Error" && [ "$BOX" = "text Cant create a OpenGL window!|icon yes|owner none|" ] || fail "second box: ${BOX:-}"
wait_exit "$LAST_PID" 60
[ "$EXIT_CODE" = 1 ] || fail "without OpenGL the saver ended with $EXIT_CODE"
[ "${during:-}" = "running 1" ] && [ "$(probe running)" = "running 0" ] || fail "running state: '${during:-}' during the boxes, then '$(probe running)'"
[ "$(output "$STANDIN/calls.log" | tr '\n' '|')" = "PASSWORD.CPL attach|PASSWORD.CPL detach free running 0|" ] ||
  fail "the verifier's record: $(output "$STANDIN/calls.log")"
# What makes the running-state checks mean something: here the state outlives its process.
probe leave
[ "$(probe running)" = "running 1" ] || fail "the screen-saver-running state does not outlive a process here"
end_case "\"Can't get a pixel format.\" (Error Creating Window), then \"Cant create a OpenGL window!\" (Error), exit code 1; the running state, set meanwhile, cleared before the verifier is freed"

wine_end
