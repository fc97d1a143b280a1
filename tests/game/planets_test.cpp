// SPDX-License-Identifier: GPL-3.0-or-later
// Planets, the companions on their tilted orbits, the fragments of shot moons, the satellites,
// and the angle tables they all read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/support/world_at_start.h"

namespace {

class Planets : public testing_support::WorldAtStart {
  protected:
    Planets() {
        g.SetUpPlanets();
        g.Spielzeit = 0;
    }
};

}  // namespace

TEST_F(Planets, TheAngleTablesUseTheGamesOwnPi) {
    const struct {
        int k;
        int32_t cos1024, sin1024;
    } cases[] = {
        {0, 1024, 0},    {256, 0, 1024},   {512, -1024, 0},
        {768, 0, -1024}, {1023, 1024, -6}, {129, 720, 728},  // 729 with the exact pi
        {157, 585, 841},                                     // 584 with the exact pi
    };
    for (const auto& c : cases) {
        EXPECT_EQ(g.CosTab1024[c.k], c.cos1024) << c.k;
        EXPECT_EQ(g.SinTab1024[c.k], c.sin1024) << c.k;
        EXPECT_FLOAT_EQ(g.CosTab[c.k], static_cast<float>(std::cos(2 * c.k * 3.1415 / 1024))) << c.k;
    }
    EXPECT_GT(g.CosTab[256], 0);  // a quarter turn of 3.1415 falls just short of the axis
}

TEST_F(Planets, TheWorldIsLaidOutAsEveryGameStarts) {
    const int32_t x[6] = {0, 320, 640, 960, 1280, 1600}, y[6] = {1200, 240, 960, 630, 1200, 720};
    const float castle[6] = {0, 0, 100, 0, 100, 0};
    const int32_t companion[6] = {0, 0, 3, 0, 2, 0};
    for (int i = 0; i <= 5; ++i) {
        EXPECT_EQ(g.PlanetX[i], x[i]);
        EXPECT_EQ(g.PlanetY[i], y[i]);
        if (i == 0) continue;
        EXPECT_EQ(g.BurgTot[i], castle[i]);
        for (int j = 1; j <= 3; ++j) EXPECT_EQ(g.MondArt[i][j], companion[i]);
    }
    int32_t lowest = 0, highest = 0;
    for (int i = 1; i <= 5; ++i)
        for (int j = 1; j <= 3; ++j)
            for (int k = 1; k <= 3; ++k)
                for (int32_t v : {g.SplitterVX[i][j][k], g.SplitterVY[i][j][k]}) {
                    lowest = std::min(lowest, v);
                    highest = std::max(highest, v);
                }
    EXPECT_GE(lowest, -5000);
    EXPECT_LE(highest, 5000);
    EXPECT_LT(lowest, -4000);
    EXPECT_GT(highest, 4000);

    g.ChooseSatellitePath();
    EXPECT_GE(g.SatelitStartX, 1920);
    EXPECT_LE(g.SatelitStartX, 3840);
    EXPECT_GE(g.SatelitStartY, 1440);
    EXPECT_LE(g.SatelitStartY, 2880);
}

TEST_F(Planets, PlanetsAndOrbitsAtTheStartOfAGame) {
    g.PlanetenPositionen(1);
    const int32_t sx[6] = {1229, -691, -307, 77, 461, 845}, sy[6] = {1133, -19, 845, 449, 1133, 557};
    for (int i = 0; i <= 5; ++i) {
        EXPECT_EQ(g.PlanetSchirmX[i], sx[i]);
        EXPECT_EQ(g.PlanetSchirmY[i], sy[i]);
    }
    // Phases 2, 5 and 7 at t = 0, tilts 341, 683 and 0 (orbit 3 lies flat).
    const int32_t dx[4] = {0, -60, -59, 119}, dy[4] = {0, 103, -104, 0};
    for (int j = 1; j <= 3; ++j) {
        EXPECT_EQ(g.OrbitDX[j], dx[j]) << j;
        EXPECT_EQ(g.OrbitDY[j], dy[j]) << j;
        EXPECT_EQ(g.MondGroesse[j], 45) << j;
        for (int i = 1; i <= 5; ++i) EXPECT_EQ(g.MondHinten[i][j], vorlanix::True);
    }
    EXPECT_FLOAT_EQ(g.MondTiefe[1], 1.1993266f);
    EXPECT_EQ(g.MondX[1][1], 260);
    EXPECT_EQ(g.MondY[1][1], 343);
    EXPECT_EQ(g.MondSchirmX[1][1], -763);
    EXPECT_EQ(g.MondSchirmY[1][1], 104);
}

