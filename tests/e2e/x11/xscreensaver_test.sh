#!/usr/bin/env bash
# XScreenSaver's real daemon runs the saver: `programs: GL: QUELMAR --root` in
# ~/.xscreensaver, activated with xscreensaver-command. The daemon runs no
# savers as root, so as root this runs it as an unprivileged user.
# Usage: xscreensaver_test.sh QUELMAR
set -uo pipefail
work=$(mktemp -d)
chmod 755 "$work"
source "$(dirname "$0")/lib.sh"
start_xvfb -screen 0 640x480x24

# A copy the user can read and run wherever the build tree lives.
cp "$1" "$work/quelmar"
chmod 755 "$work/quelmar"
if [ "$(id -u)" = 0 ]; then
  user=quelmar-e2e
  id "$user" >/dev/null 2>&1 || useradd -m "$user" 2>/dev/null || id "$user" >/dev/null || { echo "FAIL: no user $user"; exit 1; }
  xhost "+SI:localuser:$user" >/dev/null
  as_user() { runuser -u "$user" -- env DISPLAY="$DISPLAY" HOME="$home" "$@"; }
else
  user=$(id -un)
  as_user() { env DISPLAY="$DISPLAY" HOME="$home" "$@"; }
fi
home=$work/home
mkdir -p "$home"
cat >"$home/.xscreensaver" <<EOF
mode: one
selected: 0
lock: False
splash: False
fade: False
unfade: False
timeout: 0:30:00
programs: GL: $work/quelmar --root \n
EOF
chown -R "$user" "$home" "$work"
log=$work/xscreensaver.log
as_user xscreensaver --no-splash --log "$log" >/dev/null 2>&1 &
pids+=($!)

daemon_up() { as_user xscreensaver-command -version; }
forked() { grep -q "forked \"$work/quelmar --root\" in pid" "$log"; }
check "the daemon starts" poll 100 daemon_up
as_user xscreensaver-command -activate >/dev/null 2>&1
if poll 150 forked; then
  pass "its log shows our process forked"
  pid=$(sed -n "s/.*forked \"[^\"]*quelmar --root\" in pid \([0-9]*\).*/\1/p" "$log" | tail -n 1)
  check "the scene shows on the screen" poll 100 draws_in root
  sleep 2
  check "our process still runs after 2 s" kill -0 "$pid"
  check "the log reports no abnormal exit" [ -z "$(grep -i 'quelmar.*\(exited\|crashed\|abnormally\)' "$log")" ]
  as_user xscreensaver-command -deactivate >/dev/null 2>&1
  stopped() { ! kill -0 "$pid"; }
  check "deactivating ends it" poll 50 stopped
else
  fail "our process was never forked: $(tail -n 5 "$log")"
fi
as_user xscreensaver-command -exit >/dev/null 2>&1
finish
