#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test the game.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-mixer-dev
  libcairo2-dev libfontconfig-dev fonts-dejavu-core
  libpng-dev nlohmann-json3-dev
  googletest libgtest-dev libbenchmark-dev
  xvfb openbox xdotool x11-apps x11-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
