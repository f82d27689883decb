#!/usr/bin/env bash
# The installed tree, its descriptions against the settings table, the .deb and .rpm; then the saver
# as the Linux hosts start it, in a stand-in's window. Usage: hosts_test.sh QUELMAR X11_WINDOW BUILD
set -uo pipefail
quelmar=$1 helper=$2 build=$3 saver=none
source "$(dirname "$0")/../../support/x11.sh"

# --- The installed tree and what it describes ----------------------------------
files=$(printf '%s\n' libexec/xscreensaver/quelmar share/applications/screensavers/quelmar.desktop \
  share/doc/quelmar/{changelog.Debian.gz,copyright} share/man/man6/quelmar.6x.gz share/xscreensaver/config/quelmar.xml)
dest=$work/dest/usr
DESTDIR=$work/dest cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 || fail "install: $(tail -n 1 "$work/install.log")"
check "DESTDIR and the prefix are honoured" [ "$(cd "$dest" && find . -type f | sed 's|^\./||' | sort)" = "$files" ]
check "the theme entry runs the installed saver with --root" [ "$(grep -cxF -e 'Categories=Screensaver;' \
  -e 'Exec=/usr/libexec/xscreensaver/quelmar --root' -e 'TryExec=/usr/libexec/xscreensaver/quelmar' \
  "$dest/share/applications/screensavers/quelmar.desktop")" = 3 ]
xml=$dest/share/xscreensaver/config/quelmar.xml
check "the settings description is well-formed XML that runs --root" xmllint --noout "$xml"
elements=$(tr '\n' ' ' <"$xml" | sed 's/>/>\n/g')  # one element a line
man=$(zcat "$dest/share/man/man6/quelmar.6x.gz" | sed 's/\\-/-/g')
usage=$("$quelmar" --help)
for row in "stars 100 600 300" "warp-lines 100 600 200" "camera-pause 30 360 120" "warp-pause 30 360 120" \
  "delay 0 100000 0"; do
  read -r id low high default <<<"$row"
  check "--$id: a slider $low..$high, default $default, in --help and the manual page" [ -n "$(grep -- "--$id " <<<"$man")" \
    -a -n "$(grep "<number id=\"$id\" .*arg=\"--$id %\".*low=\"$low\" high=\"$high\" default=\"$default\"" <<<"$elements")" \
    -a -n "$(grep -- "--$id .*\($low to $high (default $default)\|MICROSECONDS\)" <<<"$usage")" ]
