#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Re-simulates every replay of tests/replay/corpus/ with a second build of the program — Clang without
# optimisation, against the suite's GCC build with it — and compares the games' results. The
# rules must give the same bits under every compiler and optimisation level.
#   scripts/check-replays-across-builds.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-clang-debug}
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DVORLANIX_TESTS=OFF -DVORLANIX_BENCH=OFF >/dev/null
if ! cmake --build "$build" -j"$(nproc)" --target vorlanix >"$build/replay-build.log" 2>&1; then
  tail -50 "$build/replay-build.log" >&2
  exit 1
fi
status=0
for replay in tests/replay/corpus/*.vxr; do
  expected="${replay%.vxr}.txt"
  if got=$("$build/vorlanix" --headless --replay "$replay" 2>/dev/null) && [ "$got" == "$(cat "$expected")" ]; then
    echo "in sync: $replay"
  else
    echo "OUT OF SYNC under Clang -O0: $replay" >&2
    "$build/vorlanix" --headless --replay "$replay" >&2 || true
    status=1
  fi
done
exit $status