TEST_F(Planets, TheFarHalfOfEachOrbitIsBehindThePlanetAndSmaller) {
    // One full turn of the slowest orbit: 1024 x 128 / 7 ms.
    int32_t smallest = 99, largest = 0, largestBehind = 0, smallestInFront = 99;
    for (int32_t t = 0; t < 18725; t += 5) {
        g.Spielzeit = t;
        g.PlanetenPositionen(1);
        for (int j = 1; j <= 3; ++j) {
            const bool behind = g.MondHinten[2][j] != 0;
            EXPECT_EQ(behind, g.MondTiefe[j] < 1.2f) << t;
            smallest = std::min(smallest, g.MondGroesse[j]);
            largest = std::max(largest, g.MondGroesse[j]);
            if (behind)
                largestBehind = std::max(largestBehind, g.MondGroesse[j]);
            else
                smallestInFront = std::min(smallestInFront, g.MondGroesse[j]);
            EXPECT_GE(g.MondTiefe[j], 1.2f - 23552 / 444032.0f);
            EXPECT_LE(g.MondTiefe[j], 1.2f + 23552 / 444032.0f);
        }
    }
    EXPECT_EQ(smallest, 40);
    EXPECT_EQ(largest, 50);
    EXPECT_LE(largestBehind, smallestInFront);
}

TEST_F(Planets, AShotCompanionRidesItsOrbitUntil65ThenStaysAndKeepsItsSide) {
    g.Spielzeit = 1000;
    g.PlanetenPositionen(1);
    const int16_t side = g.MondHinten[3][2];
    g.MondTot[3][2] = 64.5f;
    g.Spielzeit = 9000;  // the orbit has turned a long way
    g.PlanetenPositionen(1);
    EXPECT_FLOAT_EQ(g.MondTot[3][2], 65.2f);
    EXPECT_EQ(g.MondX[3][2], 960 + g.OrbitDX[2]);
    EXPECT_EQ(g.MondHinten[3][2], side);
    const int32_t x = g.MondX[3][2], y = g.MondY[3][2];
    g.Spielzeit = 5000;
    g.PlanetenPositionen(1);
    EXPECT_EQ(g.MondX[3][2], x);
    EXPECT_EQ(g.MondY[3][2], y);
    EXPECT_NE(g.MondX[3][2], 960 + g.OrbitDX[2]);
}

TEST_F(Planets, FragmentsFlyApartAndWrapWithTheWorld) {
    g.MondTot[4][2] = 1;
    auto fragment = [this](int k, int32_t startX, int32_t startY, int32_t vx, int32_t vy) {
        g.SplitterStartX[4][2][k] = startX;
        g.SplitterStartY[4][2][k] = startY;
        g.SplitterVX[4][2][k] = vx;
        g.SplitterVY[4][2][k] = vy;
        g.SplitterZeit[4][2][k] = 5000;
    };
    fragment(1, 1000, 700, 4999, -5000);  // the fastest: 50 pixels a second
    fragment(2, 1910, 10, 4999, -5000);   // runs past the world's right and top edges
    fragment(3, 40, 1400, 0, 0);          // where fragment 2 is on the wrapped world
    g.SplitterTot[4][2][1] = 3;
    g.Spielzeit = 6000;
    g.PlanetenPositionen(1);
    EXPECT_EQ(g.SplitterX[4][2][1], 1050);
    EXPECT_EQ(g.SplitterY[4][2][1], 650);
    EXPECT_EQ(g.SplitterX[4][2][2], 1960);
    EXPECT_EQ(g.SplitterY[4][2][2], -40);
    EXPECT_EQ(g.SplitterSchirmX[4][2][2], g.SplitterSchirmX[4][2][3]);
    EXPECT_EQ(g.SplitterSchirmY[4][2][2], g.SplitterSchirmY[4][2][3]);
    // Only a shot fragment dies on; the rest fly unharmed.
    EXPECT_FLOAT_EQ(g.SplitterTot[4][2][1], 3.7f);
    EXPECT_EQ(g.SplitterTot[4][2][2], 0);
    EXPECT_FLOAT_EQ(g.MondTot[4][2], 1.7f);
}

