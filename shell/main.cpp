// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point: reads the settings file and the command line, then runs the program on the SDL
// backend, or on the headless backend for tests and scripted runs.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <optional>

#include "base/log.h"
#include "base/utf8_path.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/script_driver.h"
#include "platform/sdl/sdl_platform.h"
#include "replay/kept_replays.h"
#include "shell/directories.h"
#include "shell/kept_replay_list.h"
#include "shell/options.h"
#include "shell/process.h"
#include "shell/program.h"
#include "shell/replay_command.h"
#include "shell/settings_file.h"

namespace {

int printPaths(const vorlanix::Options& options, const std::filesystem::path& settingsFile) {
    const auto programDir = vorlanix::ExecutableDirectory();
    std::string error;
    // Showing the paths creates none of them.
    const auto dataDir = vorlanix::ChooseDataDirectory(options.dataDir, programDir, error, false);
    if (dataDir.empty()) {
        base::Log("%s", error.c_str());
        return 1;
    }
    using base::Utf8FromPath;
    std::printf("data:        %s\nsettings:    %s\nsound:       %s\nscreenshots: %s\n", Utf8FromPath(dataDir).c_str(),
                settingsFile.empty() ? "(none)" : Utf8FromPath(settingsFile).c_str(),
                Utf8FromPath(vorlanix::FindSoundDirectory(programDir)).c_str(),
                Utf8FromPath(vorlanix::ChooseScreenshotDirectory(options.screenshotDir, dataDir)).c_str());
    return 0;
}

// --list-replays, and --replay without a file: the kept replays of the data directory, found
// without creating anything. Returns an exit code when the program ends here.
std::optional<int> findKeptReplays(vorlanix::Options& options) {
    if (!options.listReplays && !options.replayNewest) return std::nullopt;
    std::string error;
    const auto dataDir = vorlanix::ChooseDataDirectory(options.dataDir, vorlanix::ExecutableDirectory(), error, false);
    if (dataDir.empty()) {
        base::Log("%s", error.c_str());
        return 1;
    }
    const auto kept = vorlanix::FindKeptReplays(dataDir);
    const auto folder = base::Utf8FromPath(dataDir / replay::kReplayFolder);
    if (options.listReplays) {
        for (const std::string& line : vorlanix::DescribeKeptReplays(kept)) std::printf("%s\n", line.c_str());
        if (kept.empty()) base::Log("no replays are kept in %s yet", folder.c_str());
        return 0;
    }
    const auto newest = std::find_if(kept.begin(), kept.end(), [](const auto& k) { return k.unreadable.empty(); });
    if (newest == kept.end()) {
        base::Log("there is no replay to watch in %s: every game played is kept there (unless --no-keep-replays)",
                  folder.c_str());
        return 1;
    }
    options.replay = newest->file;
    return std::nullopt;
}

int runMain(int argc, char** commandLine) {
    // The words as UTF-8 (on Windows argv is the ANSI code page), in argv's shape.
    std::vector<std::string> words = vorlanix::CommandLineWords(argc, commandLine);
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    argc = static_cast<int>(words.size());
    vorlanix::Options options;
    std::string message;
    // The first reading finds --help, mistakes and which settings file to read; the second puts
    // the command line on top of that file's values.
    switch (vorlanix::ParseCommandLine(argc, argv.data(), options, message)) {
        case vorlanix::ParseResult::Exit: std::printf("%s\n", message.c_str()); return 0;
        case vorlanix::ParseResult::Error: std::fprintf(stderr, "%s\n", message.c_str()); return 2;
        case vorlanix::ParseResult::Run: break;
    }
    const auto settingsPath = vorlanix::ChooseSettingsFile(options.config, options.headless, !options.dataDir.empty(),
                                                           vorlanix::ExecutableDirectory());
    std::optional<vorlanix::SettingsFile> settings;
    // The settings file written with the defaults names scale 2; only a scale the command line asks
    // for is one the player chose, and only that one is reported when the desktop cannot hold it.
    const bool scaleAsked = options.scale != 0;
    std::error_code missing;
    // --print-paths only shows where the files are: a missing settings file is not written.
    const bool readSettings =
        !settingsPath.empty() && (!options.printPaths || std::filesystem::exists(settingsPath, missing));
    if (readSettings) {
        vorlanix::Options fromFile;
        std::vector<std::string> warnings;
        settings = vorlanix::SettingsFile::Open(settingsPath, fromFile, warnings);
        for (const auto& w : warnings) base::Log("%s", w.c_str());
        vorlanix::ParseCommandLine(argc, argv.data(), fromFile, message);
        options = fromFile;
        if (!scaleAsked && options.scale == vorlanix::kDefaultWindowScale) options.scale = 0;
    }
    if (options.printPaths) return printPaths(options, settingsPath);
    if (const auto ended = findKeptReplays(options)) return *ended;
    if (options.exportReplay)
        return replay::RunExportCommand(options.exportReplay->first, options.exportReplay->second);
    try {
        if (!options.replay.empty() && options.headless) {
            if (options.script.empty()) return replay::RunReplayCommand(options.replay, nullptr);
            // A script watches the replay on a headless display: waits, checks, dumps, screenshots.
            platform::HeadlessPlatform watcher;
            auto driver = std::make_unique<platform::ScriptDriver>(platform::ScriptDriver::FromFile(options.script));
            platform::ScriptDriver* script = driver.get();
            if (const std::string why = script->LinesThatChangeTheRun(); !why.empty()) {
                std::fprintf(stderr, "%s\n", why.c_str());
                return 2;
            }
            watcher.AttachScript(std::move(driver));
            replay::WatchOptions watch;
            watch.output = &watcher;
            watch.speed = options.replaySpeed;
            watch.realTime = false;
            watch.title = [&watcher](const std::string& title) { watcher.SetTitle(title); };
            return replay::RunReplayCommand(options.replay, &watch, script);
        }
        if (options.headless) {
            platform::HeadlessPlatform headless(options.tickStart);
            if (options.mute) headless.SetSoundDevice(false);
            platform::ScriptDriver* script = nullptr;
            if (!options.script.empty()) {
                auto driver =
                    std::make_unique<platform::ScriptDriver>(platform::ScriptDriver::FromFile(options.script));
                script = driver.get();
                headless.AttachScript(std::move(driver));
            }
            return vorlanix::RunProgram(headless, options, script);
        }
        platform::SdlOptions sdl;
        sdl.window = options.window;
        sdl.scale = options.scale;
        sdl.scaling = options.scaling;
        sdl.renderer = options.renderer;
        sdl.vsync = options.vsync;
        sdl.stateFile = options.stateFile;
        sdl.mute = options.mute;
        sdl.effectsVolume = options.effectsVolume;
        sdl.musicVolume = options.musicVolume;
        sdl.controllerDeadZone = options.controllerDeadZone;
        sdl.controllerSpeed = options.controllerSpeed;
        // F11 and Alt+Enter are the player's choice for the next start too.
        sdl.fullscreenChanged = [&settings](bool fullscreen) {
            std::string error;
            if (settings && !settings->Store("fullscreen", fullscreen ? "yes" : "no", error))
                base::Log("%s", error.c_str());
        };
        if (!options.replay.empty()) {
            auto window = platform::CreateSdlPlatform(sdl);
            const auto programDir = vorlanix::ExecutableDirectory();
            window->SetDirectories(programDir, {}, vorlanix::FindSoundDirectory(programDir));
            replay::WatchOptions watch;
            watch.output = window.get();
            watch.speed = options.replaySpeed;
            watch.title = [&window](const std::string& title) { platform::SetSdlWindowTitle(*window, title); };
            return replay::RunReplayCommand(options.replay, &watch);
        }
        auto real = platform::CreateSdlPlatform(sdl);
        const int code = vorlanix::RunProgram(*real, options, nullptr, [&real] { platform::VanishSdlPlatform(*real); });
        // Every file is written and closed now. Taking SDL down piece by piece (the sound thread,
        // the display connection) would keep a player who pressed Escape waiting for nothing:
        // the system closes all of it when the process ends.
        real->FinishScreenshots();
        std::fflush(nullptr);
        std::_Exit(code);
    } catch (const std::exception& e) {
        // Scripted and replayed runs stay on standard error; a player sees the reason.
        if (options.headless)
            base::Log("%s", e.what());
        else
            vorlanix::ReportFatalError(e.what());
        return 2;
    }
}

}  // namespace

int main(int argc, char** commandLine) {
    const int code = runMain(argc, commandLine);
#ifdef __EMSCRIPTEN__
    // In the browser the loops hand the browser its turn at every wait, after which a return from
    // main ends nothing: the program's end must be said, so the page learns of it.
    std::exit(code);
#endif
    return code;
}
