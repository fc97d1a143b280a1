#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop entry and the AppStream metadata pass the distributions' validators with neither
# errors nor warnings, every screenshot the metadata names is kept in the repository, and a replay
# file opens in the game.
set -euo pipefail
dir=$1
id=io.github.vorlanix.Vorlanix
status=0
out=$(desktop-file-validate "$dir/$id.desktop" 2>&1) || status=1
[ -z "$out" ] || { echo "$out"; status=1; }
out=$(appstreamcli validate --no-net --no-color "$dir/$id.metainfo.xml" 2>&1) || status=1
if grep -E '^[EW]:' <<<"$out"; then status=1; fi
for image in $(grep -o '<image>[^<]*</image>' "$dir/$id.metainfo.xml" | sed 's/<[^>]*>//g'); do
  name=${image##*/}
  [ -s "$dir/screenshots/$name" ] || { echo "missing screenshot $name"; status=1; }
done
# The file type the desktop entry opens is the one the type file defines; built into a type database
# of its own, that file recognises a replay by its name and, renamed, by its first bytes.
type=application/x-vorlanix-replay
grep -qx "MimeType=$type;" "$dir/$id.desktop" || { echo "the desktop entry does not open $type"; status=1; }
grep -q '^Exec=vorlanix %f$' "$dir/$id.desktop" || { echo "the desktop entry passes no file"; status=1; }
if command -v update-mime-database >/dev/null && command -v gio >/dev/null; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/mime/packages"
  cp /usr/share/mime/packages/freedesktop.org.xml "$work/mime/packages/"
  cp "$dir/$id.mime.xml" "$work/mime/packages/$id.xml"
  update-mime-database "$work/mime" 2>/dev/null
  printf 'VXREPLAY\001\000rest' >"$work/game.vxr"
  cp "$work/game.vxr" "$work/game.bin"
  for file in game.vxr game.bin; do
    found=$(XDG_DATA_DIRS=$work XDG_DATA_HOME=$work/none gio info -a standard::content-type "$work/$file" |
      sed -n 's/.*content-type: //p')
    [ "$found" = "$type" ] || { echo "$file is taken for ${found:-nothing}, not $type"; status=1; }
  done
fi
exit $status
