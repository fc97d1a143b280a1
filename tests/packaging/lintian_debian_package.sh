#!/usr/bin/env bash
# lintian finds no error in the built .deb.
set -euo pipefail
lintian --fail-on error --allow-root --tag-display-limit 0 "$(ls "$1"/vorlanix_*.deb)"
