#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR source=../../support/wine.sh disable=SC2015  # "a && b || fail" fails when either is false
# The preview under Wine in a window of ours, in every spelling of the argument: it fills
# and draws there, ignores input but forwards context menus, and ends with 0 when it goes.
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

wine_end
