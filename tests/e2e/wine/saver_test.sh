#!/usr/bin/env bash
# shellcheck source=wine_lib.sh disable=SC2015  # "a && b || fail" fails when either is false
# The full-screen saver under Wine: the argument texts and the program name,
# the window and its frames, the dismissal rules, the single-instance rule,
# and the start-up and frame-rate figures.
source "$(dirname "$0")/wine_lib.sh"
wine_begin

SCREEN_W=1024
SCREEN_H=768
SAVER_W=$(winpath "$SAVER")
LAUNCH=$HELPERS/launch.exe
# A copy in a folder whose name has a space, for the quoted program name.
mkdir -p "$WINEPREFIX/drive_c/My Savers"
cp "$SAVER" "$WINEPREFIX/drive_c/My Savers/Quelmar.scr"

# start_lines NAME LINE...: the launcher runs each exact command line in turn.
start_lines() {
  local name=$1
  shift
  printf '%s\n' "$@" >"$WINE_WORK/$name.cmd"
  start_program "$WINE_WORK/$name.out" "$LAUNCH" "$(winpath "$WINE_WORK/$name.cmd")" "$SAVER_W"
}
launcher_codes() { tr -d '\r' <"$WINE_WORK/$1.out" | sed -n 's/^exit //p' | tr '\n' ' ' | sed 's/ $//'; }

# The full-screen window is up and draws; leaves its frame window in GL.
saver_is_drawing() {
  local what=$1
  until_true 60 has_window_named "Screen Saver" || { fail "$what: no window titled Screen Saver"; return 1; }
  until_true 30 has_gl_window "$SCREEN_W" "$SCREEN_H" || { fail "$what: no GL drawable of the screen's size"; return 1; }
  GL=$(gl_window "$SCREEN_W" "$SCREEN_H")
  wait_frames "$GL" 2 30 || { fail "$what: the frames do not change"; return 1; }
}

park_pointer() { xdotool mousemove 500 400; }

# abandon PID: ends a saver that failed a check, so later cases start clean.
no_saver_window() { [ "$(count_windows_named 'Screen Saver')" = 0 ]; }
abandon() {
  kill "$1" 2>/dev/null || true
  until_true 30 no_saver_window || true
}

log "== argument texts that start the full-screen saver; a key ends each with 0"
for line in '"%SCR%" -S' '"%SCR%" /s' '"%SCR%" /scr' '"%SCR%"   s' \
  '"C:\My Savers\Quelmar.scr" /s' '"C:\My Savers\Quelmar.scr"/s'; do
  begin_case
  park_pointer
  start_lines start "$line"
  launcher=$LAST_PID
  if saver_is_drawing "$line"; then
    xdotool key space
    wait_exit "$launcher" 30
    [ "$EXIT_CODE" = 0 ] && [ "$(launcher_codes start)" = 0 ] ||
      fail "$line: after a key the launcher says '$(launcher_codes start)' ($EXIT_CODE)"
    end_case "$line"
  else
    abandon "$launcher"
    "$WINESERVER" -k 2>/dev/null || true
  fi
done

log "== argument texts that end at once with -1 and create nothing"
invalid=('"%SCR%" /p' '"%SCR%" /p 0' '"%SCR%" /p:1234' '"%SCR%" /p -5' $'"%SCR%" /\tS'
  '"%SCR%" /a' '"%SCR%" /x' '"%SCR%" 7')
begin_case
start_lines invalid "${invalid[@]}"
wait_exit "$LAST_PID" 120
codes=$(launcher_codes invalid)
want=$(printf -- '-1 %.0s' "${invalid[@]}" | sed 's/ $//')
[ "$EXIT_CODE" = 0 ] && [ "$codes" = "$want" ] || fail "invalid texts gave '$codes', want '$want' (launcher $EXIT_CODE)"
[ "$(count_windows_named 'Screen Saver')" = 0 ] || fail "an invalid text left a saver window"
end_case "${#invalid[@]} texts each gave -1 (/a on this NT-family prefix)"

log "== /s: the window, its frames, a second start, and the 4-pixel threshold"
park_pointer
started=$(date +%s%N)
start_program "$WINE_WORK/first.out" "$SAVER" /s
first=$LAST_PID
first_frame_seen() {
  local window
  window=$(gl_window "$SCREEN_W" "$SCREEN_H")
  [ -n "$window" ] && snapshot "$window" "$WINE_WORK/seen.png" && is_nonblack "$WINE_WORK/seen.png"
}
if until_true 60 first_frame_seen; then
  log "    first non-black frame read back $((($(date +%s%N) - started) / 1000000)) ms after the start"
else
  fail "/s: no frame that is not black"
