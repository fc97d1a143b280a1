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
    std::filesystem::path stateFile;  // the SDL backend writes the state JSON here on SIGUSR1
    std::optional<uint32_t> seed;
    uint32_t tickStart = 0;
};

enum class ParseResult { Run, Exit, Error };

// Parses argv; on Exit or Error, `message` holds what to print (help, version or the error).
ParseResult ParseCommandLine(int argc, char** argv, Options& options, std::string& message);

}  // namespace vorlanix
