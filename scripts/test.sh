#!/usr/bin/env bash
# Installs what the build needs, builds everything with warnings as errors and runs all tests
# (headless: no display and no audio device are needed).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLANIX_WERROR=ON
cmake --build build-test -j"$(nproc)"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
ctest --test-dir build-test --output-on-failure -j"$(nproc)"
