#!/usr/bin/env bash
# Unpacks the built .deb into a scratch root and starts the game from there, headless: it finds
# its sounds and runs a short script from the title into the menu. The package also carries the
# desktop files, icons and man pages, and its dependencies were worked out from the binaries.
set -euo pipefail
deb=$(ls "$1"/vorlanix_*.deb)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
for f in usr/games/vorlanix usr/bin/vorlanix-qhs usr/share/vorlanix/sound/back.wav \
         usr/share/applications/io.github.vorlanix.Vorlanix.desktop \
         usr/share/metainfo/io.github.vorlanix.Vorlanix.metainfo.xml \
         usr/share/icons/hicolor/48x48/apps/io.github.vorlanix.Vorlanix.png \
         usr/share/icons/hicolor/512x512/apps/io.github.vorlanix.Vorlanix.png \
         usr/share/man/man6/vorlanix.6.gz usr/share/man/man6/vorlanix-qhs.6.gz \
         usr/share/man/man6/vorlanix-bestenliste.6.gz; do
  [ -e "$root/$f" ] || { echo "missing in the package: $f"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libsdl2 libsdl2-mixer libpng16 libc6; do
  grep -q "$lib" <<<"$depends" || { echo "Depends lacks $lib: $depends"; exit 1; }
done
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
