#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what the game needs, builds it and starts it. Extra arguments go to the game
# (e.g. --window).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh play
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DVORLANIX_SERVER=OFF -DVORLANIX_TESTS=OFF -DVORLANIX_BENCH=OFF
cmake --build build -j"$(nproc)" --target vorlanix
exec ./build/vorlanix "$@"
