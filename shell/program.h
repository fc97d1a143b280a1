// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the whole program on a given platform, from the load event to its end, and turns the way
// it ended into the exit code.
#pragma once

#include <functional>

#include "shell/options.h"
#include "platform/platform.h"

namespace platform {
class ScriptDriver;
}

namespace vorlanix {

// Sets up the directories, runs the game and returns the exit code. With a script, the script
// decides the code (0 passed, 1 an expectation failed, 2 a script error). `ending` runs as soon as
// the game has ended, before the last files (the kept replay, the recording) are written.
int RunProgram(platform::Platform& platform, const Options& options, platform::ScriptDriver* script,
               const std::function<void()>& ending = {});

}  // namespace vorlanix
