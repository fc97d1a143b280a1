#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the picture and sound generators once more with flags a builder might add (-O3 and
# -ffast-math) and checks that they still draw and synthesise every file bit for bit as listed
# in assets/generated.sha256: the generators keep strict floating point whatever flags come in.
#   scripts/check-assets-across-flags.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fast-math}
flags="-O3 -ffast-math"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DVORLANIX_TESTS=OFF -DVORLANIX_BENCH=OFF >/dev/null
if ! cmake --build "$build" -j"$(nproc)" --target art sounds >"$build/assets-build.log" 2>&1; then
  tail -50 "$build/assets-build.log" >&2
  exit 1
fi
bash scripts/check-asset-hashes.sh "$build"
