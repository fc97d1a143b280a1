// SPDX-License-Identifier: GPL-3.0-or-later
// Running the program in-process on a script and collecting its exit code and final state.
#include "tests/support/headless_run.h"

#include <fstream>
#include <sstream>

#include "shell/options.h"
#include "shell/program.h"
#include "platform/headless/script_driver.h"

namespace testing_support {

RunResult RunHeadless(const std::string& script, const RunSettings& settings) {
    // The final state comes from a dump appended to the script; a program that ends by itself
    // before the script does leaves no dump, and the state stays empty.
    const auto dumpFile = settings.dataDir / "final-state.json";
    std::filesystem::remove(dumpFile);
    platform::HeadlessPlatform headless(settings.tickStart);
    headless.KeepLastFrame(true);  // for the tests that look at it afterwards
    if (settings.setup) settings.setup(headless);
    auto driver = std::make_unique<platform::ScriptDriver>(script + "\ndump " + dumpFile.string() + "\n", "script");
    platform::ScriptDriver* raw = driver.get();
    headless.AttachScript(std::move(driver));
    vorlanix::Options options;
    options.headless = true;
    options.dataDir = settings.dataDir;
    options.seed = settings.seed;
    options.tickStart = settings.tickStart;
    options.record = settings.record;
    RunResult result{vorlanix::RunProgram(headless, options, raw), nlohmann::json::object()};
    if (settings.after) settings.after(headless);
    std::ifstream f(dumpFile);
    if (f) result.state = nlohmann::json::parse(f, nullptr, false);
    return result;
}

}  // namespace testing_support
