// SPDX-License-Identifier: GPL-3.0-or-later
// Proving an upload file by its replay: the replay is re-simulated and must write exactly the
// upload file's bytes. Needs no display; several proofs may run at once on different threads.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "replay/play_replay.h"

namespace replay {

// DriverInput: the replay holds a test driver's direct writes of the state (set lines);
// Unhashed: it lacks state hashes; BadStart: its state at a START is none the program can have
// there. All three still re-simulate, but none is a record of play.
enum class Verdict {
    Proved,
    Mismatch,
    NoUpload,
    OutOfSync,
    Unreadable,
    WrongVersion,
    TimedOut,
    DriverInput,
    Unhashed,
    BadStart
};

struct Proof {
    Verdict verdict;
    std::string message;  // one plain English line for logs
    // When proved: the public part of the game that wrote the upload (replay/public_game.h),
    // re-simulated on its own to the same result, and the key of its inputs.
    std::vector<uint8_t> publicGame;
    uint64_t gameKey = 0;
};

// The public parts (replay/public_game.h) of the replay's games whose result was fixed, each one
// kept only when it re-simulates on its own, strictly, to the result and points `games` (the
// replay's own re-simulation) gives for it.
std::vector<PublicGame> PublicGamesOf(std::span<const uint8_t> replayFile, const std::vector<GameResult>& games,
                                      std::chrono::steady_clock::time_point deadline);

// Re-simulates the replay and says whether it writes exactly these 332 bytes as an upload file.
// Only a record of play proves: recorded answers of the machine, every state hash present.
Proof ProveUpload(std::span<const uint8_t> replayFile, std::span<const uint8_t> uploadFile,
                  std::chrono::milliseconds timeLimit);

}  // namespace replay
