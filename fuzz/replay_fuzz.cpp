// SPDX-License-Identifier: GPL-3.0-or-later
// Replay files from anywhere: decoding and re-simulating must end with an outcome, never crash
// or hang (the time limit stops a replay that would run on).
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

#include "replay/play_replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    replay::PlayOptions options;
    options.deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    replay::PlayReplay(std::span<const uint8_t>(data, size), options);
    return 0;
}