fi
begin_case
if saver_is_drawing "/s"; then
  geometry=$(xwininfo -id "$(window_named 'Screen Saver')" | awk '/Absolute upper-left X/ {x=$NF}
    /Absolute upper-left Y/ {y=$NF} /Width:/ {w=$NF} /Height:/ {h=$NF} END {print w "x" h "+" x "+" y}')
  [ "$geometry" = "${SCREEN_W}x${SCREEN_H}+0+0" ] || fail "/s: the window is $geometry"
  end_case "the window covers the screen ($geometry) and draws"

  begin_case
  start_program "$WINE_WORK/second.out" "$SAVER" /s
  wait_exit "$LAST_PID" 60
  [ "$EXIT_CODE" = 0 ] || fail "a second /s returned $EXIT_CODE"
  is_running "$first" || fail "the first saver ended when the second started"
  [ "$(count_windows_named 'Screen Saver')" = 1 ] || fail "a second saver window appeared"
  wait_frames "$GL" 2 30 || fail "the first saver stopped drawing after the second start"
  end_case "a second /s returned 0 at once; the first one runs on"

  begin_case
  xdotool mousemove 502 402 # 2 right, 2 down: 4 pixels
  wait_frames "$GL" 2 30 || fail "no frames after a 4-pixel move"
  xdotool mousemove 500 396 # 4 up from the start
  wait_frames "$GL" 2 30 || fail "no frames after a 4-pixel move"
  is_running "$first" || fail "a 4-pixel move ended the saver"
  end_case "4-pixel moves do not end it"

  begin_case
  xdotool mousemove 503 402 # 3 right, 2 down: 5 pixels
  wait_exit "$first" 30
  [ "$EXIT_CODE" = 0 ] || fail "a 5-pixel move: exit $EXIT_CODE"
  end_case "a 5-pixel move ends it with 0"
else
  abandon "$first"
fi

log "== /s: a click ends it"
begin_case
park_pointer
start_program "$WINE_WORK/click.out" "$SAVER" /s
if saver_is_drawing "/s for the click"; then
  xdotool click 1
  wait_exit "$LAST_PID" 30
  [ "$EXIT_CODE" = 0 ] || fail "a click: exit $EXIT_CODE"
  end_case "a click ends it with 0"
else
  abandon "$LAST_PID"
fi

log "== /s: window messages sent from outside"
SEND=$HELPERS/send_message.exe
# send TARGET ARGS...: sends one message; leaves the helper's line in SENT.
send() { SENT=$(timeout 30 "$WINE" "$SEND" "$@" 2>/dev/null | tr -d '\r') || SENT="no answer ($?)"; }
begin_case
park_pointer
start_program "$WINE_WORK/messages.out" "$SAVER" /s
saver=$LAST_PID
if saver_is_drawing "/s for messages"; then
  send saver settext Changed
  [ "$SENT" = "result 0 title Screen Saver" ] || fail "WM_SETTEXT: $SENT"
  # Wheel, key release, character, X button, activation, and the three
  # system commands that are dropped in full screen, also with low bits set
  # (the system's own; Wine's default handling of SC_SCREENSAVE | 1 opens
  # its About box).
  for message in "glchild 0x020A 0x00780000" "glchild 0x0101 0x20" "glchild 0x0102 0x20" \
    "glchild 0x020B 0x00010000" "saver 0x001C 1" "saver 0x0112 0xF140" "saver 0x0112 0xF141" \
    "saver 0x0112 0xF142" "saver 0x0112 0xF040" "saver 0x0112 0xF05F"; do
    # shellcheck disable=SC2086
    send $message
    [ "${SENT%% *}" = result ] || fail "message $message: $SENT"
    wait_frames "$GL" 2 30 || fail "no frames after message $message"
    is_running "$saver" || fail "message $message ended the saver"
  done
  send saver 0x001C 0 # WM_ACTIVATEAPP: deactivated
  wait_exit "$saver" 30
  [ "$EXIT_CODE" = 0 ] || fail "deactivation: exit $EXIT_CODE"
else
  abandon "$saver"
fi
end_case "WM_SETTEXT keeps the title; wheel, key release, character, X button, activation and SC_SCREENSAVE (| 1, | 2), SC_NEXTWINDOW, SC_PREVWINDOW | 0xF leave it running; deactivation ends it with 0"

begin_case
park_pointer
start_program "$WINE_WORK/close.out" "$SAVER" /s
if saver_is_drawing "/s for SC_CLOSE"; then
  send saver 0x0112 0xF061 # WM_SYSCOMMAND SC_CLOSE | 1
  wait_exit "$LAST_PID" 30
  [ "$EXIT_CODE" = 0 ] || fail "SC_CLOSE: exit $EXIT_CODE"
else
  abandon "$LAST_PID"
fi
end_case "SC_CLOSE | 1 takes the normal chain and ends it with 0"

begin_case
park_pointer
start_program "$WINE_WORK/right.out" "$SAVER" /s
if saver_is_drawing "/s for the right button"; then
  xdotool click 3
  wait_exit "$LAST_PID" 30
  [ "$EXIT_CODE" = 0 ] || fail "a right click: exit $EXIT_CODE"
else
  abandon "$LAST_PID"
fi
end_case "a right click ends it with 0"

log "== start-up and frame rate at ${SCREEN_W}x${SCREEN_H} (the saver's code under a message hook)"
park_pointer
start_program "$WINE_WORK/probe.out" "$HELPERS/frame_probe.exe" 5
wait_exit "$LAST_PID" 120
sed 's/^/    /' "$WINE_WORK/probe.out"
[ "$EXIT_CODE" = 0 ] || fail "the frame probe drew no frames ($EXIT_CODE)"

wine_end
