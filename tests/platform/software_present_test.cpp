// SPDX-License-Identifier: GPL-3.0-or-later
// The software renderer's way on a real X server (Xvfb, started by the test): the picture goes
// straight into the window's surface, without an OpenGL engine drawing on the processor behind
// it and without its libraries loaded (whether the software renderer is named or chosen), and the
// very first title frame in fullscreen is whole, as is the first after F11 twice.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tests/support/temp_dir.h"
#include "tests/support/x_desktop.h"

namespace {

using namespace std::chrono_literals;
using testing_x::Game;
using testing_x::Shot;
using testing_x::XDesktop;

constexpr int kScreenW = 1920, kScreenH = 1080;
// The sharp picture on this screen: 1440 x 1080, centred.
constexpr int kPictureX = 240, kPictureW = 1440;

bool anyLit(const Shot& s) {
    for (uint32_t p : s.pixels)
        if (p != 0) return true;
    return false;
}

// The first screenshot that shows anything at all.
Shot firstLitShot(const XDesktop& desktop) {
    for (int i = 0; i < 200; ++i) {
        Shot s = desktop.Screenshot();
        if (anyLit(s)) return s;
        std::this_thread::sleep_for(50ms);
    }
    throw std::runtime_error("nothing was ever shown");
}

// Rows of the picture's middle third that hold no lit pixel (a band left black or cut off).
int darkRows(const Shot& s) {
    int dark = 0;
    for (int y = 0; y < s.height; ++y) {
        bool lit = false;
        for (int x = kPictureX + kPictureW / 3; x < kPictureX + 2 * kPictureW / 3 && !lit; ++x) lit = s.at(x, y) != 0;
        dark += !lit;
    }
    return dark;
}

bool barsAreBlack(const Shot& s) {
    for (int y = 0; y < s.height; ++y)
        for (int x : {0, kPictureX - 1, kPictureX + kPictureW, kScreenW - 1})
            if (s.at(x, y) != 0) return false;
    return true;
}

std::vector<std::string> threadNames(pid_t pid) {
    std::vector<std::string> names;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        names.push_back(name);
    }
    return names;
}

// The OpenGL libraries mapped into a process (Mesa's, its driver and its compiler).
std::vector<std::string> openGlLibraries(const std::string& pid) {
    std::vector<std::string> found;
    std::ifstream maps("/proc/" + pid + "/maps");
    for (std::string line; std::getline(maps, line);) {
        const std::string file = line.substr(line.find_last_of(' ') + 1);
        const std::string name = std::filesystem::path(file).filename();
        const bool openGl = name.rfind("libGL", 0) == 0 || name.rfind("libLLVM", 0) == 0 ||
                            name.rfind("libEGL", 0) == 0 || name.find("_dri.so") != std::string::npos ||
                            name.rfind("libgallium", 0) == 0;
        if (openGl && std::find(found.begin(), found.end(), name) == found.end()) found.push_back(name);
    }
    return found;
}

// Those the game loaded itself: the sanitizer run preloads Mesa's EGL and software driver into
// every process it starts (LD_PRELOAD), so what this test's own process, started the same way,
// has mapped is not the game's doing.
std::vector<std::string> openGlLibrariesOfItsOwn(pid_t game) {
    const std::vector<std::string> preloaded = openGlLibraries("self");
    std::vector<std::string> own;
    for (const std::string& library : openGlLibraries(std::to_string(game)))
        if (std::find(preloaded.begin(), preloaded.end(), library) == preloaded.end()) own.push_back(library);
    return own;
}

TEST(SoftwarePresent, FirstFrameIsWholeAndNoOpenGlEngineRuns) {
    std::string why;
    auto desktop = XDesktop::Start(kScreenW, kScreenH, false, why);
    if (!desktop) GTEST_SKIP() << "Xvfb cannot start here: " << why;
    // The software renderer named, and chosen because Xvfb's OpenGL is drawn by the processor.
    for (const std::vector<std::string>& renderer : {std::vector<std::string>{"--renderer", "software"}, {}}) {
        SCOPED_TRACE(renderer.empty() ? "chosen" : "named");
        TempDir dir;
        std::vector<std::string> args = {"--fullscreen", "--scaling", "sharp"};
        args.insert(args.end(), renderer.begin(), renderer.end());
        Game game(*desktop, dir.path(), args);
        game.Window();

        const Shot first = firstLitShot(*desktop);
        EXPECT_EQ(darkRows(first), 0) << "the first title frame shows only a band of the picture";
        EXPECT_TRUE(barsAreBlack(first));

        // Without the framebuffer hint SDL copies the window's surface through an OpenGL texture,
        // which on a machine without GPU starts Mesa's llvmpipe threads; trying SDL's first
        // choice could leave them behind too.
        for (const std::string& name : threadNames(game.pid()))
            EXPECT_EQ(name.find("llvmpipe"), std::string::npos) << "an OpenGL engine runs: thread " << name;
        // Whether SDL's first choice draws on the processor is asked in a child process, so its
        // libraries (some 70 MB resident) never enter the game's.
        for (const std::string& library : openGlLibrariesOfItsOwn(game.pid()))
            ADD_FAILURE() << "an OpenGL library stays loaded: " << library;

        // Into a window and back: the first frame in fullscreen again is whole too.
        if (!renderer.empty()) {
            for (int i = 0; i < 2; ++i) {
                desktop->Run("xdotool key --window " + game.Window() + " F11");
                std::this_thread::sleep_for(700ms);
            }
            const Shot again = desktop->Screenshot();
            EXPECT_EQ(darkRows(again), 0) << "the first frame after F11 twice shows only a band of the picture";
            EXPECT_TRUE(barsAreBlack(again));
        }
        EXPECT_EQ(game.Stop(), 0);
    }
}

}  // namespace
