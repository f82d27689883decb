#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR source=../../support/wine.sh disable=SC2015  # "a && b || fail" fails when either is false
# The preview under Wine in a window of ours, in every spelling of the argument: it fills
# and draws there, ignores input but forwards context menus, follows the window's size and
# ends with 0 when it goes, its GL objects released while their context is current.
source "$(dirname "$0")/../../support/wine.sh"
wine_begin

for format in "/p %u" "/p%u" "-P   %u" "/l %u"; do
  begin_case
  if open_preview "$SAVER" "$format" && [ "$format" = "/p %u" ]; then
    for input in "mousemove 560 160" "mousemove 590 180" "click 1" "key space" "click 2"; do
      give "$input"
      wait_frames "$GL" 2 30 && is_running "$PREVIEW_PID" || fail "'$input' over the preview ended it or stopped its frames"
    done
    xdotool click 3
    until_true 20 output_has "$WINE_WORK/windows.out" '^contextmenu Quelmar test owner$' ||
      fail "a right click did not reach the window as its WM_CONTEXTMENU"
    end_case "moves, clicks and keys over the preview change nothing; a right click reaches its window"
  fi
  close_preview
  end_case "'$format' draws in the whole 320x240 window and ends with 0 when the window goes"
done

begin_case
corner_lit() { [ "$(convert "$LAST_FRAME" -crop 192x12+128+0 -colorspace gray -format '%[fx:mean > 0.02]' info:)" = 1 ]; }
if test_windows && probe size "Quelmar test owner" 152 112; then
  WINEDEBUG=+wgl,+opengl launch preview "\"$(winpath "$SAVER")\" /p $OWNER" && PREVIEW_PID=$LAST_PID
  drawing 152 112 || fail "no preview drawing at 152x112"
  probe size "Quelmar test owner" 320 240
  drawing 320 240 && corner_lit || fail "after a resize to 320x240 the top right corner shows no scene"
  close_preview
  calls=$(output "$WINE_WORK/preview.out" | grep -E 'trace:opengl:(gl[A-Z]|wglMakeCurrent hDc 00000000)' | tail -n 2)
  [[ $calls == *glDeleteTextures*$'\n'*"wglMakeCurrent hDc 00000000"* ]] ||
    fail "the scene's release and the context's, last: '$calls'"
fi
end_case "a preview follows its window from 152x112 to 320x240 and draws the caption at the new top right; the textures go while the context is current, and no GL call follows"

wine_end