TEST_F(Planets, TheSatellitesDriftRaceOffWhenDestroyedAndAreGone) {
    g.SatelitStartX = 2000;
    g.SatelitStartY = 1500;
    g.Spielzeit = 3200;
    g.PlanetenPositionen(1);
    EXPECT_FLOAT_EQ(g.SatelitX, 1685.6f);
    EXPECT_FLOAT_EQ(g.SatelitY, -134.4f);
    const int32_t ironeX[4] = {0, 1732, 1754, 1786}, ironeY[4] = {0, -144, -76, -49};
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(g.SatelitIroneX[k], ironeX[k]);
        EXPECT_EQ(g.SatelitIroneY[k], ironeY[k]);
    }

    // Destroyed at 3200: thirteen times as fast, and gone once more than 3 s have passed.
    g.SatelitZerstoert = vorlanix::True;
    g.SatelitZerstoertZeit = 3200;
    g.Spielzeit = 4800;
    g.PlanetenPositionen(1);
    EXPECT_FLOAT_EQ(g.SatelitX, -92.4f);
    EXPECT_FLOAT_EQ(g.SatelitY, 775.6f);
    g.Spielzeit = 6200;
    g.PlanetenPositionen(1);
    EXPECT_EQ(g.SatelitWeg, 0);
    g.Spielzeit = 6201;
    g.PlanetenPositionen(1);
    EXPECT_EQ(g.SatelitWeg, vorlanix::True);

    // The second starts at the world's corner and drifts down and to the left.
    g.SichtX = g.SichtY = 0;
    g.Spielzeit = 0;
    g.PlanetenPositionen(1);
    EXPECT_FLOAT_EQ(g.Satelit2X, -896);
    EXPECT_FLOAT_EQ(g.Satelit2Y, -672);
    g.SichtX = 256;
    g.SichtY = 1216;
    g.Spielzeit = 6400;
    g.PlanetenPositionen(1);
    EXPECT_FLOAT_EQ(g.Satelit2X, 1153.6f);
    EXPECT_FLOAT_EQ(g.Satelit2Y, -78.4f);
    EXPECT_EQ(g.Satelit2IroneX[1], 1202);
    EXPECT_EQ(g.Satelit2IroneY[1], -78);

    // Once gone it is no longer moved.
    g.Satelit2Zerstoert = vorlanix::True;
    g.Satelit2ZerstoertZeit = 4000;
    g.PlanetenPositionen(1);
    EXPECT_FLOAT_EQ(g.Satelit2X, -106.4f);
    EXPECT_FLOAT_EQ(g.Satelit2Y, 1181.6f);
    g.Spielzeit = 7001;
    g.PlanetenPositionen(1);
    EXPECT_EQ(g.Satelit2Weg, vorlanix::True);
    const float x = g.Satelit2X, y = g.Satelit2Y;
    g.Spielzeit = 20000;
    g.PlanetenPositionen(1);
    EXPECT_EQ(g.Satelit2X, x);
    EXPECT_EQ(g.Satelit2Y, y);
}

TEST_F(Planets, TheBigExplosionMovesWithTheViewAndEndsAt46) {
    g.ExplosionX = 700;
    g.ExplosionY = 900;
    g.ExplosionZeit = 45.5f;
    g.PlanetenPositionen(1);
    EXPECT_EQ(g.ExplosionSchirmX, vorlanix::nearest((444 - 640) * 1.2));
    EXPECT_EQ(g.ExplosionSchirmY, vorlanix::nearest((1124 - 480) * 1.2));
    EXPECT_EQ(g.ExplosionZeit, 0);           // 45.5 + 0.7 passed 46: over
    EXPECT_FLOAT_EQ(g.BurgBlitz[1], -0.7f);  // the flashes keep falling below 0
}
