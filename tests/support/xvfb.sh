# shellcheck shell=bash
# private_xvfb FIRST LAST ARGS...: an Xvfb of our own on the first free display
# from :FIRST to :LAST; exports DISPLAY and sets XVFB_PID. A suite started at the
# same moment may pick the same number: only a lock that names our Xvfb counts.
private_xvfb() {
  local first=$1 last=$2 n i
  shift 2
  for n in $(seq "$first" "$last"); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" "$@" -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for ((i = 0; i < 150; i++)); do
      kill -0 "$XVFB_PID" 2>/dev/null || break # lost the number to another server
      if xdpyinfo -display ":$n" >/dev/null 2>&1 && [ "$(tr -d ' ' <"/tmp/.X$n-lock" 2>/dev/null)" = "$XVFB_PID" ]; then
        export DISPLAY=:$n
        return 0
      fi
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null || true
  done
  XVFB_PID=
  return 1
}
