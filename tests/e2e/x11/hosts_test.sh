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
entry=$work/dest/usr/share/applications/screensavers/quelmar.desktop
check "the theme entry runs the installed saver with --root" grep -qx 'Exec=/usr/libexec/xscreensaver/quelmar --root' "$entry"
check "the theme entry is a screen saver with TryExec" \
  [ -n "$(grep -x 'TryExec=/usr/libexec/xscreensaver/quelmar' "$entry")" -a -n "$(grep -x 'Categories=Screensaver;' "$entry")" ]

# One element a line: "id low high default" per setting, as documented.
xml=$work/dest/usr/share/xscreensaver/config/quelmar.xml
check "the settings description is well-formed XML" xmllint --noout "$xml"
elements=$(tr '\n' ' ' <"$xml" | sed 's/>/>\n/g')
man=$(zcat "$work/dest/usr/share/man/man6/quelmar.6x.gz" | sed 's/\\-/-/g')
usage=$("$quelmar" --help)
for row in "stars 100 600 300" "warp-lines 100 600 200" "camera-pause 30 360 120" "warp-pause 30 360 120"; do
  read -r id low high default <<<"$row"
  line=$(grep "<number id=\"$id\"" <<<"$elements")
  check "$id: a slider $low..$high, default $default, --$id" \
    grep -q "arg=\"--$id %\".*low=\"$low\" high=\"$high\" default=\"$default\"" <<<"$line"
  check "$id: in --help and the manual page" \
    [ -n "$(grep -- "--$id .*$low to $high (default $default)" <<<"$usage")" -a -n "$(grep -- "--$id " <<<"$man")" ]
done
check "texture detail: none and low pass their word, high (the default) nothing" \
  [ "$(grep -o 'option id="[a-z]*"[^>]*' <<<"$elements" | sed 's/ _label="[^"]*"//')" = 'option id="none" arg-set="--texture-detail none"/
option id="low" arg-set="--texture-detail low"/
option id="high"/' ]
check "the XML runs --root and has the delay slider" \
  [ -n "$(grep '<command arg="--root"/>' "$xml")" -a -n "$(grep 'arg="--delay %"' "$xml")" ]

# --- The .deb -------------------------------------------------------------------------
if cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1; then
  deb=$(ls "$work"/pkg/quelmar_*.deb)
  check "the .deb holds the installed tree" \
    [ "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | sort)" = "$files" ]
  check "the .deb's dependencies are computed" grep -q 'libx11-6' <<<"$(dpkg-deb -f "$deb" Depends)"
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
# The caption strip: 192x12 at the window's top right.
caption() { import -window "$win" -crop "192x12+$(($1 - 192))+0" +repage "$work/caption-$1.png" 2>/dev/null; }
caption_bright() { caption "$1" && above "$(convert "$work/caption-$1.png" -colorspace gray -format '%[fx:mean]' info:)" 0.03; }

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

for host in preview xsecurelock desktop; do
  coproc HELPER { "$window_helper"; }
  read -r -t 10 win <&"${HELPER[0]}" || { fail "$host: the window helper did not start"; continue; }
  before=$(windows)
  if start_in "$host"; then
    pass "$host: the scene appears in the host's window"
    check "$host: no window of our own" [ "$(windows)" = "$before" ]
    poll 50 caption_bright 320 || fail "$host: no caption strip at the top right"
    echo "resize 640 480" >&"${HELPER[1]}"
    read -r -t 10 _ <&"${HELPER[0]}"
    # The strip's pixels, now 320 pixels further right; the scene behind it may differ.
    moved() {
      caption_bright 640 &&
        { differing=$(compare -metric AE -fuzz 25% "$work/caption-320.png" "$work/caption-640.png" null: 2>&1); true; } &&
        above $((2304 / 4)) "$differing"
    }
    differing=none what="$host: a resize to 640x480 moves the caption strip to the new top right"
    if poll 50 moved; then pass "$what"; else fail "$what ($differing of 2304 pixels differ)"; fi
    start=$(now_ms)
    kill -TERM "$saver"
    wait_exit "$saver" 20
    took=$(($(now_ms) - start))
    check "$host: SIGTERM ends it within 0.5 s (${took} ms) with the signal's status ($status)" \
      [ "$status" = 143 -a "$took" -le 500 ]
  else
    fail "$host: the host's window stays black"
  fi
  echo clear >&"${HELPER[1]}"  # black again, so that drawing shows the new start
  read -r -t 10 _ <&"${HELPER[0]}"
  if start_in "$host"; then
    echo destroy >&"${HELPER[1]}"
    start=$(now_ms)
    wait_exit "$saver" 15
    took=$(($(now_ms) - start))
    check "$host: destroying the window ends it within 1 s (${took} ms, status $status)" \
      [ "$status" = 0 -a "$took" -le 1000 ]
  fi
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