done
check "texture detail: none and low pass their word, high (the default) nothing; --root" \
  [ "$(grep -o '<command arg="--root"/>\|<option id="[a-z]*"\|arg-set="--texture[^"]*"' <<<"$elements" | tr '\n' ' ')" = \
    '<command arg="--root"/> <option id="none" arg-set="--texture-detail none" <option id="low" arg-set="--texture-detail low" <option id="high" ' ]

if cpack --config "$build/CPackConfig.cmake" -G 'DEB;RPM' -B "$work/pkg" >"$work/cpack.log" 2>&1; then
  deb=$(ls "$work"/pkg/quelmar_*.deb) rpm=$(ls "$work"/pkg/quelmar-*.rpm)
  check "the .deb holds the installed tree and computed dependencies" \
    [ "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | sort)" = "$files" \
      -a -n "$(dpkg-deb -f "$deb" Depends | grep libx11-6)" ]
  check "lintian finds no errors" [ -z "$(lintian "$deb" 2>&1 | grep '^E:')" ]
  # Files and links alike, folders left out: each package owns its own set of those.
  check "the .rpm: the same files, the licence marked, GL, GLU, X11 and C++ required; rpmlint: unsigned, no other error" \
    [ "$(rpm -qlvp "$rpm" | awk '$1 !~ /^d/ {print $9}' | sed 's|^/usr/||' | sort)" = "$files" \
      -a "$(rpm -qp --licensefiles "$rpm")" = /usr/share/doc/quelmar/copyright -a "$(rpm -qp --requires "$rpm" | \
      grep -o '^lib\(GL[UX]*\|OpenGL\|X11\|stdc++\)\.' | LC_ALL=C sort -u | tr -d '\n')" = libGLU.libGLX.libOpenGL.libX11.libstdc++. \
      -a "$(rpmlint "$rpm" 2>&1 | grep -o ': E: .*')" = ': E: no-signature' ]
  check "the .rpm's changelog has the .deb's entries" [ "$(rpm -qp --changelog "$rpm" | sed -n 's/^[- ] //p')" = \
    "$(sed -n 's/^  [* ] //p' "$(dirname "$0")/../../../packaging/changelog")" ]
  rpm --root "$work/root" --initdb && rpm -i --root "$work/root" --nodeps --noscripts "$rpm" 2>>"$work/cpack.log" &&
    "$work/root/usr/libexec/xscreensaver/quelmar" --help >"$work/help"
  check "the .rpm installs into a fresh root, where the saver prints its --help" [ $? = 0 -a "$(cat "$work/help")" = "$usage" ]
else
  fail "cpack: $(tail -n 3 "$work/cpack.log")"
fi

# --- The hosts' windows -------------------------------------------------------------------
start_xvfb -screen 0 640x480x24 -screen 1 320x240x8  # screen 1: no visual can do OpenGL
# start_in HOST: starts the saver as HOST does, in the window $win; true once it draws there.
start_in() {
  case $1 in
  preview) "$quelmar" --root --window-id "$(printf '0x%x' "$win")" 2>>"$work/saver.err" & ;;
  xsecurelock) XSCREENSAVER_WINDOW=$win XSCREENSAVER_SAVER_INDEX=0 "$quelmar" -root 2>>"$work/saver.err" & ;;
  desktop) env -i HOME="$work" DISPLAY="$DISPLAY" XSCREENSAVER_WINDOW="$(printf '0x%x' "$win")" sh -c \
    "exec $work/dest$(sed -n 's/^Exec=//p' "$dest/share/applications/screensavers/quelmar.desktop")" \
    2>>"$work/saver.err" & ;;
  esac
  saver=$!
  pids+=($saver)
  poll 100 draws_in "$win"
}
# timed HOST WHAT STATUS MS ACTION: ACTION ends the running saver (else one started in a new
# host window) within MS milliseconds, with STATUS. The best of three tries: the machine may be loaded.
timed() {
  local try start took
  for try in 1 2 3; do
    status="no saver drawing" took=0
    kill -0 "$saver" 2>/dev/null || { new_window "$helper" && start_in "$1"; } || break
    $5
    start=$(date +%s%3N)
    wait_exit "$saver" $(($4 / 100 + 5))
    took=$(($(date +%s%3N) - start))
    [ "$status" = running ] && kill -9 "$saver"
    [ "$status" = "$3" -a "$took" -le "$4" ] && break
  done
  check "$1: $2 ends it within $4 ms (${took} ms, try $try) with status $3 ($status)" [ "$status" = "$3" -a "$took" -le "$4" ]
}
sigterm() { kill -TERM "$saver"; }
destroy() { xdotool windowkill "$win"; }
windows() { xwininfo -root -tree | grep -c '^ *0x'; }
# The caption strip (192x12, top right) is translucent: its text pixels are never dark,
# whatever is behind them, while the sky between them often is. caption_at X: at x = X,
# almost no text pixel is dark and some other pixel is.
convert "$(dirname "$0")/../../../assets/bitmaps/caption.bmp" -resize '192x12!' -colorspace gray \
  -threshold 50% "$work/text.png"
text=$(convert "$work/text.png" -format '%[fx:mean]' info:)
dark_shares() {
  import -window "$win" -crop "192x12+$1+0" +repage "$work/strip.png" 2>/dev/null && convert "$work/strip.png" \
    -colorspace gray -threshold 8% -negate \( +clone "$work/text.png" -compose multiply -composite \) \
    -format '%[fx:mean] ' info: | awk -v t="$text" '{ print $2 / t, ($1 - $2) / (1 - t) }'
}
caption_at() { read -r text_dark sky_dark < <(dark_shares "$1") && awk -v a="$text_dark" -v b="$sky_dark" \
  'BEGIN { exit !(a < 0.02 && b > 0.2) }'; }
for host in preview xsecurelock desktop; do
  if new_window "$helper" && before=$(windows) && start_in "$host"; then
    check "$host: the scene appears in the host's window, and no window of our own" [ "$(windows)" = "$before" ]
    xdotool windowsize "$win" 640 480
    check "$host: after a resize to 640x480 the caption strip moves to the new top right" \
      poll 100 caption_at 448
  else
    fail "$host: the host's window stays black"
  fi
  timed "$host" SIGTERM 143 500 sigterm
  timed "$host" "destroying the window" 0 1000 destroy
done
[ -s "$work/saver.err" ] && fail "the saver wrote to stderr: $(head -n 3 "$work/saver.err")"

# A host window whose visual cannot do OpenGL: one line, exit 1.
DISPLAY=$DISPLAY.1 new_window "$helper"
DISPLAY=$DISPLAY.1 timeout 20 "$quelmar" --window-id "$win" 2>"$work/err"
status=$?
check "a visual without OpenGL: exit 1 ($status) and one line ($(cat "$work/err"))" \
  [ $status = 1 -a "$(wc -l <"$work/err")" = 1 -a -n "$(grep 'cannot do OpenGL' "$work/err")" ]
finish
