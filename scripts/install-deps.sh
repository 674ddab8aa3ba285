#!/usr/bin/env bash
# Installs whatever Debian packages the game (runtime) or its tests (test) need
# and are not installed yet. Uses sudo when not run as root.
set -euo pipefail

runtime=(build-essential cmake pkg-config
         libglfw3-dev libglew-dev libglm-dev libassimp-dev libfreeimage-dev libsoil-dev libfreetype-dev
         libopenal-dev libsndfile1-dev)
test=(libgtest-dev libx11-dev libxrandr-dev libgmock-dev xvfb xauth x11-utils libgl1-mesa-dri libglx-mesa0 xdotool imagemagick time mesa-vulkan-drivers fonts-crosextra-carlito dpkg-dev procps clang-format
      lintian appstream desktop-file-utils groff-base man-db
      clang libclang-rt-14-dev
      i3-wm openbox ccache)

packages=("${runtime[@]}")
if [ "${1:-runtime}" = test ]; then
    packages+=("${test[@]}")
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
