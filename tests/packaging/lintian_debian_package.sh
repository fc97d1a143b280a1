#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# lintian finds no error and no warning in either built package, apart from those listed in
# lintian-accepted.txt beside this script (each with the reason it stays).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
accepted=$(grep -v '^#' "$here/lintian-accepted.txt" | awk 'NF {print $1}' | paste -sd, -)
lintian --fail-on error,warning --allow-root --tag-display-limit 0 ${accepted:+--suppress-tags "$accepted"} \
  "$1"/vorlanix_*.deb "$1"/vorlanix-bestenliste_*.deb
