#!/usr/bin/env bash
# Installs everything the build, the saver and the tests need on Debian 12.
# Idempotent. Installing packages needs root: as a normal user it runs itself
# again through sudo.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    exec sudo -- bash "$0" "$@"
  fi
  echo "setup.sh: installing packages needs root, and sudo is not installed: run 'su -c \"bash $0\"' instead" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive

native=(
  build-essential cmake ninja-build pkg-config git file zip unzip
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libx11-dev libgl-dev libglu1-mesa-dev libegl-dev libegl-mesa0
  libgl1-mesa-dri libglx-mesa0 libpng-dev
  clang libclang-rt-14-dev
  xvfb xdotool x11-utils x11-apps x11-xserver-utils imagemagick
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 nsis
  xscreensaver xscreensaver-gl xscreensaver-gl-extra xsecurelock
  dpkg-dev lintian libxml2-utils
  rpm rpmlint
)
# The X libraries that Wine's display driver opens at run time. Without them
# (they are only recommended) a GL child window draws into an offscreen
# pixmap and the saver shows a black screen.
wine_x=(libxcomposite1 libxcursor1 libxfixes3 libxi6 libxinerama1 libxrandr2 libxrender1 libxxf86vm1 libxext6)
i386=(wine32:i386 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386 libglu1-mesa:i386 "${wine_x[@]/%/:i386}")

missing() {
  local p out=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || out+=("$p")
  done
  echo "${out[@]:-}"
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  updated=0
fi

todo=$(missing "${native[@]}" "${wine_x[@]}" "${i386[@]}")
if [ -n "$todo" ]; then
  if [ "${updated:-1}" = 0 ] || ! compgen -G '/var/lib/apt/lists/*i386*' >/dev/null; then
    apt-get update -q
  else
    apt-get update -q || true
  fi
  # shellcheck disable=SC2086
  apt-get install -y -q --no-install-recommends $todo
fi
echo "setup.sh: all packages present"
