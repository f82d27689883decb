#!/usr/bin/env bash
# End-to-end tests of the Linux saver on a private Xvfb: drawing, the
# dismissal rules, the single instance, the preview and the exit codes.
# Usage: saver_test.sh QUELMAR X11_WINDOW
set -uo pipefail
quelmar=$1
window_helper=$2
work=$(mktemp -d)
failures=0
pids=()

cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }

# Polls a command up to a bound (tenths of a second); true once it succeeds.
poll() {
  local tenths=$1; shift
  for ((i = 0; i < tenths; i++)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# Waits for a child process to end within a bound; sets `status` to its exit
# status, or to "running" when it did not end.
wait_exit() {
  local pid=$1 tenths=$2
  status=running
  for ((i = 0; i < tenths; i++)); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      status=$?
      return 0
    fi
    sleep 0.1
  done
}

# A private X server on a free display.
for n in $(seq 70 99); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -screen 0 640x480x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  export DISPLAY=":$n"
  break
done
poll 100 xdpyinfo || { echo "FAIL: Xvfb did not start"; exit 1; }
export XDG_CONFIG_HOME="$work/config"

# A window of our own from the start: it is the preview's parent and takes the
# focus away, and xdotool on a bare Xvfb only moves the pointer while some
# window exists.
coproc HELPER { "$window_helper"; }
pids+=($HELPER_PID)
read -r -t 10 parent <&"${HELPER[0]}" || { echo "FAIL: the window helper did not start"; exit 1; }

saver_window() { xdotool search --name '^Screen Saver$' | head -n 1; }
has_saver_window() { [ -n "$(saver_window)" ]; }

# Mean brightness of the screen, 0 to 1.
screen_mean() {
  import -window root "$work/shot.png" 2>/dev/null && convert "$work/shot.png" -colorspace gray -format '%[fx:mean]' info:
}
not_black() { awk -v m="$(screen_mean)" 'BEGIN { exit !(m > 0.0005) }'; }

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

  "$quelmar" -S >/dev/null 2>&1 &
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

# --- Preview -----------------------------------------------------------------
has_child() { xwininfo -children -id "$parent" | grep -q '"Preview"'; }
"$quelmar" /p "$parent" &
preview=$!
pids+=($preview)
if poll 100 has_child; then
  child=$(xwininfo -children -id "$parent" | awk '/"Preview"/ {print $1}')
  size=$(xwininfo -id "$child" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
  [ "$size" = "320x240" ] && pass "the preview fills its parent" || fail "preview is $size"
  preview_mean() {
    import -window "$parent" "$work/p.png" 2>/dev/null &&
      awk -v m="$(convert "$work/p.png" -colorspace gray -format '%[fx:mean]' info:)" 'BEGIN { exit !(m > 0.0005) }'
  }
  poll 100 preview_mean && pass "the preview draws" || fail "the preview stays black"
  xdotool mousemove 150 150 click 1 key space mousemove 250 250
  sleep 1
  kill -0 "$preview" 2>/dev/null && pass "input over the preview changes nothing" || fail "input ended the preview"
  echo destroy >&"${HELPER[1]}"
  wait_exit "$preview" 100
  [ "$status" = 0 ] && pass "destroying the parent ends the preview with 0" || fail "preview end: $status"
else
  fail "no preview window inside the parent"
fi

# --- Exit codes of the command line -------------------------------------------
expect_status() {
  local want=$1; shift
  timeout 20 "$quelmar" "$@" >/dev/null 2>"$work/err"
  local got=$?
  [ "$got" = "$want" ] && pass "quelmar $* gives $want" || fail "quelmar $* gave $got, want $want"
}
expect_status 255 /p 0
expect_status 255 /p
expect_status 255 /p:1234
expect_status 255 /p -5
expect_status 255 /p 4000000000
expect_status 255 /a
expect_status 255 /x
expect_status 255 $'/\tS'
expect_status 0 /c
grep -q 'settings dialog is not available' "$work/err" && pass "/c says why in one line" || fail "/c printed: $(cat "$work/err")"
expect_status 0

DISPLAY= expect_status 1 /s
echo
[ "$failures" = 0 ] && echo "all X11 end-to-end checks passed" || echo "$failures X11 end-to-end checks failed"
exit $((failures > 0))
