#!/usr/bin/env bash
# Quelmar beside Debian's XScreenSaver GL hacks, on one Xvfb at 1280x720:
#  1. each draws as fast as it can (quelmar --root --no-vsync, HACK -root -delay 0)
#     for SECONDS (default 10) s, one run each; frames are counted by
#     swap_counter.c, preloaded; then our ratio to their median;
#  2. the CPU quelmar uses at --delay 16667 (60 frames a second), in percent of one core;
#  3. the time from exec to the first swap in each mode.
# Usage: bench/peers.sh [BUILD]   (a native tree: BUILD/src/quelmar and the X11 test helper)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
seconds=${SECONDS_EACH:-10}
quelmar=$build/src/quelmar
helper=$build/tests/e2e/x11/x11_window
hacks=(atlantis engine flyingtoasters gears sproingies companioncube dangerball cubestorm)
hackdir=/usr/libexec/xscreensaver
for f in "$quelmar" "$helper"; do [ -x "$f" ] || { echo "peers.sh: no $f (build the native tree first)" >&2; exit 1; }; done

work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
cc -shared -fPIC -O2 -o "$work/swap_counter.so" bench/swap_counter.c -ldl

for n in $(seq 150 199); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -screen 0 1280x720x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  export DISPLAY=":$n"
  break
done
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
export XDG_CONFIG_HOME=$work/config  # the default settings

# run_counted SECONDS COMMAND...: runs it with the counter preloaded, then SIGTERM.
# Sets swaps, start_ns (just before exec), first_ns, last_ns, cpu_ticks.
run_counted() {
  local duration=$1; shift
  rm -f "$work/swaps"
  SWAP_COUNTER_FILE=$work/swaps LD_PRELOAD=$work/swap_counter.so \
    sh -c 'date +%s%N >"$0"; exec "$@"' "$work/start" "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep "$duration"
  cpu_ticks=$(awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null || echo 0)
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  start_ns=$(cat "$work/start")
  read -r swaps first_ns last_ns _ <"$work/swaps" 2>/dev/null || { swaps=0 first_ns=0 last_ns=0; }
}
# No comparison inside a printf: mawk reads an unparenthesised '>' there as
# output to a file of that name.
rate() { awk -v n="$swaps" -v a="$first_ns" -v b="$last_ns" 'BEGIN { r = b > a ? (n - 1) / ((b - a) / 1e9) : 0; printf "%.1f", r }'; }

echo "Frames a second at 1280x720 on Xvfb (Mesa llvmpipe), ${seconds} s each, nproc=$(nproc)"
printf '%-16s %8s %10s\n' program frames "frames/s"
run_counted "$seconds" "$quelmar" --root --no-vsync
ours=$(rate)
printf '%-16s %8s %10s\n' quelmar "$swaps" "$ours"
theirs=()
for hack in "${hacks[@]}"; do
  if [ ! -x "$hackdir/$hack" ]; then
    printf '%-16s %8s %10s\n' "$hack" - "not installed"
    continue
  fi
  run_counted "$seconds" "$hackdir/$hack" -root -delay 0
  theirs+=("$(rate)")
  printf '%-16s %8s %10s\n' "$hack" "$swaps" "${theirs[-1]}"
done
median=$(printf '%s\n' "${theirs[@]}" | sort -g | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
awk -v o="$ours" -v m="$median" 'BEGIN { r = m > 0 ? o / m : 0; printf "quelmar / median of the hacks (%.1f): %.2f\n\n", m, r }'

run_counted "$seconds" "$quelmar" --root --delay 16667
hz=$(getconf CLK_TCK)
awk -v t="$cpu_ticks" -v hz="$hz" -v s="$seconds" -v r="$(rate)" \
  'BEGIN { printf "quelmar --root --delay 16667: %.1f frames/s, CPU %.1f%% of one core\n\n", r, 100 * t / hz / s }'

echo "Exec to the first swap (ms), 1280x720"
coproc HELPER { "$helper" 2>/dev/null; }
read -r window <&"${HELPER[0]}"
for mode in "--root" "--window-id $window" "--window" "/s" "/p $window"; do
  # shellcheck disable=SC2086
  run_counted 2 "$quelmar" $mode
  awk -v m="$mode" -v a="$start_ns" -v b="$first_ns" 'BEGIN { t = b > 0 ? (b - a) / 1e6 : -1; printf "  %-22s %7.1f\n", m, t }'
done
kill "$HELPER_PID" 2>/dev/null || true
