// SPDX-License-Identifier: GPL-3.0-or-later
// The bounds every reader of replays shares: the re-simulation of the headless replay command, the
// collector's tool and the world-list server's proofs stop at the same time and size.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace replay {

// A real game of 100 seconds re-simulates in well under a second; a whole run of an hour in about
// ten. A replay that would run longer is hostile or broken.
inline constexpr std::chrono::milliseconds kReplayTimeLimit{30'000};
// A real game's replay is 5 to 15 KB, an hour's whole run a few hundred; nothing sensible is larger.
inline constexpr std::size_t kLargestReplay = 1u << 20;
// The record stream once unpacked. It is held in memory while the replay plays, so this bounds
// the memory of a re-simulation; an hour's run unpacks to a few megabytes.
inline constexpr uint64_t kLargestStream = 16u << 20;

// A game's public part, which the world list stores per proved entry: a real game of 100 seconds
// takes 5 to 15 KB; even a long pause stays far below this.
inline constexpr std::size_t kLargestPublicGame = 256u << 10;

}  // namespace replay
