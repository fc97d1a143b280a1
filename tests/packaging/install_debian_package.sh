#!/usr/bin/env bash
# Unpacks the built game package into a scratch root and starts the game from there, headless: it
# finds its sounds and runs a short script from the title into the menu. The game's package
# carries the desktop files, icons and man pages, the server's package its program, page, unit and
# proxy example; dependencies were worked out from the binaries (the game's without the server's
# libraries), and every program is built hardened (PIE, read-only relocations bound at start,
# fortified functions).
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
for program in "$root/usr/games/vorlanix" "$root/usr/bin/vorlanix-qhs" "$server_root/usr/bin/vorlanix-bestenliste"; do
  headers=$(readelf -W --file-header --program-headers --dynamic --dyn-syms "$program")
  grep -q 'Type:.*DYN' <<<"$headers" || { echo "$program is not position independent"; exit 1; }
  grep -q 'GNU_RELRO' <<<"$headers" || { echo "$program has no read-only relocations"; exit 1; }
  grep -qE 'BIND_NOW|FLAGS.*NOW' <<<"$headers" || { echo "$program does not bind at start"; exit 1; }
  grep -q '__[a-z_]*_chk' <<<"$headers" || { echo "$program uses no fortified functions"; exit 1; }
  grep -q '__stack_chk_fail' <<<"$headers" || { echo "$program has no stack protector"; exit 1; }
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
