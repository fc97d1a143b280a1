// SPDX-License-Identifier: GPL-3.0-or-later
// The headless driver's script: any text is parsed into lines or refused with its line number, and
// a short script of a player's actions runs the whole program without a fault. Lines that write
// files where the script says (dump, screenshot) or write the game's fields directly (set, a test
// aid no player has) are parsed but not run.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "shell/options.h"
#include "shell/program.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/script_driver.h"

namespace {

// The most frames a run may take, so that one input costs a fraction of a second.
constexpr double kMostFrames = 300;

// Whether the parsed script only acts as a player and ends soon. Its numbers were checked by the
// driver already, so reading them again is safe.
bool RunnableAsPlayer(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    double frameMs = 16, frames = 0;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string command, a, b, c, d;
        words >> command >> a >> b >> c >> d;
        if (command == "set" || command == "dump" || command == "screenshot") return false;
        if (command == "frame-ms") frameMs = std::strtod(a.c_str(), nullptr);
        if (command == "run") frames += std::strtod(a.c_str(), nullptr) / frameMs;
        if (command == "run-until") frames += (d.empty() ? 600000 : std::strtod(d.c_str(), nullptr)) / frameMs;
    }
    return frames <= kMostFrames;
}

struct DataDirectory {
    DataDirectory()
        : path(std::filesystem::temp_directory_path() / ("vorlanix-script-fuzz-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path);
    }
    ~DataDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<platform::ScriptDriver> driver;
    try {
        driver = std::make_unique<platform::ScriptDriver>(text, "fuzz");
    } catch (const std::runtime_error&) {
        return 0;
    }
    if (!RunnableAsPlayer(text)) return 0;
    static const DataDirectory dataDir;
    // Every run starts from a new list, so an input replays the same way.
    std::filesystem::remove(dataDir.path / "hiscore.dat");
    platform::HeadlessPlatform headless;
    platform::ScriptDriver* script = driver.get();
    headless.AttachScript(std::move(driver));
    vorlanix::Options options;
    options.headless = true;
    options.dataDir = dataDir.path;
    options.seed = 1;
    vorlanix::RunProgram(headless, options, script);
    return 0;
}
