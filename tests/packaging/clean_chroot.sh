#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Unpacks a clean Debian 12 (debootstrap's minimal base) into the directory $1. The base is made
# once and kept as a tarball in /var/cache/vorlanix, with the packages apt fetches into it, so
# later runs unpack it in seconds and install from the cache.
set -euo pipefail
root=$1
cache=/var/cache/vorlanix
tarball=$cache/debian12-minbase.tar
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
mkdir -p "$cache/apt-archives/partial"
exec 9>"$cache/debian12-minbase.lock"
flock 9
if [ ! -s "$tarball" ]; then
  build=$(mktemp -d "$cache/debootstrap.XXXXXX")
  debootstrap --variant=minbase bookworm "$build" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
    { tail -20 "$cache/debootstrap.log"; rm -rf "$build"; exit 1; }
  rm -f "$build"/var/cache/apt/archives/*.deb
  tar -C "$build" -cf "$tarball.new" .
  mv "$tarball.new" "$tarball"
  rm -rf "$build"
fi
flock -u 9
mkdir -p "$root"
tar -C "$root" -xf "$tarball"
# The root of a system is open to every user, whatever the directory the base was made in.
chmod 755 "$root"
cp /etc/resolv.conf "$root/etc/resolv.conf"
