#!/usr/bin/env bash
# Builds the Windows installer with NSIS from the two savers.
#   scripts/make-installer.sh OUTPUT I686-SCR X86_64-SCR [TARGET]
# TARGET is NSIS's stub: x86-unicode, the installer that ships, unless told
# otherwise; amd64-unicode builds the same script as a 64-bit program, which
# the Wine tests run where 32-bit programs cannot run.
set -euo pipefail
if [ $# -lt 3 ] || [ $# -gt 4 ]; then
  echo "usage: scripts/make-installer.sh OUTPUT I686-SCR X86_64-SCR [x86-unicode|amd64-unicode]" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
command -v makensis >/dev/null || { echo "make-installer.sh: makensis is missing: run scripts/setup.sh" >&2; exit 1; }
for saver in "$2" "$3"; do
  [ -f "$saver" ] || { echo "make-installer.sh: no saver at $saver (build the win-i686 and win-x86_64 presets)" >&2; exit 1; }
done
mkdir -p "$(dirname "$1")"
makensis -V2 -NOCD \
  "-DOUTFILE=$(realpath -m "$1")" \
  "-DSAVER_I686=$(realpath "$2")" \
  "-DSAVER_X86_64=$(realpath "$3")" \
  "-DREADME=$root/packaging/windows/README.txt" \
  "-DICON=$root/assets/quelmar.ico" \
  "-DTARGET=${4:-x86-unicode}" \
  "$root/packaging/windows/Quelmar.nsi"
