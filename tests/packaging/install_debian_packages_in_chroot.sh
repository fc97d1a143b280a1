#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Each package installs into a clean Debian 12 of its own (debootstrap's minimal base) with
# `apt-get install ./FILE.deb`, which fetches its dependencies from the archive, and starts there:
# the game runs headless from the title into the menu, and the server answers its list page.
# The game's install pulls no database client. Needs root and Debian's archive; the base system
# and the fetched packages are cached in /var/cache/vorlanix, so a second run is quick.
set -euo pipefail
debs=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
[ "$(id -u)" -eq 0 ] || { echo "needs root for chroot"; exit 77; }
cache=/var/cache/vorlanix
mkdir -p "$cache/apt-archives/partial" "$cache/apt-lists/partial"
roots=()
server=""
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null || true
  for root in "${roots[@]}"; do
    for m in proc var/cache/apt/archives var/lib/apt/lists; do
      mountpoint -q "$root/$m" && umount -l "$root/$m"
    done
    mountpoint -q "$root/proc" || mountpoint -q "$root/var/cache/apt/archives" || rm -rf --one-file-system "$root"
  done
}
trap cleanup EXIT

# A clean system with the package installed; its root in $root.
install_into_clean_system() {
  root=$(mktemp -d /var/tmp/vorlanix-chroot.XXXXXX)
  roots+=("$root")
  bash "$here/clean_chroot.sh" "$root"
  mount -t proc proc "$root/proc"
  # Two runs must not share apt's cache at the same moment.
  mount --bind "$cache/apt-archives" "$root/var/cache/apt/archives"
  mount --bind "$cache/apt-lists" "$root/var/lib/apt/lists"
  cp "$1" "$root/tmp/"
  {
    flock 9
    chroot "$root" apt-get -o APT::Sandbox::User=root update -qq
    chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get -o APT::Sandbox::User=root install -y -qq --no-install-recommends \
      "/tmp/$(basename "$1")" >"$root/tmp/install.log" 2>&1 || { cat "$root/tmp/install.log"; exit 1; }
  } 9>"$cache/apt.lock"
}

echo "== vorlanix"
install_into_clean_system "$(ls "$debs"/vorlanix_*.deb)"
game_root=$root
echo "packages in the system: $(chroot "$game_root" dpkg-query -W | wc -l)"
if chroot "$game_root" dpkg-query -W -f '${Package}\n' | grep -E '^(libpq|libsoci|postgresql|libgmime)'; then
  echo "the game's install pulled the server's libraries"; exit 1
fi
chroot "$game_root" /usr/games/vorlanix --version | grep -q 'GPL version 3 or later'
chroot "$game_root" vorlanix-qhs --version >/dev/null
cat >"$game_root/tmp/script" <<'SCRIPT'
run 200
release left 300 200
run 300
expect Modus == 2
SCRIPT
chroot "$game_root" /usr/games/vorlanix --headless --script /tmp/script --data-dir /tmp/data

echo "== vorlanix-bestenliste"
install_into_clean_system "$(ls "$debs"/vorlanix-bestenliste_*.deb)"
server_root=$root
chroot "$server_root" getent passwd vorlanix-bestenliste >/dev/null
[ -f "$server_root/usr/lib/systemd/system/vorlanix-bestenliste.service" ]
chroot --userspec=vorlanix-bestenliste:vorlanix-bestenliste "$server_root" /usr/bin/vorlanix-bestenliste serve \
  --listen 127.0.0.1:0 --data-dir /var/lib/vorlanix-bestenliste >"$server_root/tmp/serve.log" 2>&1 &
server=$!
url=""
for _ in $(seq 100); do
  url=$(grep -o 'http://[0-9.:]*/' "$server_root/tmp/serve.log" || true)
  [ -n "$url" ] && break
  sleep 0.1
done
[ -n "$url" ] || { echo "the server did not start:"; cat "$server_root/tmp/serve.log"; exit 1; }
curl -fsS "$url" | grep -q '<html' || { echo "no list page at $url"; exit 1; }
[ -s "$server_root/var/lib/vorlanix-bestenliste/bestenliste.sqlite" ] ||
  ls "$server_root/var/lib/vorlanix-bestenliste" | grep -q . || { echo "no database in the state directory"; exit 1; }
echo "both packages install and start"
