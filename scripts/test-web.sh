#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The browser build's tests: builds it (scripts/build-web.sh), re-simulates every replay of
# tests/replay/corpus/ with its WebAssembly under node, then plays it in headless Chromium served by the
# world-list server (tests/web/browser_game_test.py). Prints the download size and the time to the
# first title frame as figures.
set -euo pipefail
cd "$(dirname "$0")/.."
t0=$SECONDS
bash scripts/build-web.sh
echo "== browser build ready after $((SECONDS - t0)) s"

native=$(realpath -m "${VORLANIX_NATIVE_BUILD:-build-web/native}")
cmake --build "$native" -j"$(nproc)" --target vorlanix vorlanix-bestenliste >"build-web/native-programs.log" 2>&1 ||
  { tail -40 build-web/native-programs.log >&2; exit 1; }

echo "== the recorded games in the WebAssembly build (node)"
status=0
# Run beside the .wasm and .data it loads; the program reaches the machine's files below its
# working folder, so the replays are named relative to it.
for replay in tests/replay/corpus/*.vxr; do
  expected="${replay%.vxr}.txt"
  # Node's own fetch cannot read a file path: without it, emscripten reads the .wasm from the disk.
  if got=$(cd build-web/wasm && node --no-experimental-fetch vorlanix.js --headless --replay "../../$replay" 2>/dev/null) &&
    [ "$got" == "$(cat "$expected")" ]; then
    echo "in sync: $replay"
  else
    echo "OUT OF SYNC in the WebAssembly build: $replay" >&2
    (cd build-web/wasm && node --no-experimental-fetch vorlanix.js --headless --replay "../../$replay") >&2 || true
    status=1
  fi
done

echo "== the download (gzip, as the server sends it)"
total=0
for f in build-web/dist/*; do
  size=$(gzip -9 -c "$f" | wc -c)
  total=$((total + size))
  printf '  %-40s %9d bytes, %9d gzip\n' "$(basename "$f")" "$(stat -c %s "$f")" "$size"
done
echo "figure: download $total bytes compressed"

echo "== the game in Chromium"
/usr/bin/python3 tests/web/browser_game_test.py build-web/dist "$native/vorlanix" "$native/server/vorlanix-bestenliste" ||
  status=1
echo "== browser stage took $((SECONDS - t0)) s"
exit $status
