// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the program from a replay file as fast as it can (re-simulation) and reports how it ended
// and what each game in it achieved. Watching wraps the replaying platform (replay/watch_replay.h).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/state_access.h"
#include "replay/replaying_platform.h"
#include "replay/stop.h"

namespace platform {
class ScriptDriver;
}

namespace replay {

struct PlayOptions {
    // Puts a platform between the replay and the program (watching: pacing, the viewer's keys and
    // the window); it must pass every question on to the replaying platform unchanged.
    std::function<std::unique_ptr<platform::Platform>(ReplayingPlatform&)> wrap;
    std::optional<std::chrono::steady_clock::time_point> deadline;
    // Record the public part of each game (replay/public_game.h) instead of checking the state
    // hashes; the copies must be played on their own to be trusted.
    bool publicGames = false;
    // A proof: set lines, missing state hashes and a state at a START the program cannot have
    // there stop the run (StopKind DriverInput, Unhashed, BadStart).
    bool proof = false;
    // Called once the program exists, with its fields by name (a script beside the replay reads them).
    std::function<void(platform::StateAccess&)> onState;
};

// A game's public part, a replay of kind GameOnly.
struct PublicGame {
    size_t game = 0;  // index into ReplayOutcome::games
    std::vector<uint8_t> file;
    uint64_t key = 0;  // the game's key, once the copy has been played on its own
};

// One game of the replay, from its START to the next START or the replay's end.
struct GameResult {
    bool finished = false;  // the game ran to its end (the replay may stop inside it)
    bool valid = true;      // false when the game was declared invalid
    int32_t days = 0;       // the princess's age at the end
    int32_t points = 0;
    int32_t rank = 0;             // place in the local list, 80 when not entered
    std::string uploadFile;       // the upload file written for it, if any
    std::vector<uint8_t> upload;  // its bytes
    bool ranked = true;           // false for a public game, which ends before the list is looked at
    uint64_t key = 0;             // what the game did in play (replay/public_game.h, PlayKey)
};

struct ReplayOutcome {
    StopKind kind = StopKind::Unreadable;
    std::string message;
    uint64_t frames = 0;
    uint32_t recordedMs = 0;  // the recorded clock from the replay's first answer to where it stopped
    std::vector<GameResult> games;
    std::vector<WrittenFile> written;     // every file the program wrote, in memory
    std::vector<PublicGame> publicGames;  // with PlayOptions::publicGames
};

// Never throws for anything in the file: a damaged file is an outcome like any other. Touches no
// disk and no state shared between threads, so several may run at once.
ReplayOutcome PlayReplay(std::span<const uint8_t> file, const PlayOptions& options);

// One line per game for people: "game 1: 11565 days, 4200 points, rank 2, upload file Max_31_08_24.qhs".
std::string DescribeGame(size_t number, const GameResult& game);

}  // namespace replay
