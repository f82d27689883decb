#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR source=../../support/wine.sh disable=SC2015  # "a && b || fail" fails when either is false
# The full-screen saver under Wine: the argument texts and the program name, the window
# and its frames, each way it ends and the input that must not end it, one instance only.
source "$(dirname "$0")/../../support/wine.sh"
wine_begin
# A copy in a folder whose name has a space, for the quoted program name.
mkdir -p "$WINEPREFIX/drive_c/My Savers"
cp "$SAVER" "$WINEPREFIX/drive_c/My Savers/Quelmar.scr"

texts=('"%SCR%" -S' '"%SCR%" /s' '"%SCR%" /scr' '"%SCR%"   s' '"C:\My Savers\Quelmar.scr" /s'
  '"C:\My Savers\Quelmar.scr"/s' '"%SCR%" /S')
# The pointer stays where a move leaves it: the next saver starts from there.
ways=("key space" "click 1" "click 3" "click 2" "mousemove_relative 3 2" "send saver 0x0112 0xF061" "send saver 0x001C 0")
ended() { [ "$(codes start | wc -w)" -ge "$1" ]; }
park_pointer
launch start "${texts[@]}"
launcher=$LAST_PID
for i in "${!texts[@]}"; do
  begin_case
  if saver_draws "${texts[i]}"; then
    give "${ways[i]}"
    # The launcher starts the next saver at once: count the exits, not the windows.
    until_true 30 ended $((i + 1)) || { fail "${texts[i]}: '${ways[i]}' did not end it"; probe send saver 0x0010 >/dev/null; }
  fi
  end_case "${texts[i]}, then '${ways[i]}'"
done
wait_exit "$launcher" 60
[ "$(codes start)" = "0 0 0 0 0 0 0 " ] || fail "the saver's exit codes: '$(codes start)'"

invalid=('"%SCR%" /p' '"%SCR%" /p 0' '"%SCR%" /p:1234' '"%SCR%" /p -5' $'"%SCR%" /\tS' '"%SCR%" /a' '"%SCR%" /x' '"%SCR%" 7')
begin_case
launch invalid "${invalid[@]}"
wait_exit "$LAST_PID" 120
[ "$(codes invalid)" = "$(printf -- '-1 %.0s' "${invalid[@]}")" ] || fail "invalid texts gave '$(codes invalid)'"
no_window_named "Screen Saver" || fail "an invalid text left a saver window"
end_case "${#invalid[@]} texts each gave -1 (/a on this NT-family prefix)"

begin_case
if start_saver "/s" "$SAVER" /s; then
  is_nonblack "$LAST_FRAME" || fail "/s: the frames are black"
  geometry=$(xwininfo -name "Screen Saver" | awk '/Absolute upper-left [XY]/ {p = p "+" $NF} /Width:|Height:/ {s = s "x" $NF} END {print substr(s, 2) p}')
  [ "$geometry" = "1024x768+0+0" ] || fail "/s: the window is $geometry"
  start_program "$WINE_WORK/second.out" "$SAVER" /s
  wait_exit "$LAST_PID" 60
  [ "$EXIT_CODE" = 0 ] && [ "$(xdotool search --name '^Screen Saver$' | wc -l)" = 1 ] || fail "a second /s: exit $EXIT_CODE"
  [ "$(probe send saver settext Changed)" = "result 0 title Screen Saver" ] || fail "WM_SETTEXT changed the title"
  # Wheel, key release, character, X button, activation, and the system
  # commands dropped in full screen, also with the system's low bits set
  # (Wine's own SC_SCREENSAVE | 1 opens its About box); then moves of 4.
  for input in "send glchild 0x020A 0x00780000" "send glchild 0x0101 0x20" "send glchild 0x0102 0x20" \
    "send glchild 0x020B 0x00010000" "send saver 0x001C 1" "send saver 0x0112 0xF140" "send saver 0x0112 0xF141" \
    "send saver 0x0112 0xF142" "send saver 0x0112 0xF040" "send saver 0x0112 0xF05F" "mousemove 502 402" "mousemove 500 396"; do
    give "$input"
    wait_frames "$GL" 2 30 && is_running "$SAVER_PID" || fail "'$input' ended it or stopped its frames"
  done
  xdotool mousemove 503 402
  wait_exit "$SAVER_PID" 30
  [ "$EXIT_CODE" = 0 ] || fail "a 5-pixel move: exit $EXIT_CODE"
fi
end_case "covers the screen and draws; a second /s returns 0 at once; WM_SETTEXT, wheel, key release, character, X button, activation, SC_SCREENSAVE (| 1, | 2), SC_NEXTWINDOW, SC_PREVWINDOW | 0xF and 4-pixel moves leave it drawing; a 5-pixel move ends it with 0"

wine_end
