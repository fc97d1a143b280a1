// One real game recorded once per test program: title, START, a game with a shot, the result
// entered into the list, the upload form filled in (partly by `set` lines) and saved.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "tests/support/temp_dir.h"

namespace recorded_game {

struct Recording {
    TempDir data;
    std::vector<uint8_t> wholeRun;  // --record's file
    std::vector<uint8_t> upload;    // the upload file the run wrote
    int32_t days = 0;               // the game's result
    int exitCode = -1;
};

// Recorded on first use, then shared.
const Recording& Get();

}  // namespace recorded_game
