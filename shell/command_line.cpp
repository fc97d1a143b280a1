// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: the surroundings of the game (window, scaling, sound, files, test driver).
// It parses on top of the settings file's choices, so what it names wins for this run.
#include <algorithm>
#include <string_view>

#include "base/licence_notice.h"
#include "base/utf8_path.h"
#include "shell/options.h"
#include "shell/setting_keys.h"

namespace vorlanix {

namespace {

constexpr const char* kHelp =
    "Usage: vorlanix [OPTION]... [REPLAY]\n"
    "A REPLAY file alone (what a file manager passes) is watched as with --replay.\n"
    "Vorlanix, an arcade shooter against the clock.\n"
    "Options take their value as --option=VALUE or --option VALUE.\n"
    "\n"
    "Display and sound (defaults from the settings file, see --print-paths):\n"
    "  --window                   play in a window\n"
    "  --fullscreen               play fullscreen\n"
    "  --scale N                  window scale factor, 1 to 16\n"
    "  --scaling MODE             sharp (whole factor, then smoothly to fill), integer or smooth\n"
    "  --renderer NAME            SDL render driver (software, opengl, opengles2 ...)\n"
    "  --no-vsync                 do not wait for the display's refresh (frames are still capped at its rate)\n"
    "  --effects-volume N         loudness of the sound effects, 0 to 100\n"
    "  --music-volume N           loudness of the music, 0 to 100\n"
    "  --mute                     open no sound device at all\n"
    "  --controller-dead-zone N   percent of a stick's travel that moves nothing, 0 to 90\n"
    "  --controller-speed N       pointer speed at full tilt, pixels per second, 50 to 5000\n"
    "  --screenshot-dir DIR       where F12 saves screenshots\n"
    "\n"
    "Files:\n"
    "  --config FILE              read the settings from FILE (written with the defaults if missing)\n"
    "  --data-dir DIR             keep hiscore.dat and the UpLoad directory in DIR\n"
    "  --assets DIR               read the pictures from the .bmp files of DIR instead of the built-in ones\n"
    "  --print-paths              show the data, settings, sound and screenshot directories and exit\n"
    "\n"
    "Tests and reproducible runs:\n"
    "  --seed N                   seed the random numbers with N (a seed and the same input replay a game)\n"
    "  --headless                 run without window and sound device, on a virtual clock\n"
    "  --script FILE              with --headless: drive the program by the test script FILE\n"
    "  --tick-start MS            with --headless: start the virtual clock at MS\n"
    "  --state-file FILE          on the signal SIGUSR1 (on Windows: when FILE.request\n"
    "                             appears), write the program's state as JSON to FILE\n"
    "\n"
    "Replays:\n"
    "  --record FILE              record the whole run into the replay FILE\n"
    "  --replay [FILE]            watch the replay FILE, without FILE the newest kept one: Space\n"
    "                             pauses, . steps a frame, Left and Right jump 10 s, + and - change\n"
    "                             the speed, Escape ends it; with --headless: re-simulate it and\n"
    "                             check it stays in sync; with --script too: the script watches it\n"
    "  --list-replays             show the kept replays, newest first: date, result and file\n"
    "  --replay-speed X           watch at X times the recorded speed, 0.25 to 8\n"
    "  --no-keep-replays          keep no replays of the games in the data directory\n"
    "  --export-replay IN OUT     write the public part of the last game in the replay IN to OUT:\n"
    "                             from its START to its result, without names, form entries,\n"
    "                             typed text or paths, for sharing"
    "\n"
    "  -h, --help                 show this help and exit\n"
    "  --version                  show the version and the licence and exit\n"
    "\n"
    "In the game: the mouse aims and scrolls, left button fires, right button reloads at a\n"
    "Raumtank, arrow keys scroll, P pauses, F11 or Alt+Enter toggles fullscreen, F12 saves a\n"
    "screenshot, Escape quits. A game controller's left stick moves the pointer, A or the right\n"
    "trigger fires, B or the left trigger reloads, Start pauses, the d-pad scrolls.\n";

// The options that set a settings key: --effects-volume sets effects_volume.
const SettingKey* keyForOption(std::string_view option) {
    if (option.substr(0, 2) != "--") return nullptr;
    std::string name(option.substr(2));
    std::replace(name.begin(), name.end(), '-', '_');
    // These two are switches on the command line: --window/--fullscreen and --no-vsync.
    if (name == "fullscreen" || name == "vsync") return nullptr;
    return FindSettingKey(name);
}

}  // namespace

ParseResult ParseCommandLine(int argc, char** argv, Options& o, std::string& message) {
    for (int i = 1; i < argc; ++i) {
        std::string_view a = argv[i];
        std::optional<std::string_view> inlineValue;
        if (const auto eq = a.find('='); a.substr(0, 2) == "--" && eq != std::string_view::npos) {
            inlineValue = a.substr(eq + 1);
            a = a.substr(0, eq);
        }
        auto fail = [&](const std::string& why) {
            message = "vorlanix: " + why + " (try --help)";
            return ParseResult::Error;
        };
        // The value of an option: after "=" or the next argument.
        auto value = [&]() -> std::optional<std::string_view> {
            if (inlineValue) return inlineValue;
            if (i + 1 < argc) return std::string_view(argv[++i]);
            return std::nullopt;
        };
        const bool isSwitch = a == "-h" || a == "--help" || a == "--version" || a == "--window" ||
                              a == "--fullscreen" || a == "--no-vsync" || a == "--mute" || a == "--headless" ||
                              a == "--print-paths" || a == "--no-keep-replays" || a == "--list-replays";
        if (isSwitch && inlineValue) return fail(std::string(a) + " takes no value");
        long long n = 0;
        if (a == "-h" || a == "--help") {
            message = kHelp;
            return ParseResult::Exit;
        } else if (a == "--version") {
            message = "vorlanix " VORLANIX_VERSION "\n" VORLANIX_LICENCE_NOTICE;
            return ParseResult::Exit;
        } else if (a == "--window" || a == "--fullscreen") {
            o.window = a == "--window";
        } else if (a == "--no-vsync") {
            o.vsync = false;
        } else if (a == "--mute") {
            o.mute = true;
        } else if (a == "--headless") {
            o.headless = true;
        } else if (a == "--print-paths") {
            o.printPaths = true;
        } else if (a == "--no-keep-replays") {
            o.keepReplays = false;
        } else if (a == "--list-replays") {
            o.listReplays = true;
        } else if (a == "--replay" && !inlineValue &&
                   (i + 1 >= argc || std::string_view(argv[i + 1]).starts_with("-"))) {
            // Without a file the newest kept replay is watched.
            o.replayNewest = true;
            o.replay.clear();
        } else if (const SettingKey* key = keyForOption(a)) {
            const auto v = value();
            if (!v) return fail(std::string(a) + " needs a value");
            if (std::string wanted = key->set(o, *v); !wanted.empty()) return fail(std::string(a) + " needs " + wanted);
        } else if (a == "--seed") {
            const auto v = value();
            if (!v || !ReadWholeNumber(*v, 0, UINT32_MAX, n)) return fail("--seed needs a number from 0 to 4294967295");
            o.seed = static_cast<uint32_t>(n);
        } else if (a == "--tick-start") {
            const auto v = value();
            if (!v || !ReadWholeNumber(*v, 0, UINT32_MAX, n))
                return fail("--tick-start needs a number of milliseconds");
            o.tickStart = static_cast<uint32_t>(n);
        } else if (a == "--assets" || a == "--data-dir" || a == "--script" || a == "--config" || a == "--record" ||
                   a == "--replay" || a == "--state-file") {
            const auto v = value();
            if (!v || v->empty()) return fail(std::string(a) + " needs a path");
            if (a == "--replay") o.replayNewest = false;
            (a == "--assets"     ? o.assetDir
             : a == "--data-dir" ? o.dataDir
             : a == "--script"   ? o.script
             : a == "--config"   ? o.config
             : a == "--record"   ? o.record
             : a == "--replay"   ? o.replay
                                 : o.stateFile) = base::PathFromUtf8(*v);
        } else if (a == "--export-replay") {
            const auto in = value();
            if (!in || in->empty() || inlineValue || i + 1 >= argc) return fail("--export-replay needs two paths");
            o.exportReplay = {base::PathFromUtf8(*in), base::PathFromUtf8(argv[++i])};
        } else if (a == "--replay-speed") {
            const auto v = value();
            const std::string text(v.value_or(""));
            char* end = nullptr;
            const double speed = std::strtod(text.c_str(), &end);
            if (text.empty() || *end != '\0' || !(speed >= 0.25 && speed <= 8))
                return fail("--replay-speed needs a number from 0.25 to 8");
            o.replaySpeed = speed;
        } else if (!a.starts_with("-") && !a.empty()) {
            // A file manager opens a replay with its path alone.
            if (!o.replay.empty() || o.replayNewest) return fail("only one replay can be watched at a time");
            o.replay = base::PathFromUtf8(a);
        } else {
            return fail("unknown option " + std::string(a));
        }
    }
    if (!o.script.empty() && !o.headless) {
        message = "vorlanix: --script needs --headless (try --help)";
        return ParseResult::Error;
    }
    if ((!o.replay.empty() || o.replayNewest) && !o.record.empty()) {
        message = "vorlanix: --replay cannot be combined with --record (try --help)";
        return ParseResult::Error;
    }
    return ParseResult::Run;
}

}  // namespace vorlanix
