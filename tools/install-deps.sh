#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need; does nothing when all are there.
set -euo pipefail
packages=(
  cmake g++ make pkg-config ccache
  libogre-1.12-dev ogre-1.12-tools libmygui-dev libois-dev libbullet-dev libtinyxml-dev zlib1g-dev
  libopenal-dev libvorbis-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev valgrind strace
  xvfb xauth libgl1-mesa-dri mesa-utils xdotool x11-utils imagemagick python3
  desktop-file-utils appstream
  libsdl2-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing missing packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
