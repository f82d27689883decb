#!/usr/bin/env bash
# Installs everything the build, the saver and the tests need on Debian 12.
# Idempotent: run it as root as often as you like.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
  echo "setup.sh: run as root (it installs Debian packages)" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive

native=(
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libx11-dev libgl-dev libglu1-mesa-dev libegl-dev libegl-mesa0
  libgl1-mesa-dri libglx-mesa0 libpng-dev
  clang libclang-rt-14-dev
  xvfb xdotool x11-utils x11-apps imagemagick
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64
)
i386=(wine32:i386 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386 libglu1-mesa:i386)

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

todo=$(missing "${native[@]}" "${i386[@]}")
if [ -n "$todo" ]; then
  if [ "${updated:-1}" = 0 ] || [ ! -d /var/lib/apt/lists ] || \
     [ -z "$(ls /var/lib/apt/lists 2>/dev/null | grep -i i386 || true)" ]; then
    apt-get update -q
  else
    apt-get update -q || true
  fi
  # shellcheck disable=SC2086
  apt-get install -y -q --no-install-recommends $todo
fi
echo "setup.sh: all packages present"
