#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages for one purpose: "play" (what building and running the game
# needs, nothing more: no server libraries, database, browser or checkers) or "test" (the default:
# everything the whole build and every test need).
set -euo pipefail
purpose=${1:-test}
play=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-mixer-dev
  libcairo2-dev libfontconfig-dev fonts-dejavu-core
  libpng-dev nlohmann-json3-dev zlib1g-dev
)
test=(
  "${play[@]}" clang
  googletest libgtest-dev libbenchmark-dev
  clang-14 clang-format-14 libfuzzer-14-dev libclang-rt-14-dev
  appstream desktop-file-utils man-db groff-base lintian dpkg-dev file xvfb x11-utils xdotool
  debootstrap binutils
  libcpp-httplib-dev libsoci-dev libboost-dev libsqlite3-dev libpq-dev
  postgresql chromium chromium-driver python3-selenium
  openbox x11-apps
  libgmime-3.0-dev exim4-daemon-light nginx strace systemd
)
case $purpose in
  play) packages=("${play[@]}") ;;
  test) packages=("${test[@]}") ;;
  *) echo "usage: $0 [play|test]" >&2; exit 2 ;;
esac
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
