// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point: reads the settings file and the command line, then runs the program on the SDL
// backend, or on the headless backend for tests and scripted runs.
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
#include "shell/directories.h"
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
    if (options.exportReplay)
        return replay::RunExportCommand(options.exportReplay->first, options.exportReplay->second);
    try {
        if (!options.replay.empty() && options.headless) {
            if (options.script.empty()) return replay::RunReplayCommand(options.replay, nullptr, 0);
            // A script watches the replay on a headless display: waits, checks, dumps, screenshots.
            platform::HeadlessPlatform watcher;
            auto driver = std::make_unique<platform::ScriptDriver>(platform::ScriptDriver::FromFile(options.script));
            platform::ScriptDriver* script = driver.get();
            if (const std::string why = script->LinesThatChangeTheRun(); !why.empty()) {
                std::fprintf(stderr, "%s\n", why.c_str());
                return 2;
            }
            watcher.AttachScript(std::move(driver));
            return replay::RunReplayCommand(options.replay, &watcher, 0, script);
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
            return replay::RunReplayCommand(options.replay, window.get(), options.replaySpeed);
        }
        auto real = platform::CreateSdlPlatform(sdl);
        return vorlanix::RunProgram(*real, options, nullptr);
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
