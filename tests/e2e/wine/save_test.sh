#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR source=../../support/wine.sh disable=SC2015  # "a && b || fail" fails when either is false
# The settings save killed at random moments: always a whole file, and no temporary one after the next save.
source "$(dirname "$0")/../../support/wine.sh"
wine_begin

INI=$WINEPREFIX/drive_c/windows/Quelmar.ini
for set in 0 1; do probe save $set && cp "$INI" "$WINE_WORK/set-$set.ini" || die "save $set failed"; done
temporaries() { find "$(dirname "$INI")" -maxdepth 1 -name 'Quelmar.ini.*.tmp' | wc -l; }
begin_case
kills=0 whole=0 empty=0
for round in $(seq 50); do
  start_program "$WINE_WORK/loop.out" "$PROBE" save loop
  until_true 30 output_has "$WINE_WORK/loop.out" '^saving' || { fail "round $round: the save loop did not start" && break; }
  sleep "0.$((RANDOM % 300 + 100))"
  kill -KILL "$LAST_PID" && wait "$LAST_PID" 2>/dev/null || true
  kills=$((kills + 1)) && [ -s "$INI" ] || empty=$((empty + 1))
  cmp -s "$INI" "$WINE_WORK/set-0.ini" || cmp -s "$INI" "$WINE_WORK/set-1.ini" && whole=$((whole + 1)) || true
done
left=$(temporaries) && probe save 0 && cmp -s "$INI" "$WINE_WORK/set-0.ini" || fail "the save after the kills"
[ "$whole" = 50 ] && [ "$(temporaries)" = 0 ] || fail "$kills kills: $whole whole files ($empty empty), $(temporaries) temporary files after one more save"
end_case "$kills kills at random moments of a save loop: $whole whole files, $left temporary files left, none after the next save"

wine_end
