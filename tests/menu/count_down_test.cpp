// SPDX-License-Identifier: GPL-3.0-or-later
// The count-down after a game: the result each score gives, the ageing stage it ends on, how
// long the counting takes, and what the player may do meanwhile.
#include <gtest/gtest.h>

#include <cmath>

#include "app/vorlanix.h"
#include "platform/headless/headless_platform.h"

using platform::Surface;
using vorlanix::False;
using vorlanix::True;

namespace {

class CountDown : public ::testing::Test {
  protected:
    CountDown() : game(headless) {
        game.SurfBack = std::make_unique<Surface>(640, 480);
        // Result wheels whose every pixel tells the digit of its band.
        game.SurfErgebnisZahlen = std::make_unique<Surface>(220, 300);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 220; ++x) game.SurfErgebnisZahlen->row(y)[x] = static_cast<uint16_t>(1000 + y / 30);
        game.Modus = 2;
        game.AktMenue = 8;
        game.ErgebnisOffen = True;
        game.AlterStufeAnzeige = 100;
        game.PunktzahlAnzeige = -1;
    }

    // The six result digits on the screen, as "JJMMTT".
    std::string shownDigits() const {
        std::string s;
        for (int x : {215, 251, 298, 331, 379, 412}) s += std::to_string(game.SurfBack->row(131)[x] - 1000);
        return s;
    }

    platform::HeadlessPlatform headless;
    vorlanix::Vorlanix game;
};

}  // namespace

TEST_F(CountDown, ReferenceResults) {
    const struct {
        int32_t points, age;
        const char* shown;
        int32_t stage;
    } cases[] = {
        {1, 18457, "510307", 6},
        {100, 15007, "410807", 4},
        {1000, 12872, "350902", 3},
        {10000, 10407, "281027", 1},
        {99999, 7560, "210000", 0},
        {400000, 5638, "150728", 0},  // beyond the sheet's youngest face: it stays at stage 0
    };
    for (const auto& c : cases) {
        game.Punktzahl = c.points * 3632;
        const uint32_t start = headless.GetTickCount();
        game.EndeAnimation();
        EXPECT_EQ(game.Ergebnis, c.age * 3632) << c.points;
        EXPECT_EQ(game.Punktzahl, 0);
        EXPECT_EQ(shownDigits(), c.shown) << c.points;
        EXPECT_EQ(game.AlterStufeAnzeige, c.stage) << c.points;
        EXPECT_EQ(game.PunktzahlAnzeige, 0);  // the score counter ran down to 0
        // Counting A points takes the square root of 1632 x A milliseconds; the frame that gets
        // there still shows the last count (frames are 16 ms here).
        const double took = headless.GetTickCount() - start;
        EXPECT_GE(took, std::sqrt(1632.0 * c.points)) << c.points;
        EXPECT_LE(took, std::sqrt(1632.0 * c.points) + 2 * 16 + 1) << c.points;
    }
}

TEST_F(CountDown, NoPointsGiveEightyYearsAtOnce) {
    game.Punktzahl = 3631;  // less than one point
    game.EndeAnimation();
    EXPECT_EQ(game.Ergebnis, 28800 * 3632);
    EXPECT_EQ(headless.frames(), 0u);
    EXPECT_EQ(game.AlterStufeAnzeige, 100);
}

TEST_F(CountDown, ClicksWaitForTheResultKeysGoIntoTheName) {
    using K = platform::QueuedEvent::Kind;
    game.Punktzahl = 1000 * 3632;
    game.SpielerName = "Max";
    bool runningSeen = false;
    headless.SetPumpHook([&] { runningSeen = runningSeen || game.EndeAnimationLaeuft == True; });
    // JA and INFO of the result page, then a typed letter.
    headless.Queue({K::MouseUp, 1, 365, 305});
    headless.Queue({K::MouseUp, 1, 430, 110});
    headless.Queue({K::KeyPress, 'i'});
    game.EndeAnimation();
    EXPECT_TRUE(runningSeen);
    EXPECT_EQ(game.EndeAnimationLaeuft, False);
    EXPECT_EQ(game.AktMenue, 8);
    EXPECT_EQ(game.ErgebnisOffen, True);
    EXPECT_EQ(game.SpielerName, "Maxi");
}
