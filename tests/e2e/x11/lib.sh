# Shared by the X11 end-to-end tests: results, bounded waits, a private Xvfb
# and pixels read back. Source it after setting `work` to a temporary folder.
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
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }

finish() {
  echo
  [ "$failures" = 0 ] && echo "all checks passed" || echo "$failures checks failed"
  exit $((failures > 0))
}

# Polls a command up to a bound (tenths of a second); true once it succeeds.
poll() {
  local tenths=$1 i; shift
  for ((i = 0; i < tenths; i++)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# Waits for a child process to end within a bound; sets `status` to its exit
# status, or to "running" when it did not end.
wait_exit() {
  local pid=$1 tenths=$2 i
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

# A private X server on a free display: start_xvfb SCREEN-ARGUMENTS...
start_xvfb() {
  local n
  for n in $(seq 70 139); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" "$@" -nolisten tcp >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    export DISPLAY=":$n"
    poll 100 xdpyinfo && return 0
  done
  echo "FAIL: Xvfb did not start"
  exit 1
}

# Mean brightness (0 to 1) of a window, or of GEOMETRY (WxH+X+Y) within it.
window_mean() {
  import -window "$1" "$work/shot.png" 2>/dev/null &&
    convert "$work/shot.png" ${2:+-crop "$2"} -colorspace gray -format '%[fx:mean]' info:
}
above() { awk -v m="$1" -v t="$2" 'BEGIN { exit !(m > t) }'; }
draws_in() { above "$(window_mean "$1")" 0.0005; }

# Milliseconds since the epoch.
now_ms() { date +%s%3N; }
