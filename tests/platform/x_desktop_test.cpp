// SPDX-License-Identifier: GPL-3.0-or-later
// The program on a real X server (Xvfb, started by the test): the picture fills a 1366 x 768
// screen sharply, also without a window manager; relative and absolute pointer motion move the
// crosshair alike, in a window and fullscreen; losing the focus in a game reloads nothing, stops
// the game's clock and costs next to no processor time; Escape ends it at once, its files whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/support/temp_dir.h"
#include "tests/support/x_desktop.h"

namespace {

using namespace std::chrono_literals;
using testing_x::Game;
using testing_x::Shot;
using testing_x::XDesktop;

constexpr int kScreenW = 1366, kScreenH = 768;

std::unique_ptr<XDesktop> startDesktop(bool windowManager) {
    std::string why;
    auto desktop = XDesktop::Start(kScreenW, kScreenH, windowManager, why);
    if (!desktop) std::printf("skipped: no X server for this test: %s\n", why.c_str());
    return desktop;
}

// Where a picture point is in the program's window: the window's picture rectangle.
struct View {
    double x = 0, y = 0, scale = 1;
    std::string at(double px, double py) const {
        return std::to_string(static_cast<int>(std::floor(x + (px + 0.5) * scale))) + " " +
               std::to_string(static_cast<int>(std::floor(y + (py + 0.5) * scale)));
    }
};

// Sum of the squared colour steps between neighbouring pixels of a rectangle: a step spread over
// several pixels counts less than the same step at once, so higher is sharper.
double edgeEnergy(const Shot& s, int x0, int y0, int w, int h) {
    double sum = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x + 1 < x0 + w; ++x) {
            const uint32_t a = s.at(x, y), b = s.at(x + 1, y);
            for (int shift : {0, 8, 16}) {
                const double step = int((a >> shift) & 255) - int((b >> shift) & 255);
                sum += step * step;
            }
        }
    return sum;
}

bool columnIsBlack(const Shot& s, int x) {
    for (int y = 0; y < s.height; ++y)
        if (s.at(x, y) != 0) return false;
    return true;
}

// The title screen once it is shown and stands still.
Shot titleShot(const XDesktop& desktop, Game& game) {
    game.Window();
    Shot last;
    for (int i = 0; i < 100; ++i) {
        Shot s = desktop.Screenshot();
        const bool drawn = std::count(s.pixels.begin(), s.pixels.end(), 0u) < s.width * s.height * 19 / 20;
        if (drawn && s.pixels == last.pixels) return s;
        last = std::move(s);
        std::this_thread::sleep_for(300ms);
    }
    throw std::runtime_error("the title did not appear");
}

class XDesktopTest : public ::testing::Test {
  protected:
    // From the title through the menu's start button into a game.
    void startAGame(const XDesktop& desktop, const std::string& window, const View& view) {
        desktop.Run("xdotool mousemove --window " + window + " " + view.at(300, 200) + " click 1");
        std::this_thread::sleep_for(500ms);
        desktop.Run("xdotool mousemove --window " + window + " " + view.at(120, 100) + " click 1");
        for (int i = 0; i < 100 && game_->State().value("Modus", 0) != -1; ++i) std::this_thread::sleep_for(100ms);
        ASSERT_EQ(game_->State().value("Modus", 0), -1) << "no game started";
    }

    std::pair<int, int> pointer() {
        std::this_thread::sleep_for(300ms);
        const auto s = game_->State();
        return {s["MausPos"][0].get<int>(), s["MausPos"][1].get<int>()};
    }

    TempDir dir_;
    std::unique_ptr<Game> game_;
};

