#!/usr/bin/env bash
# Every file of the project's own code and build carries one line naming its licence, so that a
# file taken out of the tree still says under which terms it may be shared.
#   scripts/licence-headers.sh          list the files without the line (exit 1 when there are any)
#   scripts/licence-headers.sh --add    add the line where it is missing
set -euo pipefail
cd "$(dirname "$0")/.."
tag="SPDX-License-Identifier: GPL-3.0-or-later"

# The comment that carries the line, by the kind of file; nothing for data files.
comment_for() {
  case "$1" in
    fuzz/corpus/* | fuzz/regressions/*) echo "" ;;  # inputs, byte for byte
    *.cpp | *.h | *.inc | *.c | *.js) echo "//" ;;
    *.css) echo "css" ;;
    *.nsi | *.nsh) echo ";" ;;
    *.sh | *.py | *.cmake | */CMakeLists.txt | CMakeLists.txt | .ci/run | *.conf | *.service | *.supp) echo "#" ;;
    *.html | *.xml) echo "xml" ;;
    *.6) echo '.\"' ;;
    *) echo "" ;;
  esac
}

missing=0
while IFS= read -r -d '' file; do
  style="$(comment_for "$file")"
  [ -n "$style" ] || continue
  grep -q "$tag" "$file" && continue
  if [ "${1:-}" != "--add" ]; then
    echo "no licence line: $file"
    missing=1
    continue
  fi
  case "$style" in
    xml) line="<!-- $tag -->" ;;
    css) line="/* $tag */" ;;
    *) line="$style $tag" ;;
  esac
  first="$(head -n1 "$file")"
  if [[ "$first" == '#!'* || "$first" == '<?xml'* || "$first" == '<!DOCTYPE'* || "$first" == '<!doctype'* ]]; then
    # After a shebang or an XML declaration, which must stay first.
    { printf '%s\n%s\n' "$first" "$line"; tail -n +2 "$file"; } > "$file.licence"
  else
    { printf '%s\n' "$line"; cat "$file"; } > "$file.licence"
  fi
  chmod --reference="$file" "$file.licence"
  mv "$file.licence" "$file"
done < <(git ls-files -z --cached --others --exclude-standard)
exit $missing
