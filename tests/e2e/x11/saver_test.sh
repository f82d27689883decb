#!/usr/bin/env bash
# End-to-end tests of the Linux saver on a private Xvfb: full screen (/s)
# with the dismissal rules and the single instance, a window of its own, and
# the command line: usage, refusals, and options that beat the settings file.
# Usage: saver_test.sh QUELMAR X11_WINDOW SWAP_COUNTER
set -uo pipefail
quelmar=$1
window_helper=$2
counter=$3
work=$(mktemp -d)
source "$(dirname "$0")/lib.sh"
start_xvfb -screen 0 640x480x24
export XDG_CONFIG_HOME="$work/config"

# A window of our own from the start: it takes the focus away, and xdotool on
# a bare Xvfb only moves the pointer while some window exists.
coproc HELPER { "$window_helper"; }
pids+=($HELPER_PID)
read -r -t 10 parent <&"${HELPER[0]}" || { echo "FAIL: the window helper did not start"; exit 1; }

saver_window() { xdotool search --name '^Screen Saver$' | head -n 1; }
has_saver_window() { [ -n "$(saver_window)" ]; }
not_black() { above "$(window_mean root)" 0.0005; }

start_saver() {
  xdotool mousemove 300 200
  "$quelmar" /s 2>"$work/saver.err" &
  saver=$!
  pids+=($saver)
  poll 100 has_saver_window || { fail "no saver window"; return 1; }
  # The first frames are drawn once the window is up.
  poll 100 not_black || { fail "the screen stays black"; return 1; }
}

# --- Full screen: drawing, size, the single instance --------------------------
if start_saver; then
  geometry=$(xwininfo -id "$(saver_window)" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
  [ "$geometry" = "640x480" ] && pass "the saver covers the screen" || fail "saver window is $geometry"
  import -window root "$work/a.png" 2>/dev/null
  sleep 0.5
  import -window root "$work/b.png" 2>/dev/null
  if [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1)" != "0" ]; then
    pass "frames change over time"
  else
    fail "two screenshots half a second apart are the same"
  fi

  "$quelmar" /S >/dev/null 2>&1 &
  second=$!
  wait_exit "$second" 100
  [ "$status" = 0 ] && pass "a second /s returns 0 at once" || fail "second /s gave $status"
  kill -0 "$saver" 2>/dev/null && pass "the first saver keeps running" || fail "the first saver ended"

  xdotool key space
  wait_exit "$saver" 100
  [ "$status" = 0 ] && pass "a key ends the saver with 0" || fail "key: $status"
fi

if start_saver; then
  xdotool click 1
  wait_exit "$saver" 100
  [ "$status" = 0 ] && pass "a click ends the saver with 0" || fail "click: $status"
fi

if start_saver; then
  xdotool click 4 click 5  # the wheel is no dismissal
  xdotool mousemove 302 202  # 4 pixels from where the saver started
  sleep 1
  if kill -0 "$saver" 2>/dev/null; then pass "a wheel turn and a 4-pixel move do not end it"; else fail "ended on a 4-pixel move"; fi
  xdotool mousemove 303 202  # 5 pixels
  wait_exit "$saver" 100
  [ "$status" = 0 ] && pass "a 5-pixel move ends it with 0" || fail "5-pixel move: $status"
fi

# Loss of focus: another window takes it.
if start_saver; then
  echo focus >&"${HELPER[1]}"
  read -r -t 10 _ <&"${HELPER[0]}"
  wait_exit "$saver" 100
  [ "$status" = 0 ] && pass "losing the focus ends it with 0" || fail "focus loss: $status"
fi

# --- A window of its own: --window, and no option at all -----------------------
own_window() { xdotool search --name '^Quelmar 3D Screen Saver$' | head -n 1; }
for args in --window ""; do
  "$quelmar" $args 2>"$work/own.err" &
  own=$!
  pids+=($own)
  if poll 100 own_window && poll 100 draws_in "$(own_window)"; then
    pass "quelmar ${args:-(no option)} draws in a window of its own"
    xdotool key --window "$(own_window)" q 2>/dev/null  # its key release finds the window gone
    wait_exit "$own" 50
    check "q closes it with 0" [ "$status" = 0 ]
  else
    fail "quelmar ${args:-(no option)}: no window of its own that draws"
  fi
done

# --- The command line -----------------------------------------------------------
"$quelmar" --help >"$work/out" 2>"$work/err"
check "--help: usage on stdout, exit 0" [ $? = 0 -a -n "$(grep -- '--window-id ID' "$work/out")" -a ! -s "$work/err" ]
# refuse WORD ARGS...: exit 1 with one line on stderr that names WORD, nothing drawn.
refuse() {
  local word=$1; shift
  timeout 20 "$quelmar" "$@" >"$work/out" 2>"$work/err"
  local got=$?
  check "quelmar $* exits 1 with one line naming $word: $(head -n 1 "$work/err")" \
    [ "$got" = 1 -a "$(wc -l <"$work/err")" = 1 -a -n "$(grep -F -- "$word" "$work/err")" ]
}
refuse --speed --speed 2  # the parser's refusals are unit-tested; these go further
refuse 0x7fffff00 --window-id 0x7fffff00
XSCREENSAVER_WINDOW=nonsense refuse XSCREENSAVER_WINDOW --root
DISPLAY= refuse "X display" /s
timeout 20 "$quelmar" /c >/dev/null 2>"$work/err"
check "/c exits 0 and says where the settings are" [ $? = 0 -a -n "$(grep -F "$XDG_CONFIG_HOME/quelmar/Quelmar.ini" "$work/err")" ]

# Options beat the settings file: the points of the first frame are the stars,
# the warp lines and the ship's lights, counted by the preloaded counter.
mkdir -p "$XDG_CONFIG_HOME/quelmar"
printf '[Quelmar 3D ScreenSaver]\nBG Stars=0x64\nWarp Lines=100\n' >"$XDG_CONFIG_HOME/quelmar/Quelmar.ini"
first_frame_points() {
  rm -f "$work/swaps"
  SWAP_COUNTER_FILE=$work/swaps LD_PRELOAD=$counter "$quelmar" --window-id "$parent" "$@" 2>>"$work/saver.err" &
  local pid=$!
  poll 100 test -s "$work/swaps"
  kill "$pid"
  wait "$pid" 2>/dev/null
  awk '{print $4}' "$work/swaps"
}
from_file=$(first_frame_points)
with_options=$(first_frame_points --stars 600 --warp-lines=450)
check "--stars 600 --warp-lines=450 beat the file's 0x64 and 100 ($from_file, then $with_options points)" \
  [ -n "$from_file" -a "$((with_options - from_file))" = 850 ]
finish
