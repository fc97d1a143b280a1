// SPDX-License-Identifier: GPL-3.0-or-later
// `vorlanix --replay FILE`: reads the file, plays it (in a window or re-simulated) and turns the
// outcome into lines for people and the exit code: 0 in sync, 3 out of sync, 2 unreadable.
#pragma once

#include <chrono>
#include <filesystem>

#include "replay/limits.h"
#include "replay/watching_platform.h"

namespace platform {
class ScriptDriver;
}

namespace replay {

// Without `watch` the replay is re-simulated as fast as it goes, within `timeLimit`. With a script
// (headless only), the script watches the replay on the watch's output, which must then be the
// headless platform it is attached to; its end decides the exit code as in a scripted run.
int RunReplayCommand(const std::filesystem::path& file, const WatchOptions* watch,
                     platform::ScriptDriver* script = nullptr, std::chrono::milliseconds timeLimit = kReplayTimeLimit);

// `vorlanix --export-replay IN OUT`: writes the public part of the last game of IN whose result
// was fixed, after it re-simulated on its own to that result. 0 written, 1 no such game or not
// written, 2 IN unreadable.
int RunExportCommand(const std::filesystem::path& in, const std::filesystem::path& out);

}  // namespace replay
