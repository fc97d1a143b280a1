#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the pictures the AppStream metadata shows, with the headless driver of a built game:
#   scripts/make-screenshots.sh [BUILD_DIR]      (default: build)
# They are kept in packaging/screenshots/; run this again when the game's look changes.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
cd packaging/screenshots
"$build/vorlanix" --headless --seed 3 --data-dir "$data" --script screenshots.script
