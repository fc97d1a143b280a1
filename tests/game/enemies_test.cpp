// SPDX-License-Identifier: GPL-3.0-or-later
// The Irones on boards and the Raumtanks: their paths and facings at known times, the Raumtanks'
// climb and wrap, death progress, and revival only out of sight.
#include <gtest/gtest.h>

#include "tests/support/world_at_start.h"

namespace {

constexpr float kBase = 16777216;  // 2^24, added to every base

using Enemies = testing_support::WorldAtStart;

}  // namespace

TEST_F(Enemies, BoardIronesFollowTheirLoopsAtKnownTimes) {
    const struct {
        int i;
        float baseX, baseY;
        int32_t vx, vy, t, sichtX, sichtY;
        int32_t x, y, facing, worldX, worldY;
    } cases[] = {
        {2, kBase + 1000, kBase + 500, 40, -20, 0, 256, 1216, 84, 28, 0, 16777916, 16777716},
        {2, kBase + 1000, kBase + 500, 40, -20, 5000, 256, 1216, 1085, -251, 24, 16778631, 16777517},
        {3, kBase + 1000, kBase + 500, 40, -20, 37777, 256, 1216, -371, 844, 11, 16779511, 16776859},
        {20, kBase + 2400, kBase + 1800, -75, 33, 12345, 256, 1216, 1192, 508, 9, 16778739, 16779512},
        {33, kBase + 3000, kBase + 100, 5, -49, 88888, 700, 300, 685, 858, 29, 16780747, 16773120},
        // No sideways speed at all: vx is 0 and the facing comes from -1.57075, step 17.
        {2, kBase + 1000, kBase + 500, 0, -20, 0, 256, 1216, 84, 28, 17, 16777916, 16777716},
    };
    for (const auto& c : cases) {
        g.ObjBasisX[c.i] = c.baseX;
        g.ObjBasisY[c.i] = c.baseY;
        g.ObjVX[c.i] = c.vx;
        g.ObjVY[c.i] = c.vy;
        g.ObjTot[c.i] = 0;
        g.Spielzeit = c.t;
        g.SichtX = c.sichtX;
        g.SichtY = c.sichtY;
        g.Feindposition(1);
        EXPECT_EQ(g.ObjX[c.i], c.x) << c.i << " at " << c.t;
        EXPECT_EQ(g.ObjY[c.i], c.y) << c.i << " at " << c.t;
        EXPECT_EQ(g.ObjBild[c.i], c.facing) << c.i << " at " << c.t;
        EXPECT_EQ(g.ObjWeltX[c.i], c.worldX) << c.i << " at " << c.t;
        EXPECT_EQ(g.ObjWeltY[c.i], c.worldY) << c.i << " at " << c.t;
        EXPECT_EQ(g.ObjZeit[c.i], c.t);
    }
}

TEST_F(Enemies, AFixedSeedReplaysTheSamePaths) {
    // Seed 7 and the headless clock: the set-up's random bases and speeds, and where two
    // figures stand two seconds into the game.
    testing_support::TestGame seeded(7);
    auto& s = seeded.game;
    s.SetUpGame();
    while (s.Spielzeit < 2000) ASSERT_TRUE(s.GameFrame());
    EXPECT_EQ(s.Spielzeit, 2006);
    EXPECT_EQ(s.ObjBasisX[4], kBase + 3002);
    EXPECT_EQ(s.ObjBasisY[4], kBase + 1728);
    EXPECT_EQ(s.ObjVX[4], -63);
    EXPECT_EQ(s.ObjVY[4], 4);
    EXPECT_EQ(s.ObjX[4], 426);
    EXPECT_EQ(s.ObjY[4], -49);
    EXPECT_EQ(s.ObjBild[4], 8);
    EXPECT_EQ(s.ObjX[31], 1210);
    EXPECT_EQ(s.ObjY[31], 1243);
    EXPECT_EQ(s.ObjBild[31], 28);
}

TEST_F(Enemies, RaumtanksRiseOnePixelEvery32MsAndWrapAtTheTopOfTheWorld) {
    const struct {
        int32_t t, y;
    } cases[] = {
        {0, -259},     {31, -259},   {32, -261},   {64, -262},
        {50000, -424}, {9216, -648}, {9248, 1295},  // risen past the top of the world: back at the bottom
    };
    g.ObjBasisY[53] = kBase + 2 * 144;  // the eighth Raumtank starts 288 pixels down
    for (const auto& c : cases) {
        g.Spielzeit = c.t;
        g.Feindposition(1);
        EXPECT_EQ(g.ObjX[53], 220) << c.t;
        EXPECT_EQ(g.ObjY[53], c.y) << c.t;
    }
}

