#!/usr/bin/env bash
# Builds every distributable into dist/:
#   Quelmar-Setup.exe      the Windows installer (both savers; NSIS, x86)
#   Quelmar-windows.zip    both Quelmar.scr files and a read-me
#   quelmar_*.deb          the Linux saver for Debian and its relatives, and
#   quelmar-*.rpm          the same for Fedora and openSUSE (CPack, in the native-release tree)
#   scripts/package.sh [windows|linux|all]     (all by default)
# Each part builds its trees through their presets; a part that cannot be
# built stops the script with a line that says which. QUELMAR_WERROR=ON
# turns compiler warnings into errors, as in scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
what=${1:-all}
case $what in
windows | linux | all) ;;
*)
  echo "usage: scripts/package.sh [windows|linux|all]" >&2
  exit 2
  ;;
esac
jobs=$(nproc)
werror=-DQUELMAR_WERROR=${QUELMAR_WERROR:-OFF}
mkdir -p dist

windows() {
  local arch stage
  for arch in i686 x86_64; do
    cmake --preset "win-$arch" "$werror" >/dev/null
    cmake --build --preset "win-$arch" -j "$jobs" --target quelmar_scr
  done
  bash scripts/make-installer.sh dist/Quelmar-Setup.exe build-win-i686/Quelmar.scr build-win-x86_64/Quelmar.scr
  stage=$(mktemp -d)
  mkdir -p "$stage/Quelmar/32-bit" "$stage/Quelmar/64-bit"
  cp build-win-i686/Quelmar.scr "$stage/Quelmar/32-bit/"
  cp build-win-x86_64/Quelmar.scr "$stage/Quelmar/64-bit/"
  sed 's/$/\r/' packaging/windows/README.txt >"$stage/Quelmar/README.txt"
  rm -f dist/Quelmar-windows.zip
  (cd "$stage" && zip -q -X -r "$OLDPWD/dist/Quelmar-windows.zip" Quelmar)
  rm -rf "$stage"
  echo "package.sh: dist/Quelmar-Setup.exe and dist/Quelmar-windows.zip"
}

linux() {
  cmake --preset native-release "$werror" >/dev/null
  cmake --build --preset native-release -j "$jobs"
  if [ ! -f build-release/CPackConfig.cmake ]; then
    echo "package.sh: build-release/ has no CPack configuration, so no .deb or .rpm can be made" >&2
    return 1
  fi
  rm -rf build-release/packages
  cpack --config build-release/CPackConfig.cmake -G 'DEB;RPM' -B "$PWD/build-release/packages"
  cp build-release/packages/*.deb build-release/packages/*.rpm dist/
  echo "package.sh: dist/$(basename build-release/packages/*.deb) and dist/$(basename build-release/packages/*.rpm)"
}

[ "$what" = linux ] || windows
[ "$what" = windows ] || linux
