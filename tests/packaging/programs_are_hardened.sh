#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every program in the two packages is built with Debian's hardening: position independent,
# read-only relocations bound at start, fortified C library functions and the stack protector.
set -euo pipefail
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$(ls "$1"/vorlanix_*.deb)" "$root"
dpkg -x "$(ls "$1"/vorlanix-bestenliste_*.deb)" "$root"
for program in "$root/usr/games/vorlanix" "$root/usr/bin/vorlanix-qhs" "$root/usr/bin/vorlanix-bestenliste"; do
  headers=$(readelf -W --file-header --program-headers --dynamic --dyn-syms "$program")
  grep -q 'Type:.*DYN' <<<"$headers" || { echo "$program is not position independent"; exit 1; }
  grep -q 'GNU_RELRO' <<<"$headers" || { echo "$program has no read-only relocations"; exit 1; }
  grep -qE 'BIND_NOW|FLAGS.*NOW' <<<"$headers" || { echo "$program does not bind at start"; exit 1; }
  grep -q '__[a-z_]*_chk' <<<"$headers" || { echo "$program uses no fortified functions"; exit 1; }
  grep -q '__stack_chk_fail' <<<"$headers" || { echo "$program has no stack protector"; exit 1; }
done