TEST_F(Enemies, AShotIroneFallsTheWayItFacedThenFollowsItsPathUnseen) {
    g.ObjTot[2] = 1;
    g.ObjBild[2] = 9;  // facing right
    g.ObjZeit[2] = 1000;
    g.ObjWeltX[2] = 16777916;
    g.ObjWeltY[2] = 16777716;
    g.Spielzeit = 3000;
    g.Feindposition(1);
    // 2 s at 0.2 pixels per ms sideways, hardly any fall.
    EXPECT_EQ(g.ObjX[2], vorlanix::nearest((1100 - 640) * 1.4));
    EXPECT_EQ(g.ObjY[2], vorlanix::nearest((500 - 480) * 1.4));
    EXPECT_EQ(g.ObjZeit[2], 1000);
    EXPECT_EQ(g.ObjBild[2], 9);

    g.ObjTot[2] = 201;
    g.Feindposition(1);
    EXPECT_EQ(g.ObjZeit[2], 3000);
}

TEST_F(Enemies, AShotIroneRevivesOnlyWhollyOutOfTheWindow) {
    // Figure 2 with no drift stands at world (956, 1716) minus 2^24 at t = 0; the view decides
    // where it is on the screen.
    g.ObjBasisX[2] = kBase + 1000;
    g.ObjBasisY[2] = kBase + 500;
    g.ObjVX[2] = g.ObjVY[2] = 0;
    g.Spielzeit = 0;
    const struct {
        int32_t sichtX, sichtY, x, y;
        bool revives;
    } cases[] = {
        {256, 1216, 84, 28, false},   {1772, 1216, 650, 28, false}, {1771, 1216, 651, 28, true},
        {423, 1216, -150, 28, false}, {424, 1216, -151, 28, true},  {256, 1286, 84, -70, false},
        {256, 1287, 84, -71, true},   {256, 879, 84, 500, false},   {256, 878, 84, 501, true},
    };
    for (const auto& c : cases) {
        g.SichtX = c.sichtX;
        g.SichtY = c.sichtY;
        g.ObjTot[2] = 500.5f;
        g.Feindposition(1);
        EXPECT_EQ(g.ObjX[2], c.x);
        EXPECT_EQ(g.ObjY[2], c.y);
        EXPECT_EQ(g.ObjTot[2] == 0, c.revives) << c.x << "," << c.y;
    }
    // Out of sight but not yet dead long enough.
    g.ObjTot[2] = 499;
    g.Feindposition(1);
    EXPECT_GT(g.ObjTot[2], 499);

    // A figure that stays on the screen stays dead however long it waits.
    g.SichtX = 256;
    g.SichtY = 1216;
    g.ObjTot[2] = 1;
    for (int n = 0; n < 5000; ++n) g.Feindposition(1);
    EXPECT_GT(g.ObjTot[2], 3000);
}

TEST_F(Enemies, RaumtanksAndTheSecondSatellitesIroneNeverRevive) {
    g.ObjTot[46] = 600;  // off the screen at this time and view
    g.Satelit2IroneTot[1] = 5000;
    g.SatelitX = g.Satelit2X = -1000;
    g.Feindposition(1);
    EXPECT_GT(g.ObjX[46], 650);
    EXPECT_FLOAT_EQ(g.ObjTot[46], 600.7f);
    EXPECT_FLOAT_EQ(g.Satelit2IroneTot[1], 5000.7f);
}

TEST_F(Enemies, TheFirstSatellitesIronesReviveWhileItIsOffTheScreenAndNotGone) {
    const struct {
        float x, y;
        int16_t gone;
        float tot;
        bool revives;
    } cases[] = {
        {100, 100, 0, 1500.5f, false},   {-151, 100, 0, 1500.5f, true}, {651, 100, 0, 1500.5f, true},
        {100, -171, 0, 1500.5f, true},   {100, 501, 0, 1500.5f, true},  {100, -170, 0, 1500.5f, false},
        {-151, 100, -1, 1500.5f, false}, {-151, 100, 0, 1499, false},
    };
    for (const auto& c : cases) {
        g.SatelitX = c.x;
        g.SatelitY = c.y;
        g.SatelitWeg = c.gone;
        for (int k = 1; k <= 3; ++k) g.SatelitIroneTot[k] = c.tot;
        g.Feindposition(1);
        for (int k = 1; k <= 3; ++k)
            EXPECT_EQ(g.SatelitIroneTot[k] == 0, c.revives) << c.x << "," << c.y << " gone " << c.gone;
    }
}