TEST_F(XDesktopTest, FullscreenFillsTheScreenSharplyWithoutAWindowManager) {
    auto desktop = startDesktop(false);
    if (!desktop) GTEST_SKIP() << "Xvfb cannot start here";
    std::map<std::string, Shot> shots;
    for (const char* scaling : {"sharp", "smooth", "integer"}) {
        game_ = std::make_unique<Game>(*desktop, dir_.path(), std::vector<std::string>{"--scaling", scaling});
        shots[scaling] = titleShot(*desktop, *game_);
        EXPECT_EQ(game_->Stop(), 0) << scaling;
    }
    // Sharp and smooth: 1024 x 768 at x = 171 with black bars beside it; sharp reaches both edges.
    for (const char* scaling : {"sharp", "smooth"}) {
        const Shot& s = shots[scaling];
        EXPECT_TRUE(columnIsBlack(s, 170)) << scaling;
        EXPECT_TRUE(columnIsBlack(s, 1195)) << scaling;
        EXPECT_FALSE(columnIsBlack(s, 171)) << scaling;
    }
    EXPECT_FALSE(columnIsBlack(shots["sharp"], 1194));
    // Enlarged by whole pixels first, the sharp picture keeps clearly harder edges than the smooth one.
    EXPECT_GT(edgeEnergy(shots["sharp"], 171, 0, 1024, 768), 1.15 * edgeEnergy(shots["smooth"], 171, 0, 1024, 768));
    // Integer: the whole factor 1 only, centred.
    const Shot& integer = shots["integer"];
    EXPECT_TRUE(columnIsBlack(integer, 362));
    EXPECT_FALSE(columnIsBlack(integer, 363));
    EXPECT_TRUE(columnIsBlack(integer, 363 + 640));
    EXPECT_FALSE(columnIsBlack(integer, 363 + 639));
}

TEST_F(XDesktopTest, RelativeAndAbsoluteMotionMoveTheCrosshairAlike) {
    auto desktop = startDesktop(true);
    if (!desktop) GTEST_SKIP() << "Xvfb cannot start here";
    const struct {
        std::vector<std::string> args;
        View view;  // in the window
    } modes[] = {
        {{"--window"}, {0, 0, 1}},
        {{"--fullscreen"}, {171, 0, 1.6}},
    };
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.args[0]);
        game_ = std::make_unique<Game>(*desktop, dir_.path(), mode.args);
        const std::string window = game_->Window();
        std::this_thread::sleep_for(1s);
        ASSERT_NO_FATAL_FAILURE(startAGame(*desktop, window, mode.view));
        // The game puts the crosshair at the centre; a mouse moves it by its motion.
        EXPECT_EQ(pointer(), std::make_pair(320, 240));
        const auto by = [&](int dx, int dy) {
            desktop->Run("xdotool mousemove_relative -- " + std::to_string(std::lround(dx * mode.view.scale)) + " " +
                         std::to_string(std::lround(dy * mode.view.scale)));
        };
        by(40, 30);
        EXPECT_EQ(pointer(), std::make_pair(360, 270));
        // A tablet, a touch screen or a remote desktop names the place.
        desktop->Run("xdotool mousemove --window " + window + " " + mode.view.at(200, 150));
        EXPECT_EQ(pointer(), std::make_pair(200, 150));
        by(-10, 10);
        EXPECT_EQ(pointer(), std::make_pair(190, 160));
        EXPECT_EQ(game_->Stop(), 0);
    }
}

