#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The game configures and builds as scripts/play.sh builds it: without the server, the tests and
# the benchmarks, and without ever looking for the server's libraries (cpp-httplib, SOCI, libpq,
# GMime), which a player's machine does not have.
set -euo pipefail
source_dir=$1
build=$2
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# A build directory from an earlier run is built on: a fresh clone builds it whole once.
cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVORLANIX_SERVER=OFF -DVORLANIX_TESTS=OFF \
  -DVORLANIX_BENCH=OFF "${launcher[@]}" >"$build.log" 2>&1 || { cat "$build.log"; exit 1; }
looked=$(grep -E '^(HTTPLIB|LIBPQ|GMIME|SOCI)[A-Z0-9_]*[:=]' "$build/CMakeCache.txt" || true)
[ -z "$looked" ] || { echo "the game's configuration looked for the server's libraries:"; echo "$looked"; exit 1; }
cmake --build "$build" -j2 --target vorlanix vorlanix-qhs >>"$build.log" 2>&1 || { tail -40 "$build.log"; exit 1; }
"$build/vorlanix" --version | grep -q 'GPL version 3 or later'
