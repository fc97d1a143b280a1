#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every man page renders without a single warning from man or groff.
set -euo pipefail
status=0
for page in "$1"/*.6; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$page: $warnings"; status=1; }
  LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$page" 2>/dev/null | grep -q '^NAME' || { echo "$page: no NAME"; status=1; }
done
exit $status
