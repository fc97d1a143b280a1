#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what the build needs, builds everything with warnings as errors and Debian's hardening
# flags (the packages the tests build and install come from this build) and runs all tests
# (headless: no display and no audio device are needed). Then builds everything once more with
# clang, AddressSanitizer and UndefinedBehaviorSanitizer, runs all tests there as well, and fuzzes
# every reader for a short fixed time (FUZZ_SECONDS each, default 25).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
jobs="$(nproc)"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy

echo "== the GCC build and its tests"
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLANIX_WERROR=ON -DVORLANIX_HARDENING=ON
cmake --build build-test -j"$jobs"
# A test that fails is run once more before it counts: the tests on a real X server, PostgreSQL
# cluster or mail system time out now and then on a loaded two-core machine. A fault of the code
# fails both runs.
ctest --test-dir build-test --output-on-failure -j"$jobs" --repeat until-pass:2

echo "== the clang build under AddressSanitizer and UndefinedBehaviorSanitizer"
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
CC=clang-14 CXX=clang++-14 cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLANIX_FUZZ=ON \
  -DVORLANIX_BENCH=OFF -DCMAKE_C_FLAGS="$sanitize" -DCMAKE_CXX_FLAGS="$sanitize" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize"
# The picture and sound generators run during the build; cairo and fontconfig keep their caches
# to the end of the process, which is no fault of ours.
ASAN_OPTIONS=detect_leaks=0 cmake --build build-sanitize -j"$jobs"
export ASAN_OPTIONS="detect_stack_use_after_return=1:strict_init_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
# SDL's off-screen driver loads Mesa's EGL and software driver and unloads them again when a test
# closes SDL; a leak report then shows only "unknown module" frames that no suppression can
# name. Loaded from the start, the libraries stay, and what they keep stays theirs.
gl_libraries=""
for library in libEGL.so.1 libEGL_mesa.so.0 dri/swrast_dri.so; do
  for found in /usr/lib/*-linux-gnu/"$library"; do
    [ -e "$found" ] && gl_libraries="$gl_libraries $found"
  done
done
# Building the game without the server and installing the packages into a clean system test the
# build and the packages, not the code: the GCC run above did both already.
LD_PRELOAD="$gl_libraries" ctest --test-dir build-sanitize --output-on-failure -j"$jobs" --repeat until-pass:2 \
  -E '^(game_builds_without_the_server|debian_packages_install_in_a_clean_system)$'

echo "== fuzzing every reader for ${FUZZ_SECONDS:-25} s"
for fuzzer in build-sanitize/fuzz/*_fuzz; do
  reader="$(basename "$fuzzer" _fuzz)"
  # A fixed seed (FUZZ_SEED) makes a run repeatable: whatever CI finds, the same command finds
  # here. Long runs with fresh seeds are for a developer's machine (fuzz/README).
  # New inputs go to a scratch folder, so the corpus in the repository stays as it is.
  scratch="build-sanitize/fuzz/found/$reader"
  mkdir -p "$scratch"
  "$fuzzer" -seed="${FUZZ_SEED:-1}" -max_total_time="${FUZZ_SECONDS:-25}" -timeout=10 -rss_limit_mb=2048 -close_fd_mask=3 \
    -artifact_prefix="build-sanitize/fuzz/crash-$reader-" "$scratch" "fuzz/corpus/$reader"
done
