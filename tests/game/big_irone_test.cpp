// SPDX-License-Identifier: GPL-3.0-or-later
// The big Irone's schedule through real game frames: the wait, the flight in, the parking that
// eats game time, the alarm, its death and the next attack.
#include <gtest/gtest.h>

#include "tests/support/test_game.h"

using testing_support::TestGame;

namespace {

// Clock units per ms of game time: two steps of 60/1024 each.
constexpr double kClockPerMs = 2 * 60 / 1024.0;

}  // namespace

TEST(BigIrone, FliesInParksEatsTimeSoundsTheAlarmAndComesBackAfterItsDeath) {
    for (uint32_t seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        TestGame session(seed, /*sound=*/true);
        auto& g = session.game;
        g.SetUpGame();

        // The first frame schedules the first attack.
        ASSERT_TRUE(g.GameFrame());
        const int32_t scheduled = g.Spielzeit;
        const double wait = g.AngriffUhr;
        EXPECT_GE(wait, -3000);
        EXPECT_LE(wait, -1500);
        EXPECT_EQ(g.ObjTot[0], 0);

        while (!(g.AngriffUhr > 0)) ASSERT_TRUE(g.GameFrame());
        EXPECT_NEAR(g.Spielzeit - scheduled, -wait / kClockPerMs, 17);
        EXPECT_GE(g.Spielzeit, 12800);
        EXPECT_LE(g.Spielzeit, 25600 + 100);
        EXPECT_EQ(g.Zeitversatz, 0);

        // It comes from 350 pixels below the parking point, diagonally from its side.
        const int32_t x0 = g.ObjX[0], y0 = g.ObjY[0];
        size_t log = session.headless.soundLog().size();
        while (g.AngriffUhr <= 50) {
            EXPECT_EQ(session.SoundsSince(log), "");
            ASSERT_TRUE(g.GameFrame());
        }
        EXPECT_EQ(session.SoundsSince(log), "4:play");
        const int32_t parkX = g.ObjX[0], parkY = g.ObjY[0];
        EXPECT_GE(y0 - parkY, 336);
        EXPECT_LE(y0 - parkY, 350);
        EXPECT_EQ(std::abs(x0 - parkX), y0 - parkY);
        EXPECT_EQ(x0 > parkX, g.ObjBild[0] == 1);  // side 1 comes from the right
        EXPECT_GE(parkX, 200);
        EXPECT_LE(parkX, 440);
        EXPECT_GE(parkY, 200);
        EXPECT_LE(parkY, 280);

        // Parked and alive it eats about six seconds of game time per second.
        const float eaten = g.Zeitversatz;
        const int32_t parkedAt = g.Spielzeit;
        log = session.headless.soundLog().size();
        while (g.AngriffUhr <= 100) {
            EXPECT_EQ(g.AlarmLaeuft, 0);
            ASSERT_TRUE(g.GameFrame());
            EXPECT_EQ(g.ObjX[0], parkX);
            EXPECT_EQ(g.ObjY[0], parkY);
        }
        EXPECT_NEAR((g.Zeitversatz - eaten) / (g.Spielzeit - parkedAt), 100 * 60 / 1024.0, 0.01);
        EXPECT_EQ(g.AlarmLaeuft, vorlanix::True);
        EXPECT_EQ(session.SoundsSince(log), "8:play 8:loop");

        // Killed: the eating stops in the very frame it dies.
        for (int n = 0; n < 30; ++n) ASSERT_TRUE(g.GameFrame());
        g.ObjTot[0] = 1;
        const float atDeath = g.Zeitversatz;
        const int32_t diedAt = g.Spielzeit;
        ASSERT_TRUE(g.GameFrame());
        EXPECT_EQ(g.Zeitversatz, atDeath);

        // The death animation runs to 96, then the next attack is scheduled as the first was.
        while (g.ObjTot[0] != 0) ASSERT_TRUE(g.GameFrame());
        EXPECT_NEAR(g.Spielzeit - diedAt, 95 / (0.7 * 60 / 1024.0), 40);
        EXPECT_GE(g.AngriffUhr, -3000);
        EXPECT_LE(g.AngriffUhr, -1500);
        EXPECT_EQ(g.Zeitversatz, atDeath);
    }
}

TEST(BigIrone, ShotWhileFlyingInItEatsNothingAndNeverSoundsTheAlarm) {
    TestGame session(6, /*sound=*/true);
    auto& g = session.game;
    g.SetUpGame();
    ASSERT_TRUE(g.GameFrame());
    while (!(g.AngriffUhr > 20)) ASSERT_TRUE(g.GameFrame());
    g.ObjTot[0] = 1;
    const size_t log = session.headless.soundLog().size();
    while (g.ObjTot[0] != 0) ASSERT_TRUE(g.GameFrame());
    EXPECT_EQ(g.Zeitversatz, 0);
    EXPECT_EQ(g.AlarmLaeuft, 0);
    EXPECT_EQ(session.SoundsSince(log).find("8:"), std::string::npos);
}
