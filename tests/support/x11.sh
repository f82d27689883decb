# The X11 end-to-end fixture: results, bounded waits, a private Xvfb, pixels
# read back. Source it; it makes the temporary folder `work`.
work=$(mktemp -d)
failures=0
pids=()
trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then echo "ok:   $what"; else fail "$what"; fi; }
finish() { echo; echo "$failures checks failed"; exit $((failures > 0)); }

# Polls a command up to a bound (tenths of a second); true once it succeeds.
poll() {
  local tenths=$1 i; shift
  for ((i = 0; i < tenths; i++)); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}

gone() { ! kill -0 "$1" 2>/dev/null; }
# wait_exit PID TENTHS: `status` is the child's exit status once it ends, else "running".
wait_exit() { status=running; if poll "$2" gone "$1"; then wait "$1"; status=$?; fi; }

source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
start_xvfb() { private_xvfb 70 139 "$@" && pids+=("$XVFB_PID") || { echo "FAIL: Xvfb did not start"; exit 1; }; }

# draws_in WINDOW [WxH+X+Y]: true when the window (that part of it) is not black.
draws_in() {
  import -window "$1" "$work/shot.png" 2>/dev/null && convert "$work/shot.png" ${2:+-crop "$2"} -colorspace gray \
    -format '%[fx:mean]' info: | awk '{ exit !($1 > 0.0005) }'
}

# A new stand-in host window (x11_window HELPER) in `win`, kept until the test ends.
new_window() {
  rm -f "$work/win"
  "$1" >"$work/win" &
  pids+=($!)
  poll 100 test -s "$work/win" && read -r win <"$work/win"
}
