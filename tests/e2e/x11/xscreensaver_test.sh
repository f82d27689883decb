#!/usr/bin/env bash
# XScreenSaver's real daemon runs `programs: GL: QUELMAR --root`, activated with
# xscreensaver-command; as an unprivileged user, since it runs no savers as root.
# Usage: xscreensaver_test.sh QUELMAR
set -uo pipefail
source "$(dirname "$0")/../../support/x11.sh"
start_xvfb -screen 0 640x480x24
home=$work/home user=quelmar-e2e
mkdir -p "$home"
cp "$1" "$work/quelmar"  # a copy the user can run wherever the build tree lives
chmod 755 "$work" "$work/quelmar"
if [ "$(id -u)" = 0 ]; then
  id "$user" >/dev/null 2>&1 || useradd -m "$user" 2>/dev/null || id "$user" >/dev/null || { echo "FAIL: no user $user"; exit 1; }
  xhost "+SI:localuser:$user" >/dev/null
  as_user() { runuser -u "$user" -- env DISPLAY="$DISPLAY" HOME="$home" "$@"; }
else
  user=$(id -un)
  as_user() { env DISPLAY="$DISPLAY" HOME="$home" "$@"; }
fi
printf '%s\n' "mode: one" "selected: 0" "lock: False" "splash: False" "fade: False" "unfade: False" \
  "timeout: 0:30:00" "programs: GL: $work/quelmar --root \\n" >"$home/.xscreensaver"
chown -R "$user" "$work"
log=$work/xscreensaver.log
as_user xscreensaver --no-splash --log "$log" >/dev/null 2>&1 &
pids+=($!)

daemon_up() { as_user xscreensaver-command -version; }
forked() { grep -q "forked \"$work/quelmar --root\" in pid" "$log"; }
check "the daemon starts" poll 100 daemon_up
as_user xscreensaver-command -activate >/dev/null 2>&1
if poll 150 forked; then
  pid=$(sed -n "s/.*forked \"[^\"]*quelmar --root\" in pid \([0-9]*\).*/\1/p" "$log" | tail -n 1)
  check "its log shows our process forked, and the scene shows on the screen" poll 100 draws_in root
  sleep 2
  check "our process still runs after 2 s" kill -0 "$pid"
  check "the log reports no abnormal exit" [ -z "$(grep -i 'quelmar.*\(exited\|crashed\|abnormally\)' "$log")" ]
  as_user xscreensaver-command -deactivate >/dev/null 2>&1
  check "deactivating ends it" poll 50 gone "$pid"
else
  fail "our process was never forked: $(tail -n 5 "$log")"
fi
as_user xscreensaver-command -exit >/dev/null 2>&1
finish
