#!/usr/bin/env bash
# sanitizer_reports.sh clear|check DIR: the sanitizers write their reports into DIR
# (log_path) from every process of a test, so a report from a saver that a script
# stops, or whose exit 1 it expects, counts too. `check` shows them and fails on any.
set -euo pipefail
shopt -s nullglob
if [ "$1" = clear ]; then
  rm -rf "$2" && mkdir -p "$2" && chmod 1777 "$2"  # the XScreenSaver suite's user writes there too
else
  reports=("$2"/*)
  for report in "${reports[@]}"; do echo "=== $report" && cat "$report"; done
  [ ${#reports[@]} = 0 ] || { echo "FAIL: ${#reports[@]} sanitizer reports"; exit 1; }
fi
