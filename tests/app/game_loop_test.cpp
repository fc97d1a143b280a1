// SPDX-License-Identifier: GPL-3.0-or-later
// The game loop: what one frame does and in which order, the clamped step, pause and focus, the
// end of a game with its grace second, and the view over the wrapping world.
#include <gtest/gtest.h>

#include <functional>
#include <list>
#include <utility>

#include "tests/support/test_game.h"

using platform::QueuedEvent;
using testing_support::TestGame;
using K = QueuedEvent::Kind;

namespace {

class GameLoop : public ::testing::Test {
  public:
    GameLoop() {
        session.headless.SetPumpHook([this] {
            if (everyPump) everyPump();
            for (auto& [tick, action] : schedule)
                if (action && session.headless.GetTickCount() >= tick) std::exchange(action, nullptr)();
        });
    }
    void click(int16_t button, float x, float y) {
        session.headless.Queue({K::MouseDown, button, x, y});
        session.headless.Queue({K::MouseUp, button, x, y});
    }
    // Runs an action at the first event pump once the virtual clock has reached `tick`.
    void at(uint32_t tick, std::function<void()> action) { schedule.emplace_back(tick, std::move(action)); }

    TestGame session{5};
    vorlanix::Vorlanix& g = session.game;
    std::list<std::pair<uint32_t, std::function<void()>>> schedule;
    std::function<void()> everyPump;
};

}  // namespace

TEST_F(GameLoop, AFrameActsOnItsOwnEventsClockAndViewAndDrawsLast) {
    g.SetUpGame();
    ASSERT_TRUE(g.GameFrame());
    EXPECT_EQ(g.SichtX, 256);
    EXPECT_EQ(g.SichtY, 1216);

    // Events of the frame's pump are acted on in the same frame: the shot timer falls once
    // after the shot was evaluated, and a pending right click is used up.
    session.headless.Queue({K::MouseMove, 0, 420, 300});
    click(1, 420, 300);
    click(2, 100, 100);
    const uint64_t frames = session.headless.frames();
    ASSERT_TRUE(g.GameFrame());
    EXPECT_FLOAT_EQ(g.SchussTimer, 16 - 2 * g.Schritt);
    EXPECT_EQ(g.RechtsKlickX, -1);
    EXPECT_EQ(session.headless.frames(), frames + 1);  // one flip, at the end

    for (int n = 0; n < 20; ++n) {
        ASSERT_TRUE(g.GameFrame());
        // The figures stand where this frame's game time and this frame's view put them.
        EXPECT_EQ(g.ObjZeit[1], g.Spielzeit);
        EXPECT_EQ(g.ObjX[53], vorlanix::nearest(((6819 - g.SichtX) % 1920 - 640) * 1.35));
    }
    EXPECT_NE(g.SichtX, 256);  // the pointer off the centre has scrolled the view

    // The big Irone is moved before the death progress: a death animation that ends in this
    // frame schedules the next attack only in the next one.
    g.AngriffUhr = g.AngriffUhrVorher = 200;
    g.ObjTot[0] = 95.9f;
    ASSERT_TRUE(g.GameFrame());
    EXPECT_GT(g.ObjTot[0], 96);
    EXPECT_GT(g.AngriffUhr, 200);
    ASSERT_TRUE(g.GameFrame());
    EXPECT_EQ(g.ObjTot[0], 0);
    EXPECT_LT(g.AngriffUhr, -1500);

    // The frame that finds the time used up ends before anything moves or is drawn.
    g.Zeitversatz = 200000;
    const int32_t lastMove = g.ObjZeit[1];
    const uint64_t framesBefore = session.headless.frames();
    EXPECT_FALSE(g.GameFrame());
    EXPECT_GT(g.Spielzeit, lastMove);
    EXPECT_EQ(g.ObjZeit[1], lastMove);
    EXPECT_EQ(session.headless.frames(), framesBefore);
}

TEST_F(GameLoop, ASlowFrameMovesByFiftyMillisecondsWhileTheClockRunsOn) {
    session.headless.SetFrameMs(200);
    g.SetUpGame();
    ASSERT_TRUE(g.GameFrame());
    session.headless.Queue({K::MouseMove, 0, 420, 240});
    ASSERT_TRUE(g.GameFrame());
    for (int n = 0; n < 5; ++n) {
        const int32_t t = g.Spielzeit, scroll = g.ScrollX1024;
        const double clock = g.AngriffUhr;
        ASSERT_TRUE(g.GameFrame());
        EXPECT_EQ(g.Spielzeit - t, 201);  // one flip plus the pump inside the frame
        EXPECT_EQ(g.FrameDauer, 50);
        EXPECT_FLOAT_EQ(g.Schritt, 50 * 60 / 1024.0f);
        EXPECT_DOUBLE_EQ(g.AngriffUhr - clock, 2 * 50 * 60 / 1024.0);
        EXPECT_EQ(g.ScrollX1024 - scroll, 6152);  // 100 pixels off the centre: 100 x 2.93 x 21
        // The paths are functions of the game time and keep up with the real clock.
        EXPECT_EQ(g.ObjZeit[5], g.Spielzeit);
    }
}

