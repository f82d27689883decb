#!/usr/bin/env bash
# The saver as the Linux hosts start it, each in a window of the host's (a
# stand-in's) making: XScreenSaver's settings app (--root --window-id 0xHEX),
# xsecurelock (-root, XSCREENSAVER_WINDOW in decimal) and MATE/Xfce (the
# installed theme entry's Exec line under env -i). Also the installed tree,
# the descriptions against the settings table, and the .deb.
# Usage: hosts_test.sh QUELMAR X11_WINDOW BUILD_DIR
set -uo pipefail
quelmar=$1
window_helper=$2
build=$3
work=$(mktemp -d)
source "$(dirname "$0")/lib.sh"

# --- The installed tree and what it describes ----------------------------------
files="libexec/xscreensaver/quelmar
share/applications/screensavers/quelmar.desktop
share/doc/quelmar/changelog.Debian.gz
share/doc/quelmar/copyright
share/man/man6/quelmar.6x.gz
share/xscreensaver/config/quelmar.xml"
DESTDIR=$work/dest cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 || fail "install: $(tail -n 1 "$work/install.log")"
check "DESTDIR and the prefix are honoured" [ "$(cd "$work/dest/usr" && find . -type f | sed 's|^\./||' | sort)" = "$files" ]
has() { local file=$1 line; shift; for line; do grep -qxF -- "$line" "$file" || return 1; done; }
check "the theme entry runs the installed saver with --root" has "$work/dest/usr/$(sed -n 2p <<<"$files")" \
  'Exec=/usr/libexec/xscreensaver/quelmar --root' 'TryExec=/usr/libexec/xscreensaver/quelmar' 'Categories=Screensaver;'

# One XML element a line; each setting's documented range and default.
xml=$work/dest/usr/share/xscreensaver/config/quelmar.xml
check "the settings description is well-formed XML that runs --root" \
  [ -n "$(xmllint --noout "$xml" && grep '<command arg="--root"/>' "$xml")" ]
elements=$(tr '\n' ' ' <"$xml" | sed 's/>/>\n/g')
man=$(zcat "$work/dest/usr/share/man/man6/quelmar.6x.gz" | sed 's/\\-/-/g')
usage=$("$quelmar" --help)
for row in "stars 100 600 300" "warp-lines 100 600 200" "camera-pause 30 360 120" "warp-pause 30 360 120" \
  "delay 0 100000 0"; do
  read -r id low high default <<<"$row"
  check "--$id: a slider $low..$high, default $default, in --help and the manual page" [ -n "$(grep -- "--$id " <<<"$man")" \
    -a -n "$(grep "<number id=\"$id\" .*arg=\"--$id %\".*low=\"$low\" high=\"$high\" default=\"$default\"" <<<"$elements")" \
    -a -n "$(grep -- "--$id .*\($low to $high (default $default)\|MICROSECONDS\)" <<<"$usage")" ]
