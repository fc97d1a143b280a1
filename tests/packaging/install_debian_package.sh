#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Unpacks the built game package into a scratch root and starts the game from there, headless: it
# finds its sounds and runs a short script from the title into the menu. The game's package
# carries the desktop files, icons and man pages, the server's package its program, page, unit and
# proxy example; dependencies were worked out from the binaries (the game's without the server's
# libraries).
set -euo pipefail
deb=$(ls "$1"/vorlanix_*.deb)
server_deb=$(ls "$1"/vorlanix-bestenliste_*.deb)
root=$(mktemp -d)
server_root=$(mktemp -d)
trap 'rm -rf "$root" "$server_root"' EXIT
dpkg -x "$deb" "$root"
dpkg -x "$server_deb" "$server_root"
for f in usr/games/vorlanix usr/bin/vorlanix-qhs usr/share/vorlanix/sound/back.wav \
         usr/share/applications/io.github.vorlanix.Vorlanix.desktop \
         usr/share/metainfo/io.github.vorlanix.Vorlanix.metainfo.xml \
         usr/share/icons/hicolor/48x48/apps/io.github.vorlanix.Vorlanix.png \
         usr/share/icons/hicolor/512x512/apps/io.github.vorlanix.Vorlanix.png \
         usr/share/man/man6/vorlanix.6.gz usr/share/man/man6/vorlanix-qhs.6.gz \
         usr/share/doc/vorlanix/copyright; do
  [ -e "$root/$f" ] || { echo "missing in the game's package: $f"; exit 1; }
done
for f in usr/bin/vorlanix-bestenliste usr/share/man/man6/vorlanix-bestenliste.6.gz \
         usr/lib/systemd/system/vorlanix-bestenliste.service usr/lib/sysusers.d/vorlanix-bestenliste.conf \
         usr/share/doc/vorlanix-bestenliste/examples/vorlanix-bestenliste.conf \
         usr/share/doc/vorlanix-bestenliste/copyright; do
  [ -e "$server_root/$f" ] || { echo "missing in the server's package: $f"; exit 1; }
done
if [ -n "$(find "$root" -name '*bestenliste*')" ]; then
  echo "the game's package holds the server's files:"; find "$root" -name '*bestenliste*'; exit 1
fi
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libsdl2 libsdl2-mixer libpng16 libc6; do
  grep -q "$lib" <<<"$depends" || { echo "Depends lacks $lib: $depends"; exit 1; }
done
if grep -qE 'libpq|libsoci|libgmime|libsqlite' <<<"$depends"; then
  echo "the game depends on the server's libraries: $depends"; exit 1
fi
grep -q 'GPL-3+' "$root/usr/share/doc/vorlanix/copyright"
cat > "$root/script" <<'SCRIPT'
run 200
release left 300 200
run 300
expect Modus == 2
SCRIPT
mkdir "$root/data"
out=$("$root/usr/games/vorlanix" --headless --script "$root/script" --data-dir "$root/data" --print-paths)
grep -q "sound: *$root/usr/share/vorlanix/sound" <<<"$out" || { echo "$out"; exit 1; }
"$root/usr/games/vorlanix" --headless --script "$root/script" --data-dir "$root/data"
