# shellcheck shell=bash disable=SC2034  # sourced: the suites read the variables set here
# Shared by the Wine suites: a private Xvfb and a fresh Wine prefix per run,
# bounded polls, and the saver's frames read back from X. Source it, then
# call wine_begin. Everything started here is cleaned up on exit.
#
# Environment (set by CTest): QUELMAR_WIN32_BUILD, QUELMAR_WIN64_BUILD.

set -euo pipefail

WINE_WORK=$(mktemp -d /tmp/quelmar-wine.XXXXXX)
XVFB_PID=
WINE_PIDS=()
FAILURES=0

log() { printf '%s\n' "$*"; }
fail() {
  printf 'FAIL: %s\n' "$*"
  FAILURES=$((FAILURES + 1))
}
# begin_case, then end_case TEXT: "ok  TEXT" unless a check failed between.
begin_case() { CASE_FAILURES=$FAILURES; }
end_case() { [ "$FAILURES" != "$CASE_FAILURES" ] || printf 'ok  %s\n' "$*"; }
die() {
  printf 'FAIL: %s\n' "$*"
  exit 1
}

wine_cleanup() {
  local pid
  for pid in "${WINE_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    "$WINESERVER" -k 2>/dev/null || true
  fi
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
  chmod -R u+w "$WINE_WORK" 2>/dev/null || true # a case may have made folders read-only
  rm -rf "$WINE_WORK"
}
trap wine_cleanup EXIT
trap 'exit 130' INT TERM

# until TIMEOUT-SECONDS COMMAND...: polls every 0.1 s until COMMAND succeeds.
until_true() {
  local deadline=$((SECONDS + $1))
  shift
  while ! "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# ---- Which build, which Wine ----------------------------------------------

# kernel_runs_32bit PROGRAM...: runs the first 32-bit program installed.
# 0: it ran; 1: "Exec format error" (no IA-32 emulation); 2: none installed.
kernel_runs_32bit() {
  local program rc
  for program in "$@"; do
    [ -x "$program" ] || continue
    rc=0
    "$program" --version >/dev/null 2>&1 || rc=$?
    [ "$rc" = 126 ] && return 1
    return 0
  done
  return 2
}

# The shipped build is i686 under 32-bit Wine, and it is tested wherever the
# machine runs 32-bit programs. Where the kernel cannot, 32-bit Wine cannot
# start at all: there the same source's x86-64 build runs under wine64. The
# suite's first line says which.
choose_wine() {
  local wine32=${QUELMAR_WINE32:-/usr/lib/wine/wine}
  local wine64=${QUELMAR_WINE64:-/usr/lib/wine/wine64}
  local why=0
  WINESERVER=${QUELMAR_WINESERVER:-$(command -v wineserver || echo /usr/lib/wine/wineserver)}
  kernel_runs_32bit "$wine32" /lib/ld-linux.so.2 || why=$?
  if [ "$why" = 0 ]; then
    "$wine32" --version >/dev/null 2>&1 ||
      die "this machine runs 32-bit programs, but 32-bit Wine ($wine32) does not start: run scripts/setup.sh"
    [ -f "${QUELMAR_WIN32_BUILD:-}/Quelmar.scr" ] || die "no i686 build in QUELMAR_WIN32_BUILD=${QUELMAR_WIN32_BUILD:-}"
    WINE=$wine32 ARCH=i686 BUILD=$QUELMAR_WIN32_BUILD
    export WINEARCH=win32
    log "wine: testing the i686 Quelmar.scr under 32-bit Wine ($("$WINE" --version)), since this machine runs 32-bit programs; $BUILD"
  else
    if [ ! -x "$wine64" ] || [ ! -f "${QUELMAR_WIN64_BUILD:-}/Quelmar.scr" ]; then
      die "no 64-bit Wine or no x86-64 build (QUELMAR_WIN64_BUILD=${QUELMAR_WIN64_BUILD:-})"
    fi
    WINE=$wine64 ARCH=x86_64 BUILD=$QUELMAR_WIN64_BUILD
    export WINEARCH=win64
    case $why in
    1) why="this machine cannot run 32-bit programs" ;;
    *) why="no 32-bit program is installed to tell (scripts/setup.sh installs 32-bit Wine)" ;;
    esac
    log "wine: testing the x86-64 Quelmar.scr under 64-bit Wine ($("$WINE" --version)), since $why; $BUILD"
  fi
  export WINELOADER=$WINE
  HELPERS=$BUILD/tests/wine
  SAVER=$BUILD/Quelmar.scr
}

# A Unix path as Wine's Z: drive sees it.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# ---- Display and prefix -----------------------------------------------------

# Our server is up on :N: it answers, and the display's lock names our
# process (another run may have taken the number first). Gives up at once
# when our server has died.
xvfb_ready() {
  local deadline=$((SECONDS + 15))
  while kill -0 "$XVFB_PID" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
    if xdpyinfo -display ":$1" >/dev/null 2>&1 &&
      [ "$(tr -d ' ' <"/tmp/.X$1-lock" 2>/dev/null)" = "$XVFB_PID" ]; then
      return 0
    fi
    sleep 0.1
  done
  return 1
}