done
check "texture detail: none and low pass their word, high (the default) nothing" \
  [ "$(grep -o '<option id="[a-z]*"\|arg-set="--texture[^"]*"' <<<"$elements" | tr '\n' ' ')" = \
    '<option id="none" arg-set="--texture-detail none" <option id="low" arg-set="--texture-detail low" <option id="high" ' ]

if cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1; then
  deb=$(ls "$work"/pkg/quelmar_*.deb)
  check "the .deb holds the installed tree and computed dependencies" \
    [ "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | sort)" = "$files" \
      -a -n "$(dpkg-deb -f "$deb" Depends | grep libx11-6)" ]
  lintian "$deb" >"$work/lintian.log" 2>&1
  check "lintian finds no errors" [ -z "$(grep '^E:' "$work/lintian.log")" ]
else
  fail "cpack: $(tail -n 3 "$work/cpack.log")"
fi

# --- The hosts' windows -------------------------------------------------------------------
# Screen 1 is 8-bit: none of its visuals can do OpenGL.
start_xvfb -screen 0 640x480x24 -screen 1 320x240x8
prefix=$work/usr
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/screensavers/quelmar.desktop")
mkdir -p "$work/home"

windows() { xwininfo -root -tree | grep -c '^ *0x'; }
# The caption strip is 192x12 at the top right, translucent: its text pixels
# are never dark, whatever is behind them; the sky between them often is.
# dark_shares X: the share of dark pixels among the caption's text pixels,
# then among the others, in the strip at x = X.
convert "$(dirname "$0")/../../../assets/bitmaps/caption.bmp" -resize '192x12!' -colorspace gray -threshold 50% \
  "$work/text.png"
text=$(convert "$work/text.png" -format '%[fx:mean]' info:)
dark_shares() {
  import -window "$win" -crop "192x12+$1+0" +repage "$work/strip.png" 2>/dev/null || return 1
  convert "$work/strip.png" -colorspace gray -threshold 8% -negate \( +clone "$work/text.png" -compose multiply \
    -composite \) -format '%[fx:mean] ' info: | awk -v t="$text" '{ print $2 / t, ($1 - $2) / (1 - t) }'
}
caption_at() { read -r text_dark sky_dark < <(dark_shares "$1") && above 0.02 "$text_dark" && above "$sky_dark" 0.2; }
caption_gone() { read -r text_dark _ < <(dark_shares "$1") && above "$text_dark" 0.2; }

# start_in HOST: starts the saver as HOST does, in the window $win.
start_in() {
  local hex
  hex=$(printf '0x%x' "$win")
  case $1 in
    preview) "$quelmar" --root --window-id "$hex" 2>>"$work/saver.err" & ;;
    xsecurelock) XSCREENSAVER_WINDOW=$win XSCREENSAVER_SAVER_INDEX=0 "$quelmar" -root 2>>"$work/saver.err" & ;;
    desktop) env -i HOME="$work/home" DISPLAY="$DISPLAY" XSCREENSAVER_WINDOW="$hex" sh -c "exec $exec_line" \
               2>>"$work/saver.err" & ;;
  esac
  saver=$!
  pids+=($saver)
  poll 100 draws_in "$win"
}

say() { echo "$1" >&"${HELPER[1]}" && read -r -t 10 _ <&"${HELPER[0]}"; }
# ends WHAT STATUS MS: the saver ends within MS milliseconds of now with STATUS.
ends() {
  local start took
  start=$(now_ms)
  wait_exit "$saver" $(($3 / 100 + 5))
  took=$(($(now_ms) - start))
  check "$host: $1 ends it within $3 ms (${took} ms) with status $2 ($status)" [ "$status" = "$2" -a "$took" -le "$3" ]
}
for host in preview xsecurelock desktop; do
  coproc HELPER { "$window_helper"; }
  read -r -t 10 win <&"${HELPER[0]}" || { fail "$host: the window helper did not start"; continue; }
  before=$(windows)
  if start_in "$host"; then
    check "$host: the scene appears in the host's window, and no window of our own" [ "$(windows)" = "$before" ]
    say "resize 640 480"
    check "$host: a resize to 640x480 moves the caption strip to the new top right" \
      eval 'poll 100 caption_at 448 && poll 100 caption_gone 128'
    kill -TERM "$saver"
    ends SIGTERM 143 500
  else
    fail "$host: the host's window stays black"
  fi
  say clear  # black again, so that drawing shows the new start
  start_in "$host" && say destroy && ends "destroying the window" 0 1000
  kill "$HELPER_PID" 2>/dev/null
  wait "$HELPER_PID" 2>/dev/null
done
[ -s "$work/saver.err" ] && fail "the saver wrote to stderr: $(head -n 3 "$work/saver.err")"

# A host window whose visual cannot do OpenGL: one line, exit 1.
sleep 30 | DISPLAY=$DISPLAY.1 "$window_helper" >"$work/id" &
pids+=($!)
poll 50 test -s "$work/id"
DISPLAY=$DISPLAY.1 timeout 20 "$quelmar" --window-id "$(cat "$work/id")" 2>"$work/err"
status=$?
check "a visual without OpenGL: exit 1 and one line ($(cat "$work/err"))" \
  [ "$status" = 1 -a "$(wc -l <"$work/err")" = 1 -a -n "$(grep 'cannot do OpenGL' "$work/err")" ]
finish
