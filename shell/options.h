// SPDX-License-Identifier: GPL-3.0-or-later
// The surroundings of one run: what the settings file and the command line choose.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace vorlanix {

// The window's scale when none is chosen (the display makes it smaller on a small desktop).
constexpr int kDefaultWindowScale = 2;

struct Options {
    bool headless = false;
    bool window = false;                  // a window instead of fullscreen
    int scale = 0;                        // window scale factor; 0 = default
    std::string scaling = "sharp";        // sharp, integer or smooth
    std::string renderer;                 // SDL render driver name; empty = chosen automatically
    bool vsync = true;                    // present in step with the display
    int effectsVolume = 100;              // 0..100, scales what the game's sound switch lets through
    int musicVolume = 100;                // 0..100, the same for the music
    int controllerDeadZone = 15;          // percent of the stick's travel that does nothing
    int controllerSpeed = 600;            // picture pixels per second at full tilt
    std::filesystem::path screenshotDir;  // empty = the data directory's screenshots/
    bool mute = false;                    // no sound device is opened at all
    bool printPaths = false;
    std::filesystem::path config;  // the settings file named on the command line
    std::filesystem::path assetDir;
    std::filesystem::path dataDir;
    std::filesystem::path script;
    std::filesystem::path stateFile;  // the SDL backend writes the state JSON here on SIGUSR1
    std::optional<uint32_t> seed;
    uint32_t tickStart = 0;
    std::filesystem::path record;  // record the whole run into this replay file
    std::filesystem::path replay;  // play this replay instead of taking input
    bool replayNewest = false;     // --replay without a file: watch the newest kept replay
    bool listReplays = false;      // print the kept replays and exit
    // Write the public part of a replay's last game (IN, OUT) and exit.
    std::optional<std::pair<std::filesystem::path, std::filesystem::path>> exportReplay;
    double replaySpeed = 1;   // watching: the recorded clock's pace, 0.25 to 8
    bool keepReplays = true;  // record every game into the data directory's replays/
};

enum class ParseResult { Run, Exit, Error };

// Parses argv on top of what `options` already holds (the settings file's choices); on Exit or
// Error, `message` holds what to print (help, version or the error).
ParseResult ParseCommandLine(int argc, char** argv, Options& options, std::string& message);

}  // namespace vorlanix