TEST_F(XDesktopTest, LosingTheFocusInAGameReloadsNothingStopsTheClockAndRestsTheProcessor) {
    auto desktop = startDesktop(true);
    if (!desktop) GTEST_SKIP() << "Xvfb cannot start here";
    if (desktop->Run("command -v xclock") != 0) GTEST_SKIP() << "xclock (x11-apps) is not installed";
    game_ = std::make_unique<Game>(*desktop, dir_.path(), std::vector<std::string>{"--window"});
    const std::string window = game_->Window();
    std::this_thread::sleep_for(1s);
    ASSERT_NO_FATAL_FAILURE(startAGame(*desktop, window, View{}));
    std::this_thread::sleep_for(1500ms);

    // Another window takes the focus (the window manager gives it to the new one) for 3 seconds.
    const auto awayFor = [&](auto whileAway) {
        const std::string pidFile = (dir_ / "xclock.pid").string();
        desktop->Run("sh -c 'xclock & echo $! > " + pidFile + "'");
        desktop->Run("sh -c 'xdotool windowfocus --sync $(xdotool search --sync --onlyvisible --name ^xclock$)'");
        std::this_thread::sleep_for(500ms);
        whileAway();
        desktop->Run("sh -c 'kill $(cat " + pidFile + ")'");
        desktop->Run("xdotool windowfocus --sync " + window);
        std::this_thread::sleep_for(500ms);
    };
    const int before = game_->State()["Spielzeit"].get<int>();
    const auto wallBefore = std::chrono::steady_clock::now();
    awayFor([&] {
        const double cpuBefore = game_->CpuSeconds();
        std::this_thread::sleep_for(3s);
        // Below 2 % of a core, and the game's clock does not move meanwhile.
        EXPECT_LT((game_->CpuSeconds() - cpuBefore) / 3.0, 0.02);
    });
    const int after = game_->State()["Spielzeit"].get<int>();
    const auto wall =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - wallBefore);
    // Of the three seconds away, at least two and a half are missing from the game's clock.
    EXPECT_LT(after - before, wall.count() - 2500) << "the game's clock ran on without the focus";

    // Paused, the cockpit's bottom bar with the counters and the ageing picture stands still (but
    // for a light at its left end that runs by the clock); a focus loss and return leave it as it
    // was (a reload would show the time counter as 000).
    desktop->Run("xdotool key --window " + window + " p");
    std::this_thread::sleep_for(500ms);
    const auto bottomBar = [&] {
        const Shot s = desktop->Screenshot(window);
        std::vector<uint32_t> bar;
        for (int y = 352; y < 480; ++y)
            for (int x = 60; x < 640; ++x) bar.push_back(s.at(x, y));
        return bar;
    };
    const auto paused = bottomBar();
    std::this_thread::sleep_for(1s);
    ASSERT_EQ(bottomBar(), paused) << "the paused picture does not stand still";
    awayFor([] { std::this_thread::sleep_for(1s); });
    EXPECT_EQ(bottomBar(), paused) << "the counters changed over the focus loss";
    EXPECT_EQ(game_->State().value("Modus", 0), -1);
}

TEST_F(XDesktopTest, EscapeInAGameEndsTheProgramAtOnceAndKeepsTheGameWhole) {
    auto desktop = startDesktop(false);
    if (!desktop) GTEST_SKIP() << "Xvfb cannot start here";
    game_ = std::make_unique<Game>(*desktop, dir_.path(), std::vector<std::string>{"--window"});
    const std::string window = game_->Window();
    std::this_thread::sleep_for(1s);
    ASSERT_NO_FATAL_FAILURE(startAGame(*desktop, window, View{}));
    std::this_thread::sleep_for(1s);

    // From the moment the key has reached the X server to the process's end, which takes its
    // window with it. Taking SDL down piece by piece took 0.4 to 0.8 seconds here.
    ASSERT_EQ(desktop->Run("xdotool key --window " + window + " Escape"), 0);
    const auto pressed = std::chrono::steady_clock::now();
    const auto since = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - pressed).count();
    };
    int status = -1;
    while (!game_->Ended(status) && since() < 5) std::this_thread::sleep_for(2ms);
    const double ended = since();
    std::printf("ended %.3f s after Escape\n", ended);
    EXPECT_EQ(status, 0);
    EXPECT_LT(ended, 0.25);
    EXPECT_TRUE(desktop->Output("xdotool search --onlyvisible --name '^Vorlanix$'").empty());

    // The game that was running is kept whole: it replays to the same end.
    const auto kept = dir_ / "data" / "replays" / "last.vxr";
    ASSERT_TRUE(std::filesystem::exists(kept));
    EXPECT_EQ(desktop->Run(std::string(VORLANIX_EXE) + " --headless --replay " + kept.string()), 0);
}

}  // namespace
