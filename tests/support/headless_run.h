// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the whole program in-process on the headless backend with a script, as
// `vorlanix --headless --script` does, and hands back the exit code and the final state.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/headless/headless_platform.h"

namespace testing_support {

struct RunResult {
    int exitCode;
    nlohmann::json state;  // the program's state when the run ended, as the driver's dump writes it
};

struct RunSettings {
    std::filesystem::path dataDir;  // required: a fresh directory per test
    uint32_t seed = 1;
    uint32_t tickStart = 0;
    std::filesystem::path record;  // --record: the whole run into this replay file
    // Called before the program starts, e.g. to remove the sound device or fail the display.
    std::function<void(platform::HeadlessPlatform&)> setup;
    // Called after the program has ended, to look at what the platform saw (message boxes ...).
    std::function<void(platform::HeadlessPlatform&)> after;
};

RunResult RunHeadless(const std::string& script, const RunSettings& settings);

}  // namespace testing_support
