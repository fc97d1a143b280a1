// `vorlanix --replay FILE`: reads the file, plays it (in a window or re-simulated) and turns the
// outcome into lines for people and the exit code: 0 in sync, 3 out of sync, 2 unreadable.
#pragma once

#include <filesystem>

#include "platform/platform.h"

namespace replay {

int RunReplayCommand(const std::filesystem::path& file, platform::Platform* output, double speed);

}  // namespace replay
