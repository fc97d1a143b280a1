// The command line: the surroundings of the game (window, scaling, files, test driver).
#include <cstdlib>
#include <string_view>

#include "app/options.h"

namespace vorlanix {

namespace {

constexpr const char* kHelp =
    "Usage: vorlanix [OPTION]...\n"
    "Vorlanix, an arcade shooter against the clock.\n"
    "\n"
    "  --window          play in a window instead of fullscreen\n"
    "  --fullscreen      play fullscreen (the default)\n"
    "  --scale N         window scale factor (default 2)\n"
    "  --scaling MODE    sharp (default: whole factor, then smoothly to fill), integer or smooth\n"
    "  --renderer NAME   SDL render driver (software, opengl, opengles2 ...); default: automatic\n"
    "  --no-vsync        do not wait for the display's refresh (frames are still capped at its rate)\n"
    "  --assets DIR      read the pictures from the .bmp files of DIR instead of the built-in ones\n"
    "  --data-dir DIR    keep hiscore.dat and the UpLoad directory in DIR\n"
    "  --seed N          seed the random numbers with N (a seed and the same input replay a game)\n"
    "  --state-file FILE on the signal SIGUSR1, write the program's state as JSON to FILE\n"
    "  --headless        run without window and sound device, on a virtual clock\n"
    "  --script FILE     with --headless: drive the program by the test script FILE\n"
    "  --tick-start MS   with --headless: start the virtual clock at MS\n"
    "  --help            show this help and exit\n"
    "  --version         show the version and exit\n"
    "\n"
    "In the game: the mouse aims and scrolls, left button fires, right button reloads at a\n"
    "Raumtank, arrow keys scroll, P pauses, F11 or Alt+Enter toggles fullscreen, Escape quits.\n";

bool parseNumber(const char* text, uint64_t max, uint64_t& out) {
    char* end = nullptr;
    if (!text || !*text || *text == '-') return false;
    out = std::strtoull(text, &end, 10);
    return *end == '\0' && out <= max;
}

}  // namespace

ParseResult ParseCommandLine(int argc, char** argv, Options& o, std::string& message) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        auto fail = [&](const std::string& why) {
            message = "vorlanix: " + why + " (try --help)";
            return ParseResult::Error;
        };
        uint64_t n = 0;
        if (a == "--help") {
            message = kHelp;
            return ParseResult::Exit;
        } else if (a == "--version") {
            message = "vorlanix " VORLANIX_VERSION;
            return ParseResult::Exit;
        } else if (a == "--window") {
            o.window = true;
        } else if (a == "--fullscreen") {
            o.window = false;
        } else if (a == "--no-vsync") {
            o.vsync = false;
        } else if (a == "--scaling") {
            const char* v = value();
            const std::string_view mode = v ? v : "";
            if (mode != "sharp" && mode != "integer" && mode != "smooth")
                return fail("--scaling needs sharp, integer or smooth");
            o.scaling = mode;
        } else if (a == "--renderer") {
            const char* v = value();
            if (!v || !*v) return fail("--renderer needs the name of a render driver");
            o.renderer = v;
        } else if (a == "--headless") {
            o.headless = true;
        } else if (a == "--scale") {
            if (!parseNumber(value(), 16, n) || n < 1) return fail("--scale needs a number from 1 to 16");
            o.scale = static_cast<int>(n);
        } else if (a == "--seed") {
            if (!parseNumber(value(), UINT32_MAX, n)) return fail("--seed needs a number from 0 to 4294967295");
            o.seed = static_cast<uint32_t>(n);
        } else if (a == "--tick-start") {
            if (!parseNumber(value(), UINT32_MAX, n)) return fail("--tick-start needs a number of milliseconds");
            o.tickStart = static_cast<uint32_t>(n);
        } else if (a == "--assets" || a == "--data-dir" || a == "--script" || a == "--state-file") {
            const char* v = value();
            if (!v || !*v) return fail(std::string(a) + " needs a path");
            (a == "--assets" ? o.assetDir : a == "--data-dir" ? o.dataDir : a == "--script" ? o.script : o.stateFile) = v;
        } else {
            return fail("unknown option " + std::string(a));
        }
    }
    if (!o.script.empty() && !o.headless) {
        message = "vorlanix: --script needs --headless (try --help)";
        return ParseResult::Error;
    }
    return ParseResult::Run;
}

}  // namespace vorlanix
