#!/usr/bin/env bash
# shellcheck source=wine_lib.sh disable=SC2015  # "a && b || fail" fails when either is false
# The preview under Wine: a window of ours (preview_host) starts the saver
# with its handle; the saver must fill it, draw, ignore input over it,
# forward context-menu requests to it, and end with 0 when it is destroyed.
source "$(dirname "$0")/wine_lib.sh"
wine_begin

SAVER_W=$(winpath "$SAVER")
HOST=$HELPERS/preview_host.exe
PREVIEW_W=320
PREVIEW_H=240

# Windows console output ends its lines with CR LF.
output_has() { tr -d '\r' <"$1" | grep -q -- "$2"; }
output_value() { tr -d '\r' <"$1" | sed -n "s/^$2 //p" | head -n 1; }
show_output() { tr -d '\r' <"$1" | sed 's/^/    | /'; }

log "== /p with a real window: fills it, draws, ignores input, ends with its parent"
begin_case
out=$WINE_WORK/host.out
stop=$WINE_WORK/stop
start_program "$out" "$HOST" "$SAVER_W" "/p %u" "$(winpath "$stop")"
host=$LAST_PID
if until_true 90 output_has "$out" '^ready'; then
  read -r x y w h <<<"$(output_value "$out" parent)"
  if until_true 30 has_gl_window "$PREVIEW_W" "$PREVIEW_H"; then
    GL=$(gl_window "$PREVIEW_W" "$PREVIEW_H")
    wait_frames "$GL" 2 30 || fail "the preview's frames do not change"
    is_nonblack "$LAST_FRAME" || fail "the preview's frames are black"
  else
    fail "no GL drawable of the preview's size"
  fi
  cx=$((x + w / 2))
  cy=$((y + h / 2))
  for input in "mousemove $cx $cy" "mousemove $((cx + 30)) $((cy + 20))" "click 1" "key space" "click 2"; do
    # shellcheck disable=SC2086
    xdotool $input
    [ -n "${GL:-}" ] && { wait_frames "$GL" 2 30 || fail "no frames after '$input'"; }
    is_running "$host" && ! output_has "$out" '^FAIL' || fail "'$input' over the preview ended something"
  done
  xdotool click 3
  until_true 20 output_has "$out" '^contextmenu$' || fail "a right click did not reach the parent as WM_CONTEXTMENU"
  touch "$stop"
  wait_exit "$host" 90
  [ "$EXIT_CODE" = 0 ] && output_has "$out" '^saver exit 0$' || fail "destroying the parent: host $EXIT_CODE"
else
  fail "the preview never got ready"
  kill "$host" 2>/dev/null || true
fi
[ "$FAILURES" = "$CASE_FAILURES" ] || show_output "$out"
end_case "fills the 320x240 client area, draws, ignores moves, clicks and keys, forwards WM_CONTEXTMENU, ends with 0"

log "== the other spellings of the preview argument"
for format in "/p%u" "-P   %u" "/l %u"; do
  begin_case
  out=$WINE_WORK/host-$((FRAME_SERIAL += 1)).out
  start_program "$out" "$HOST" "$SAVER_W" "$format"
  wait_exit "$LAST_PID" 120
  if [ "$EXIT_CODE" != 0 ] || ! output_has "$out" '^ready$' || ! output_has "$out" '^saver exit 0$'; then
    fail "'$format': host exit $EXIT_CODE"
    show_output "$out"
  fi
  end_case "'$format' runs the preview in the window and ends with 0"
done

wine_end
