#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every option a program's --help names is described in its man page, so the two cannot drift
# apart: arguments are pairs of PROGRAM and PAGE.
set -euo pipefail
status=0
while [ $# -ge 2 ]; do
  program=$1 page=$2
  shift 2
  rendered=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$page" 2>/dev/null | sed 's/\x1b\[[0-9;]*m//g; s/.\x08//g')
  options=$("$program" --help | grep -oE -- '(^|[^[:alnum:]-])--?[[:alpha:]][[:alnum:]-]*' | grep -oE -- '--?[[:alpha:]][[:alnum:]-]*' | sort -u)
  [ -n "$options" ] || { echo "$program --help names no options"; status=1; }
  for option in $options; do
    grep -qE -- "(^|[^[:alnum:]-])${option}([^[:alnum:]-]|$)" <<<"$rendered" ||
      { echo "$(basename "$page"): lacks $option, which $(basename "$program") --help names"; status=1; }
  done
done
exit $status
