#!/usr/bin/env bash
# Installs the Debian packages the game, its tools and its tests need, when any is missing.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libmpg123-dev libpng-dev zlib1g-dev libfontconfig-dev fonts-ipafont-gothic
  libgtest-dev clang libclang-rt-14-dev
  xvfb xauth xdotool imagemagick x11-utils openbox sox zenity python3-numpy python3-pil
  desktop-file-utils appstream man-db file
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
