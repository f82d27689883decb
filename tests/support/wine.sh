# shellcheck shell=bash disable=SC2034,SC2015  # sourced: the suites read the variables set here; "a && b || fail" fails when either is false
# The Wine suites' fixture: a private Xvfb and a fresh Wine prefix per suite, bounded
# polls, the probe, frames read back from X. Whatever it starts ends with the suite.
set -euo pipefail

WINE_WORK=$(mktemp -d /tmp/quelmar-wine.XXXXXX)
XVFB_PID= FAILURES=0 SERIAL=0 WINE_PIDS=()

log() { printf '%s\n' "$*"; }
fail() { printf 'FAIL: %s\n' "$*" && FAILURES=$((FAILURES + 1)); }
die() { printf 'FAIL: %s\n' "$*" && exit 1; }
# begin_case, then end_case TEXT: "ok  TEXT" unless a check failed between.
begin_case() { CASE_FAILURES=$FAILURES; }
end_case() { [ "$FAILURES" != "$CASE_FAILURES" ] || printf 'ok  %s\n' "$*"; }

wine_cleanup() {
  local pid
  for pid in "${WINE_PIDS[@]}" $XVFB_PID; do kill "$pid" 2>/dev/null || true; done
  [ -z "${WINEPREFIX:-}" ] || "$WINESERVER" -k 2>/dev/null || true
  chmod -R u+w "$WINE_WORK" 2>/dev/null || true # a case may have made folders read-only
  rm -rf "$WINE_WORK"
}
trap wine_cleanup EXIT
trap 'exit 130' INT TERM

# until_true SECONDS COMMAND...: polls every 0.1 s until COMMAND succeeds.
until_true() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do [ "$SECONDS" -lt "$deadline" ] && sleep 0.1 || return 1; done
}

# kernel_runs_32bit PROGRAM...: runs the first one installed. 0: it ran; 1:
# "Exec format error" (no IA-32 emulation); 2: none installed.
kernel_runs_32bit() {
  local program rc
  for program in "$@"; do
    [ -x "$program" ] || continue
    rc=0 && "$program" --version >/dev/null 2>&1 || rc=$?
    [ "$rc" != 126 ] && return 0 || return 1
  done
  return 2
}

# The shipped i686 build under 32-bit Wine wherever the machine runs 32-bit programs, else
# the same source's x86-64 build under wine64. The suite's first line says which.
choose_wine() {
  local why=0
  WINESERVER=${QUELMAR_WINESERVER:-$(command -v wineserver || echo /usr/lib/wine/wineserver)}
  kernel_runs_32bit "${QUELMAR_WINE32:-/usr/lib/wine/wine}" /lib/ld-linux.so.2 || why=$?
  if [ "$why" = 0 ]; then
    WINE=${QUELMAR_WINE32:-/usr/lib/wine/wine} BUILD=${QUELMAR_WIN32_BUILD:-} WINEARCH=win32
    "$WINE" --version >/dev/null 2>&1 || die "this machine runs 32-bit programs, but 32-bit Wine ($WINE) does not start: run scripts/setup.sh"
    why="the i686 Quelmar.scr under 32-bit Wine, since this machine runs 32-bit programs"
  else
    WINE=${QUELMAR_WINE64:-/usr/lib/wine/wine64} BUILD=${QUELMAR_WIN64_BUILD:-} WINEARCH=win64
    [ -x "$WINE" ] || die "no 64-bit Wine ($WINE)"
    why="the x86-64 Quelmar.scr under 64-bit Wine, since $([ "$why" = 1 ] && echo "this machine cannot run 32-bit programs" ||
      echo "no 32-bit program is installed to tell (scripts/setup.sh installs 32-bit Wine)")"
  fi
  [ -f "$BUILD/Quelmar.scr" ] || die "no Quelmar.scr in '$BUILD' (QUELMAR_WIN32_BUILD, QUELMAR_WIN64_BUILD)"
  log "wine: testing $why ($("$WINE" --version)); $BUILD"
  export WINEARCH WINELOADER=$WINE
  HELPERS=$BUILD/tests/wine SAVER=$BUILD/Quelmar.scr PROBE=$BUILD/tests/wine/probe.exe
}

# A Unix path as Wine's Z: drive sees it.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
wine_begin() {
  local start=$SECONDS
  choose_wine
  # shellcheck disable=SC2086
  private_xvfb 100 149 -screen 0 1024x768x24 ${XVFB_EXTRA_ARGS:-} || die "no free X display from :100 to :149"
  export WINEPREFIX=$WINE_WORK/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  timeout 180 "$WINE" wineboot -i >"$WINE_WORK/wineboot.log" 2>&1 || { cat "$WINE_WORK/wineboot.log"; die "wineboot -i failed"; }
  log "display $DISPLAY, prefix $WINEPREFIX ($((SECONDS - start)) s)"
}
wine_end() { [ "$FAILURES" = 0 ] && log "all checks passed" || die "$FAILURES check(s) failed"; }