start_xvfb() {
  local n
  for n in $(seq 100 149); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    # shellcheck disable=SC2086
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp ${XVFB_EXTRA_ARGS:-} >"$WINE_WORK/xvfb-$n.log" 2>&1 &
    XVFB_PID=$!
    if xvfb_ready "$n"; then
      export DISPLAY=":$n"
      log "display: $DISPLAY"
      return 0
    fi
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  done
  die "no free X display from :100 to :149"
}

make_prefix() {
  export WINEPREFIX=$WINE_WORK/prefix
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  local start=$SECONDS
  timeout 180 "$WINE" wineboot -i >"$WINE_WORK/wineboot.log" 2>&1 || {
    cat "$WINE_WORK/wineboot.log"
    die "wineboot -i failed"
  }
  log "prefix: $WINEPREFIX ($((SECONDS - start)) s)"
}

wine_begin() {
  choose_wine
  start_xvfb
  make_prefix
}

wine_end() {
  if [ "$FAILURES" -gt 0 ]; then
    log "$FAILURES check(s) failed"
    exit 1
  fi
  log "all checks passed"
}

# ---- Programs ---------------------------------------------------------------

# start_program OUTPUT-FILE PROGRAM ARGS...: runs under Wine in the
# background; the process id is left in LAST_PID.
start_program() {
  local output=$1
  shift
  "$WINE" "$@" >"$output" 2>&1 &
  LAST_PID=$!
  WINE_PIDS+=("$LAST_PID")
}

# wait_exit PID TIMEOUT: sets EXIT_CODE to the process's exit code (as the
# shell sees it: -1 is 255), or to "timeout" after killing the process.
wait_exit() {
  local pid=$1
  EXIT_CODE=0
  if ! until_true "$2" has_ended "$pid"; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    EXIT_CODE=timeout
    return
  fi
  wait "$pid" || EXIT_CODE=$?
}

is_running() { kill -0 "$1" 2>/dev/null; }
has_ended() { ! kill -0 "$1" 2>/dev/null; }

# ---- Windows and frames -----------------------------------------------------

window_named() { xdotool search --name "^$1\$" 2>/dev/null | head -n 1; }
has_window_named() { [ -n "$(window_named "$1")" ]; }
count_windows_named() { xdotool search --name "^$1\$" 2>/dev/null | wc -l; }

# The X window that holds the GL child's frames: an unnamed window of the
# drawing area's size below a top-level one (Wine's own desktop window is
# unnamed and of the screen's size too, but top-level). Wine 8 renders a GL
# child window offscreen (into a composite-redirected X window) and its copy
# into a toplevel that uses a client-side surface fails, so the screen
# itself stays black there; the frames are read from that window instead,
# which is what the context drew.
gl_window() {
  xwininfo -root -tree 2>/dev/null |
    awk -v size="$1x$2" '/^        +0x/ && $2 == "(has" && $5 == "()" && index($6, size "+") == 1 { print $1; exit }'
}
has_gl_window() { [ -n "$(gl_window "$1" "$2")" ]; }

# read_box TITLE: the text of the message box with that title, as
# "text TEXT|icon yes|owner none|" in BOX; the box is then closed.
read_box() {
  local box=$WINE_WORK/box-$((FRAME_SERIAL += 1)).out
  until_true 60 has_window_named "$1" || { fail "no box titled '$1'"; return 1; }
  "$WINE" "$HELPERS/message_box.exe" "$1" >"$box" 2>&1 || true
  BOX=$(tr -d '\r' <"$box" | tr '\n' '|')
}

# import can hang on a window that has just gone away.
snapshot() { timeout 10 import -window "$1" "$2" 2>/dev/null; }
is_nonblack() { [ "$(convert "$1" -format '%[max]' info: 2>/dev/null || echo 0)" != 0 ]; }
differs() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" != 0 ]; }

FRAME_SERIAL=0
# wait_frames WINDOW COUNT TIMEOUT: waits until the window's content has
# changed COUNT times. Frames are drawn only while the saver's queue is
# empty, so new frames after an input event also prove that the event was
# handled.
wait_frames() {
  local window=$1 count=$2 deadline=$((SECONDS + $3)) previous next
  previous=$WINE_WORK/frame-$((FRAME_SERIAL += 1)).png
  snapshot "$window" "$previous" || return 1
  while [ "$count" -gt 0 ]; do
    next=$WINE_WORK/frame-$((FRAME_SERIAL += 1)).png
    snapshot "$window" "$next" || return 1
    if differs "$previous" "$next"; then
      count=$((count - 1))
      rm -f "$previous"
      previous=$next
    else
      rm -f "$next"
    fi
    [ "$SECONDS" -lt "$deadline" ] || return 1
  done
  LAST_FRAME=$previous
}
