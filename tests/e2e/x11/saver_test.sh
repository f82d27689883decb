#!/usr/bin/env bash
# The Linux saver full screen (/s: dismissal rules, single instance), in a window of its
# own, and its command line. Usage: saver_test.sh QUELMAR X11_WINDOW SWAP_COUNTER
set -uo pipefail
quelmar=$1 counter=$3
source "$(dirname "$0")/../../support/x11.sh"
start_xvfb -screen 0 640x480x24
export XDG_CONFIG_HOME="$work/config"
# A window from the start: it takes the focus away, and xdotool on a bare Xvfb only
# moves the pointer while some window exists.
new_window "$2" || { echo "FAIL: the window helper did not start"; exit 1; }

saver_window() { xdotool search --name '^Screen Saver$' | head -n 1; }
has_saver_window() { [ -n "$(saver_window)" ]; }
start_saver() {
  xdotool mousemove 300 200
  "$quelmar" /s 2>>"$work/saver.err" &
  saver=$!
  pids+=($saver)
  poll 100 has_saver_window && poll 100 draws_in root || { fail "/s: no saver window that draws"; return 1; }
}

# Each dismissal rule ends a saver of its own with 0.
for rule in key click move focus; do
  start_saver || continue
  case $rule in
  key)
    check "the saver covers the screen" [ "$(xwininfo -id "$(saver_window)" | grep -c 'Width: 640\|Height: 480')" = 2 ]
    import -window root "$work/a.png" && sleep 0.5 && import -window root "$work/b.png"
    check "frames change over time" [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1)" != 0 ]
    "$quelmar" /S >/dev/null 2>&1 &
    wait_exit $! 100
    check "a second /s returns 0 at once ($status)" [ "$status" = 0 ]
    check "the first saver keeps running" kill -0 "$saver"
    xdotool key space ;;
  click) xdotool click 1 ;;
  move)
    xdotool click 4 click 5 mousemove 302 202 && sleep 1  # the wheel and 4 pixels are no dismissal
    check "a wheel turn and a 4-pixel move do not end it" kill -0 "$saver"
    xdotool mousemove 303 202 ;;
  focus) xdotool windowfocus "$win" ;;
  esac
  wait_exit "$saver" 100
  check "$rule ends the saver with 0 ($status)" [ "$status" = 0 ]
done

# A window of its own: --window, and no option at all; q closes it with 0.
own_window() { xdotool search --name '^Quelmar 3D Screen Saver$' | head -n 1; }
for args in --window ""; do
  "$quelmar" $args 2>>"$work/saver.err" &
  own=$!
  pids+=($own)
  status="no window that draws"
  poll 100 own_window && poll 100 draws_in "$(own_window)" &&
    { xdotool key --window "$(own_window)" q 2>/dev/null; wait_exit "$own" 50; }  # the key release finds it gone
  check "quelmar ${args:-(no option)} draws in a window of its own; q closes it with 0 ($status)" [ "$status" = 0 ]
done

# The command line: usage; exit 1 with one line naming the fault, nothing drawn.
"$quelmar" --help >"$work/out" 2>"$work/err"
check "--help: usage on stdout, exit 0" [ $? = 0 -a -n "$(grep -- '--window-id ID' "$work/out")" -a ! -s "$work/err" ]
refuse() {  # WORD ARGS...
  local word=$1; shift
  timeout 20 "$quelmar" "$@" >/dev/null 2>"$work/err"
  local got=$?
  check "quelmar $* exits 1 ($got) with one line naming $word: $(head -n 1 "$work/err")" \
    [ "$got" = 1 -a "$(wc -l <"$work/err")" = 1 -a -n "$(grep -F -- "$word" "$work/err")" ]
}
refuse --speed --speed 2  # the parser's refusals are unit-tested; these go further
refuse 0x7fffff00 --window-id 0x7fffff00
XSCREENSAVER_WINDOW=nonsense refuse XSCREENSAVER_WINDOW --root
DISPLAY= refuse "X display" /s

# Options beat the settings file: the points of the first frame are the stars,
# the warp lines and the ship's lights, counted by the preloaded counter.
mkdir -p "$XDG_CONFIG_HOME/quelmar"
printf '[Quelmar 3D ScreenSaver]\nBG Stars=0x64\nWarp Lines=100\n' >"$XDG_CONFIG_HOME/quelmar/Quelmar.ini"
first_frame_points() {
  rm -f "$work/swaps"
  SWAP_COUNTER_FILE=$work/swaps LD_PRELOAD=$counter "$quelmar" --window-id "$win" "$@" 2>>"$work/saver.err" &
  poll 100 test -s "$work/swaps"
  kill $! && wait $! 2>/dev/null
  awk '{print $4}' "$work/swaps"
}
from_file=$(first_frame_points)
with_options=$(first_frame_points --stars 600 --warp-lines=450)
check "--stars 600 --warp-lines=450 beat the file's 0x64 and 100 ($from_file, then $with_options points)" \
  [ -n "$from_file" -a "$((with_options - from_file))" = 850 ]
finish
