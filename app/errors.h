// SPDX-License-Identifier: GPL-3.0-or-later
// The two ways control leaves the game's procedures early: the end of the program (unwinds to
// main, so every file is closed) and a run-time error of a game loop or drawing step.
#pragma once

#include <stdexcept>
#include <string>

namespace vorlanix {

struct ProgramExit {
    int code;
};

struct GameError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace vorlanix
