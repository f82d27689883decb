#!/usr/bin/env bash
# sanitizer_reports.sh clear|check DIR: the sanitizers write their reports into DIR
# (log_path), whichever process of a test they come from, so that a report from a
# saver that a script stops or expects to fail is seen too. `check` fails on any.
set -euo pipefail
dir=$2
case $1 in
clear) rm -rf "$dir" && mkdir -p "$dir" && chmod 1777 "$dir" ;;  # the XScreenSaver suite's user writes there too
check)
  shopt -s nullglob
  reports=("$dir"/*)
  for report in "${reports[@]}"; do echo "=== $report"; cat "$report"; done
  [ ${#reports[@]} = 0 ] || { echo "FAIL: ${#reports[@]} sanitizer reports"; exit 1; } ;;
*) echo "usage: $0 clear|check DIR" >&2; exit 2 ;;
esac
