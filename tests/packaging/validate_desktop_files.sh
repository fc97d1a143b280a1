#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop entry and the AppStream metadata pass the distributions' validators with neither
# errors nor warnings, and every screenshot the metadata names is kept in the repository.
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
exit $status