TEST_F(GameLoop, PauseAndLostFocusTakeTheirTimeOutOfTheGameClock) {
    struct Case {
        const char* name;
        std::function<void(GameLoop&, uint32_t)> interrupt;  // starts at the given tick
    };
    const Case cases[] = {
        {"pause",
         [](GameLoop& f, uint32_t now) {
             f.session.headless.Queue({K::KeyDown, 80});
             f.at(now + 5000, [&f] { f.session.headless.Queue({K::KeyDown, 80}); });
         }},
        {"task switch",
         [](GameLoop& f, uint32_t now) {
             f.session.headless.Queue({K::FocusLost});
             f.session.headless.SetDisplayHeld(false);
             f.at(now + 5000, [&f] {
                 f.session.headless.SetDisplayHeld(true);
                 f.session.headless.Queue({K::FocusGained});
             });
         }},
        {"task switch during a pause",
         [](GameLoop& f, uint32_t now) {
             f.session.headless.Queue({K::KeyDown, 80});
             f.at(now + 1000, [&f] { f.session.headless.Queue({K::FocusLost}); });
             f.at(now + 3000, [&f] { f.session.headless.Queue({K::FocusGained}); });
             f.at(now + 5000, [&f] { f.session.headless.Queue({K::KeyDown, 80}); });
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g.SetUpGame();
        for (int n = 0; n < 10; ++n) ASSERT_TRUE(g.GameFrame());
        const int32_t before = g.Spielzeit;
        const uint32_t start = session.headless.GetTickCount();
        c.interrupt(*this, start);
        // A task switch holds the game inside the drawing of a frame, a pause at the start of
        // one; two frames cover both.
        ASSERT_TRUE(g.GameFrame());
        ASSERT_TRUE(g.GameFrame());
        EXPECT_GE(session.headless.GetTickCount() - start, 5000u);
        // Only the two frames count, never the interruption, and never less than nothing.
        EXPECT_GE(g.Spielzeit - before, 30);
        EXPECT_LE(g.Spielzeit - before, 60);
        EXPECT_EQ(g.ObjZeit[1], g.Spielzeit);
        schedule.clear();
    }
}

TEST_F(GameLoop, NothingMovesDuringAPauseButTheFramesAreDrawn) {
    g.SetUpGame();
    for (int n = 0; n < 10; ++n) ASSERT_TRUE(g.GameFrame());
    const float satellite = g.SatelitX;
    const int32_t path = g.ObjZeit[1];
    const uint64_t frames = session.headless.frames();
    bool moved = false;
    const uint32_t resume = session.headless.GetTickCount() + 2000;
    session.headless.Queue({K::KeyDown, 80});
    everyPump = [&] {
        if (g.Pause != vorlanix::False) moved = moved || g.SatelitX != satellite || g.ObjZeit[1] != path;
    };
    at(resume, [this] { session.headless.Queue({K::KeyDown, 80}); });
    ASSERT_TRUE(g.GameFrame());
    everyPump = nullptr;
    EXPECT_FALSE(moved);
    EXPECT_GT(session.headless.frames() - frames, 100u);
}

TEST_F(GameLoop, TheGameEndsWhenMoreThanTheGraceSecondIsUsedUp) {
    // Zeitversatz moves the end: time lost ends the game sooner, time won later.
    for (float lost : {0.0f, 2500.0f, -5000.0f}) {
        SCOPED_TRACE(lost);
        g.SetUpGame();
        ASSERT_TRUE(g.GameFrame());
        g.Zeitversatz = lost;
        // Skip ahead to a little before the end.
        g.SpielStartTick -= static_cast<int32_t>(100800 - lost);
        int32_t last = 0;
        while (g.GameFrame()) last = g.Spielzeit;
        EXPECT_LE(last + lost, 101000);
        EXPECT_GT(g.Spielzeit + lost, 101000);
        EXPECT_LT(g.Spielzeit - last, 20);
    }
}

TEST_F(GameLoop, APauseInTheGraceSecondStillPauses) {
    g.SetUpGame();
    ASSERT_TRUE(g.GameFrame());
    g.SpielStartTick -= 100500;
    ASSERT_TRUE(g.GameFrame());
    session.headless.Queue({K::KeyDown, 80});
    at(session.headless.GetTickCount() + 3000, [this] { session.headless.Queue({K::KeyDown, 80}); });
    ASSERT_TRUE(g.GameFrame());
    EXPECT_LT(g.Spielzeit, 101000);
}

TEST_F(GameLoop, ShotsInTheGraceSecondScoreNothing) {
    g.SetUpGame();
    ASSERT_TRUE(g.GameFrame());
    // Puts Raumtank i in the middle of the view and shoots at it.
    auto shootTank = [this](int i) {
        const int32_t y = vorlanix::nearest(g.ObjBasisY[i] + 14400000.0 - g.Spielzeit / 32);
        const int32_t sichtY = ((y - 630) % 1440 + 1440) % 1440;
        g.ScrollY1024 = ((sichtY - 1216 + 1440) % 1440) * 1024;
        ASSERT_TRUE(g.GameFrame());
        ASSERT_GT(g.ObjX[i], 34);
        ASSERT_LT(g.ObjX[i], 578);
        click(1, static_cast<float>(g.ObjX[i] + 14), static_cast<float>(g.ObjY[i] + 35));
        ASSERT_TRUE(g.GameFrame());
    };
    g.SpielStartTick -= 99000;
    shootTank(53);
    ASSERT_LT(g.Spielzeit, 100000);
    if (g.ObjTot[53] == 0) GTEST_SKIP() << "the shot evaluation is not part of this build yet";
    for (int n = 0; n < 10; ++n) ASSERT_TRUE(g.GameFrame());
    g.SpielStartTick -= 1500;
    shootTank(54);
    ASSERT_GT(g.Spielzeit, 100000);  // the frame that saw the shot
    EXPECT_EQ(g.ObjTot[54], 0);
}

TEST_F(GameLoop, TheViewStartsAt256And1216AndWrapsBothWays) {
    const struct {
        int32_t scrollX, scrollY, sichtX, sichtY;
    } cases[] = {
        {0, 0, 256, 1216},
        {-1023, -1023, 256, 1216},  // whole pixels truncate toward zero
        {-1024, -1024, 255, 1215},
        {-256 * 1024, -1216 * 1024, 0, 0},
        {-257 * 1024, -1217 * 1024, 1919, 1439},
        {1663 * 1024, 223 * 1024, 1919, 1439},
        {1664 * 1024, 224 * 1024, 0, 0},
    };
    g.SetUpGame();
    for (const auto& c : cases) {
        g.ScrollX1024 = c.scrollX;
        g.ScrollY1024 = c.scrollY;
        ASSERT_TRUE(g.GameFrame());
        EXPECT_EQ(g.SichtX, c.sichtX) << c.scrollX;
        EXPECT_EQ(g.SichtY, c.sichtY) << c.scrollY;
    }
}

TEST_F(GameLoop, ThePointerAndTheArrowKeysScroll) {
    g.SetUpGame();
    ASSERT_TRUE(g.GameFrame());
    const float step = 17 * 60 / 1024.0f;  // a 17 ms frame
    const struct {
        int x, y;
        std::vector<int16_t> keys;
        int32_t dx, dy;
    } cases[] = {
        {320, 240, {}, 0, 0},
        {330, 240, {}, vorlanix::nearest(10 * step * 21), 0},
        {320, 200, {}, 0, vorlanix::nearest(-40 * step * 24)},
        {320, 240, {37, 38}, -3060, -3060},  // left and up
        {320, 240, {37, 39}, 0, 0},          // opposite keys cancel
        {330, 240, {39}, vorlanix::nearest(10 * step * 21) + 3060, 0},
    };
    for (const auto& c : cases) {
        session.headless.Queue({K::MouseMove, 0, static_cast<float>(c.x), static_cast<float>(c.y)});
        for (int16_t key : c.keys) session.headless.Queue({K::KeyDown, key});
        const int32_t x = g.ScrollX1024, y = g.ScrollY1024;
        ASSERT_TRUE(g.GameFrame());
        ASSERT_FLOAT_EQ(g.Schritt, step);
        EXPECT_EQ(g.ScrollX1024 - x, c.dx) << c.x << "," << c.y;
        EXPECT_EQ(g.ScrollY1024 - y, c.dy) << c.x << "," << c.y;
        for (int16_t key : c.keys) session.headless.Queue({K::KeyUp, key});
    }
}

TEST_F(GameLoop, TheSwitchesFallBackTwoAndAHalfSecondsAfterTheLastHit) {
    g.SetUpGame();
    ASSERT_TRUE(g.GameFrame());
    for (float irone : {0.0f, 1.0f}) {
        SCOPED_TRACE(irone);
        g.Satelit2IroneTot[1] = irone;
        const int16_t hit = irone == 0 ? vorlanix::True : vorlanix::False;
        const int16_t rest = irone == 0 ? vorlanix::False : vorlanix::True;
        g.SchalterZeit = g.Spielzeit;
        for (int k = 1; k <= 3; ++k) g.Schalter[k] = hit;
        while (g.Spielzeit - g.SchalterZeit <= 2500) {
            EXPECT_EQ(g.Schalter[2], hit);
            ASSERT_TRUE(g.GameFrame());
        }
        for (int k = 1; k <= 3; ++k) EXPECT_EQ(g.Schalter[k], rest);
    }
}
