// The command line of the program.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace vorlanix {

struct Options {
    bool headless = false;
    bool window = false;      // a window instead of fullscreen
    int scale = 0;            // window scale factor; 0 = default
    std::string scaling = "sharp";  // sharp, integer or smooth
    std::string renderer;           // SDL render driver name; empty = chosen automatically
    bool vsync = true;              // present in step with the display
    std::filesystem::path assetDir;
    std::filesystem::path dataDir;
    std::filesystem::path script;
    std::optional<uint32_t> seed;
    uint32_t tickStart = 0;
    std::filesystem::path record;  // record the whole run into this replay file
    std::filesystem::path replay;  // play this replay instead of taking input
    double replaySpeed = 1;        // watching: the recorded clock's pace, 0.25 to 8
    bool keepReplays = true;       // record every game into the data directory's replays/
};

enum class ParseResult { Run, Exit, Error };

// Parses argv; on Exit or Error, `message` holds what to print (help, version or the error).
ParseResult ParseCommandLine(int argc, char** argv, Options& options, std::string& message);

}  // namespace vorlanix
