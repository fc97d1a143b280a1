#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that every picture and sound a build generated is bit for bit the one the project
# ships: the pictures are part of the rules (hit tests read their pixels), so a generator that
# draws differently on some compiler or with some flags must show up here, and a deliberate
# change to a generator shows as an update of assets/generated.sha256.
#   check-asset-hashes.sh BUILD_DIR            compare
#   check-asset-hashes.sh BUILD_DIR --write    write the list anew from BUILD_DIR
set -euo pipefail
list="$(cd "$(dirname "$0")/.." && pwd)/assets/generated.sha256"
build="${1:?usage: check-asset-hashes.sh BUILD_DIR [--write]}"
cd "$build"
actual="$(LC_ALL=C sha256sum bitmaps/*.bmp sound/*.wav | LC_ALL=C sort -k2)"
if [ "${2:-}" = "--write" ]; then
  printf '%s\n' "$actual" > "$list"
  echo "wrote $(wc -l < "$list") hashes to $list"
  exit 0
fi
if ! difference="$(diff <(LC_ALL=C sort -k2 "$list") <(printf '%s\n' "$actual"))"; then
  echo "generated pictures or sounds differ from assets/generated.sha256 (< listed, > built):" >&2
  printf '%s\n' "$difference" >&2
  exit 1
fi
echo "all $(wc -l < "$list") generated pictures and sounds are as listed"