# start_program OUTPUT PROGRAM ARGS...: in the background, its id in LAST_PID.
start_program() {
  "$WINE" "${@:2}" >"$1" 2>&1 &
  LAST_PID=$! && WINE_PIDS+=("$LAST_PID")
}
# wait_exit PID SECONDS: EXIT_CODE as the shell sees it (-1 is 255), or "timeout".
wait_exit() {
  EXIT_CODE=0
  if until_true "$2" has_ended "$1"; then wait "$1" || EXIT_CODE=$?; else kill "$1" 2>/dev/null || true; EXIT_CODE=timeout; fi
}
is_running() { kill -0 "$1" 2>/dev/null; }
has_ended() { ! is_running "$1"; }
# Windows console output ends its lines with CR LF.
probe() { "$WINE" "$PROBE" "$@" 2>/dev/null | tr -d '\r'; }
output() { tr -d '\r' 2>/dev/null <"$1"; }
output_has() { output "$1" | grep -q -- "$2"; }
has_window_named() { [ -n "$(xdotool search --name "^$1\$" 2>/dev/null)" ]; }
no_window_named() { ! has_window_named "$1"; }
park_pointer() { xdotool mousemove 500 400; }

# Wine renders a GL child offscreen into an unnamed X window of its size below a top-level
# one, and the screen itself stays black: the frames are read from there.
gl_window() {
  xwininfo -root -tree 2>/dev/null |
    awk -v size="$1x$2" '/^        +0x/ && $2 == "(has" && $5 == "()" && index($6, size "+") == 1 { print $1; exit }'
}
# read_box TITLE: the box's "text T|icon yes|owner none|" in BOX, then OK.
read_box() { until_true 60 has_window_named "$1" && BOX=$(probe box "$1") || { fail "no box titled '$1'" && return 1; }; }

# import can hang on a window that has just gone away.
snapshot() { timeout 10 import -window "$1" "$2" 2>/dev/null; }
is_nonblack() { [ "$(convert "$1" -format '%[max]' info: 2>/dev/null || echo 0)" != 0 ]; }
# wait_frames WINDOW COUNT SECONDS: its content changed COUNT times (LAST_FRAME). Frames
# are drawn only while the queue is empty: they also prove an input was handled.
wait_frames() {
  local count=$2 deadline=$((SECONDS + $3)) next
  LAST_FRAME=$WINE_WORK/frame-$((SERIAL += 1)).png
  snapshot "$1" "$LAST_FRAME" || return 1
  while [ "$count" -gt 0 ] && [ "$SECONDS" -lt "$deadline" ]; do
    next=$WINE_WORK/frame-$((SERIAL += 1)).png
    snapshot "$1" "$next" || return 1
    [ "$(compare -metric AE "$LAST_FRAME" "$next" null: 2>&1 || true)" = 0 ] && rm -f "$next" ||
      { rm -f "$LAST_FRAME" && LAST_FRAME=$next count=$((count - 1)); }
  done
  [ "$count" = 0 ]
}
has_gl_window() { [ -n "$(gl_window "$1" "$2")" ]; }
# drawing W H: the GL window of that size (GL) shows new frames.
drawing() { until_true 60 has_gl_window "$1" "$2" && GL=$(gl_window "$1" "$2") && wait_frames "$GL" 2 30; }

# saver_draws TEXT: the full-screen saver draws (in GL); start_saver TEXT PROGRAM ARGS...:
# one that must draw (SAVER_PID), else ended.
saver_draws() { until_true 60 has_window_named "Screen Saver" && drawing 1024 768 || { fail "$1: the saver does not draw" && return 1; }; }
start_saver() {
  park_pointer
  SAVER_OUT=$WINE_WORK/saver-$((SERIAL += 1)).out
  start_program "$SAVER_OUT" "${@:2}"
  SAVER_PID=$LAST_PID
  saver_draws "$1" && return 0
  kill "$SAVER_PID" 2>/dev/null && until_true 30 no_window_named "Screen Saver" || true
  return 1
}

# launch NAME LINE...: the probe runs these command lines ("%SCR%" the saver); codes NAME: their exit codes.
launch() {
  printf '%s\n' "${@:2}" >"$WINE_WORK/$1.cmd"
  start_program "$WINE_WORK/$1.out" "$PROBE" launch "$(winpath "$WINE_WORK/$1.cmd")" "$(winpath "$SAVER")"
}
codes() { output "$WINE_WORK/$1.out" | sed -n 's/^exit //p' | tr '\n' ' '; }
# give INPUT: "send WINDOW MESSAGE..." through the probe, else xdotool's.
# shellcheck disable=SC2086
give() { case $1 in send\ *) probe $1 >/dev/null ;; *) xdotool $1 ;; esac; }

# test_windows: the probe's two windows; their handles in OWNER and OTHER.
test_windows() {
  start_program "$WINE_WORK/windows.out" "$PROBE" windows
  WINDOWS_PID=$LAST_PID
  until_true 30 output_has "$WINE_WORK/windows.out" '^owner' || { fail "no test windows" && return 1; }
  read -r _ OWNER _ OTHER <<<"$(output "$WINE_WORK/windows.out" | head -n 1)"
}
# open_preview SAVER FORMAT: '"SAVER" FORMAT' (%u the front test window) draws there (GL);
# close_preview: destroying that window ends it with 0.
open_preview() {
  test_windows || return 1
  launch preview "\"$(winpath "$1")\" ${2//%u/$OWNER}"
  PREVIEW_PID=$LAST_PID
  drawing 320 240 && is_nonblack "$LAST_FRAME" || { fail "'$2': no preview drawing in the window" && return 1; }
}
close_preview() {
  probe send "Quelmar test owner" 0x0010 >/dev/null
  wait_exit "$PREVIEW_PID" 60
  kill "$WINDOWS_PID" 2>/dev/null || true
  [ "$(codes preview)" = "0 " ] || fail "the preview's exit code once its window went: '$(codes preview)'"
}
