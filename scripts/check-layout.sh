#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every C++ file of the project keeps the layout .clang-format describes, so that a change shows
# only what it changes. Hand-laid tables stand between "clang-format off" and "on" comments.
#   scripts/check-layout.sh         list the files out of layout (exit 1 when there are any)
#   scripts/check-layout.sh --fix   lay them out
set -euo pipefail
cd "$(dirname "$0")/.."
format="$(command -v clang-format-14 || command -v clang-format || true)"
if [ -z "$format" ]; then
  echo "check-layout: clang-format is not installed (apt-get install clang-format-14)" >&2
  exit 1
fi
mapfile -d '' files < <(git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  "$format" -i "${files[@]}"
  exit 0
fi
# One run over all files; its warnings name each file out of layout.
if ! report="$("$format" --dry-run -Werror "${files[@]}" 2>&1)"; then
  grep -oE '^[^:]+:[0-9]+:[0-9]+: error' <<<"$report" | cut -d: -f1 | sort -u |
    sed 's/^/out of layout: /; s/$/ (scripts\/check-layout.sh --fix)/'
  exit 1
fi
