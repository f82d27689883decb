#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR source=../../support/wine.sh disable=SC2015  # "a && b || fail" fails when either is false
# The settings save under Wine, killed at random moments: the file is always the old one
# or the new one, never empty or mixed, and the next save leaves no temporary file.
source "$(dirname "$0")/../../support/wine.sh"
wine_begin

INI=$WINEPREFIX/drive_c/windows/Quelmar.ini
for set in 0 1; do probe save $set && cp "$INI" "$WINE_WORK/set-$set.ini" || die "save $set failed"; done
saving() { output_has "$1" '^saving'; }
begin_case
kills=0 whole=0
for round in $(seq 50); do
  start_program "$WINE_WORK/loop.out" "$PROBE" save loop
  until_true 30 saving "$WINE_WORK/loop.out" || { fail "round $round: the save loop did not start" && break; }
  sleep "0.$(printf '%03d' $((RANDOM % 300)))"
  kill -KILL "$LAST_PID" && wait "$LAST_PID" 2>/dev/null || true
  kills=$((kills + 1))
  cmp -s "$INI" "$WINE_WORK/set-0.ini" || cmp -s "$INI" "$WINE_WORK/set-1.ini" && whole=$((whole + 1)) ||
    log "round $round: $(wc -c <"$INI") bytes$(output "$INI" | sed 's/^/\n    | /')"
done
left=$(find "$(dirname "$INI")" -maxdepth 1 -name 'Quelmar.ini.*.tmp' | wc -l)
probe save 0 && cmp -s "$INI" "$WINE_WORK/set-0.ini" || fail "the save after the kills"
after=$(find "$(dirname "$INI")" -maxdepth 1 -name 'Quelmar.ini.*.tmp' | wc -l)
[ "$whole" = "$kills" ] && [ "$kills" = 50 ] && [ "$after" = 0 ] ||
  fail "$kills kills: $whole whole files; $left temporary files after them, $after after one more save"
end_case "$kills kills at random moments of a save loop: $whole whole files, $left temporary files left, none after the next save"

wine_end
