// SPDX-License-Identifier: GPL-3.0-or-later
// The destruction animations at the limits of their stages: explosions, dissolving tanks and
// Irones, the tumbling board Irones, the satellite Irones and the big Irone's fall.
#include <algorithm>

#include "tests/gfx/frame_fixture.h"

namespace frame_test {
namespace {

class DyingTest : public FrameTest {
  protected:
    void Clear() { game.SurfBack->BltColorFill(platform::Rect{0, 0, 640, 480}, 0); }
    bool Blank() const {
        const uint16_t* p = game.SurfBack->data();
        return std::all_of(p, p + 640 * 480, [](uint16_t v) { return v == 0; });
    }
    // An interference picture that is black all over: a dissolve past its threshold eats the
    // whole figure. Without one (the fixture's default) a dissolve shows the figure whole.
    void BlackInterference() {
        game.SurfStoerung = Solid(64, 640, 0);
        game.SurfStoerung->SetColorKey(0xFFFF);
    }
};

TEST_F(DyingTest, MoonsAndFragmentsExplodeForFortyEightStages) {
    game.SurfExplosion = Sheet(50, 800, 50, 50, 0x0100);
    const struct {
        int stage, cell;  // -1: nothing
    } cases[] = {{0, 0}, {2, 0}, {3, 1}, {47, 15}, {48, -1}};
    for (const auto& c : cases) {
        Clear();
        game.MondSterben(c.stage, 200, 200);
        EXPECT_EQ(At(175, 175), c.cell < 0 ? 0 : 0x0100 + 16 * c.cell) << "moon " << c.stage;
        Clear();
        game.MeteorSterben(c.stage, 200, 200);
        EXPECT_EQ(At(175, 175), c.cell < 0 ? 0 : 0x0100 + 16 * c.cell) << "fragment " << c.stage;
    }
}

TEST_F(DyingTest, ATankDissolvesUntilSixtyFourWithAnExplosionUntilThirtyTwo) {
    game.SurfRaumtank = Sheet(84, 70, 28, 70, 0x0200);
    game.SurfExplosion = Sheet(50, 800, 50, 50, 0x0300);
    game.ObjX[46] = 200;
    game.ObjY[46] = 150;
    game.ObjBild[46] = 2;
    const struct {
        float tot;
        bool tank;
        int explosionCell;  // -1: none
    } cases[] = {{1, true, 0}, {31, true, 15}, {32, true, -1}, {63, true, -1}, {64, false, -1}};
    for (const auto& c : cases) {
        game.ObjTot[46] = c.tot;
        game.Zeichne();
        EXPECT_EQ(At(200, 150), c.tank ? 0x0202 : 0) << c.tot;  // the tank's corner, left of the explosion
        EXPECT_EQ(At(200 - 11 + 49, 150 + 10 + 49), c.explosionCell < 0 ? 0 : 0x0300 + 16 * c.explosionCell) << c.tot;
    }
}

TEST_F(DyingTest, DissolvingStartsAfterEachAnimationsThreshold) {
    BlackInterference();
    game.SurfRaumtank = Sheet(84, 70, 28, 70, 0x0200);
    game.SurfBrett3 = Sheet(66, 360, 66, 10, 0x0400);
    game.SurfIrone3Salto = Sheet(48, 192, 24, 24, 0x0500);
    game.SurfIrone2Salto = Sheet(78, 312, 39, 39, 0x0600);
    game.ObjX[46] = 100;
    game.ObjY[46] = 150;
    // A small Irone hit just now, high on the screen, with its board below it.
    game.SichtX = game.SichtY = 0;
    game.ObjWeltX[31] = 940;  // screen x nearest(300 x 1.3) = 390
    game.ObjWeltY[31] = 600;  // screen y nearest(120 x 1.3) = 156
    game.ObjZeit[31] = game.Spielzeit;
    game.SatelitIroneX[3] = 450;
    game.SatelitIroneY[3] = 60;
    const struct {
        const char* what;
        float* progress;
        float stage;
        int probeX, probeY;
        bool eaten;
    } cases[] = {
        {"tank", &game.ObjTot[46], 0.4f, 100, 150, false},  // stage 0
        {"tank", &game.ObjTot[46], 1, 100, 150, true},
        {"board", &game.ObjTot[31], 24, 390 - 22, 156 + 12, false},
        {"board", &game.ObjTot[31], 25, 390 - 22, 156 + 12, true},
        // 5 x fall lifts the Irone by nearest(14.44) world pixels: y = nearest(106 x 1.3).
        {"tumbling Irone", &game.ObjTot[31], 32, 390, 138, false},
        {"tumbling Irone", &game.ObjTot[31], 33, 390, 138, true},
        {"satellite Irone", &game.SatelitIroneTot[3], 32, 450 + 64, 60 + 64 + 12, false},
        {"satellite Irone", &game.SatelitIroneTot[3], 33, 450 + 66, 60 + 66 + 13, true},
    };
    for (const auto& c : cases) {
        game.ObjTot[46] = game.ObjTot[31] = game.SatelitIroneTot[3] = 0;
        game.ObjX[31] = -1000;
        *c.progress = c.stage;
        game.Zeichne();
        EXPECT_EQ(At(c.probeX, c.probeY) != 0, !c.eaten) << c.what << " at stage " << c.stage;
    }
}

// Each dissolve reads its 64-row window of the interference strip from its own row R, and
// draws one random number for the grid and one per column of stamps: a replayed game depends on
// both. With the strip black in row R only, and the first column's stamps starting at the
// canvas's top edge, exactly the figure's top row is eaten.
TEST_F(DyingTest, EachDissolveStampsFromItsOwnStripRowAndDrawsItsRandomNumbers) {
    game.SurfRaumtank = Sheet(84, 70, 28, 70, 0x0200);
    game.SurfBrett3 = Sheet(66, 360, 66, 10, 0x0400);
    game.SurfIrone3Salto = Sheet(48, 192, 24, 24, 0x0500);
    game.SurfBrett1 = Sheet(150, 828, 150, 23, 0x0700);
    game.SurfIrone2Salto = Sheet(78, 312, 39, 39, 0x0600);
    game.SichtX = game.SichtY = 0;
    game.ObjX[46] = 100;
    game.ObjY[46] = 150;
    for (int n : {1, 31}) {
        game.ObjWeltX[n] = 940;  // a = 0: the board's corner is at nearest(300 p - ox), nearest(120 p + oy)
        game.ObjWeltY[n] = 600;
        game.ObjZeit[n] = game.Spielzeit;
    }
    game.SatelitIroneX[3] = 300;
    game.SatelitIroneY[3] = 60;
    // A seed whose second number (the first column's row start) is nearest(-24 r) = 0.
    uint32_t seed = 1;
    for (;; ++seed) {
        game.Randomize(seed);
        game.rnd();
        if (game.rnd() * 24 <= 0.5f) break;
    }
    const struct {
        const char* what;
        int32_t nr, typ;
        float stage;
        int32_t R, x, y;  // the strip row, the figure's corner on the screen
        int drawn;        // random numbers drawn; -1 when it depends on where the grid starts
    } cases[] = {
        {"tank", 46, 4, 1, 8, 100, 150, 3},
        {"small board", 31, 3, 28, 32, 368, 168, 4},               // 3 columns up to 130
        {"small tumbling Irone", 31, 3, 100, 408, 390, 138, 3},    // its board is gone: 2 columns up to 88
        {"large board", 1, 1, 28, 32, 371, 195, 5},                // 4 columns up to 214
        {"satellite Irone", 3, 0, 40, 48, 300 + 80, 60 + 99, -1},  // (2s, nearest(0.012 s^2 + 2s))
    };
    for (const auto& c : cases) {
        game.SurfStoerung = Solid(64, 640, 0xFFFF);
        game.SurfStoerung->SetColorKey(0xFFFF);
        game.SurfStoerung->BltColorFill(platform::Rect{0, c.R, 64, c.R + 1}, 0);
        Clear();
        game.Randomize(seed);
        if (c.typ == 0) {
            game.SatelitIroneTot[c.nr] = c.stage;
            game.Sterben_SatelitIrone(c.nr);
        } else {
            game.ObjTot[c.nr] = c.stage;
            game.Sterben_Brett(c.nr, c.typ);
        }
        EXPECT_EQ(At(c.x, c.y), 0) << c.what << ": top row eaten";
        EXPECT_NE(At(c.x, c.y + 1), 0) << c.what << ": second row whole";
        if (c.drawn < 0) continue;
        const float next = game.rnd();
        game.Randomize(seed);
        for (int k = 0; k < c.drawn; ++k) game.rnd();
        EXPECT_EQ(next, game.rnd()) << c.what << ": " << c.drawn << " random numbers";
    }
}

TEST_F(DyingTest, AShotIroneStartsFromWhereItStoodAndTumblesTheWayItFaced) {
    game.SurfBrett1 = Sheet(150, 828, 150, 23, 0x0700);
    game.SurfIrone1 = Sheet(52, 1512, 52, 42, 0x0800);
    game.SurfIrone1Salto = Sheet(108, 432, 54, 54, 0x0900);
    game.SichtX = 256;
    game.SichtY = 400;
    game.ObjWeltX[1] = 1000;
    game.ObjWeltY[1] = 1000;
    game.ObjX[1] = vorlanix::nearest((1000 - 256 - 640) * 1.4);  // 146
    game.ObjY[1] = vorlanix::nearest((1000 - 400 - 480) * 1.4);  // 168
    game.ObjZeit[1] = game.Spielzeit;
    for (int facing : {17, 18}) {
        game.ObjBild[1] = facing;
        game.ObjTot[1] = 0;
        game.Zeichne();
        const uint16_t board = At(146 - 49 + 149, 168 + 27);  // the board's right end, clear of the Irone
        ASSERT_EQ(board, 0x0700 + 16 * facing);
        game.ObjTot[1] = 1;
        game.Zeichne();
        EXPECT_EQ(At(146 - 49 + 149, 168 + 27), board) << facing;
        EXPECT_EQ(At(146 - 49 + 150, 168 + 27), 0) << facing;
        // The Irone jumps off, lifted by 14 world pixels, from column 0 or 1 of the tumble.
        EXPECT_EQ(At(146, vorlanix::nearest((1000 - 14 - 400 - 480) * 1.4)), 0x0900 + (facing >= 18 ? 1 : 0)) << facing;
    }
}

TEST_F(DyingTest, SatelliteIronesFlyOffInTheirOwnDirections) {
    game.SurfIrone2Salto = Sheet(78, 312, 39, 39, 0x0A00);
    const struct {
        int nr, dx, dy, column;
    } cases[] = {
        {1, 20, -19, 0},  // nearest(1.2 - 20)
        {2, -20, 21, 1},  // nearest(1.2 + 20)
        {3, 20, 21, 0},
    };
    for (const auto& c : cases) {
        game.SatelitIroneTot[c.nr] = 10;  // row (10 \ 4) mod 8 = 2
        game.SatelitIroneX[c.nr] = 200;
        game.SatelitIroneY[c.nr] = 200;
        Clear();
        game.Sterben_SatelitIrone(c.nr);
        EXPECT_EQ(At(200 + c.dx, 200 + c.dy), 0x0A00 + c.column + 16 * 2) << c.nr;
        EXPECT_EQ(At(200 + c.dx - 1, 200 + c.dy), 0) << c.nr;
        EXPECT_EQ(At(200 + c.dx, 200 + c.dy - 1), 0) << c.nr;
        game.SatelitIroneTot[c.nr] = 128;
        Clear();
        game.Sterben_SatelitIrone(c.nr);
        EXPECT_TRUE(Blank()) << c.nr;
    }
    // The second satellite's Irone flies like number 1 of the first.
    game.Satelit2IroneTot[1] = 10;
    game.Satelit2IroneX[1] = 300;
    game.Satelit2IroneY[1] = 300;
    Clear();
    game.Sterben_Satelit2Irone(1);
    EXPECT_EQ(At(320, 281), 0x0A00 + 16 * 2);
}

TEST_F(DyingTest, TheBigIroneFallsFromWhereItStoodAndIsGoneAfterNinetySix) {
    game.SurfIrone0 = Sheet(640, 640, 320, 320, 0x0B00);
    const struct {
        int stage, posY;
        bool inPlace, drawn;
    } cases[] = {
        {1, 200, true, true},      {10, 200, true, true},
        {12, 200, false, true},    // swaying by nearest(-0.6) and falling
        {96, -1300, false, true},  // by now it has fallen 1432 pixels
        {97, -1300, false, false},
    };
    for (const auto& c : cases) {
        Clear();
        game.SterbenGI(c.stage, 1, 300, c.posY, game.SurfIrone0);
        if (c.posY == 200) {
            const bool inPlace = At(140, 40) == 0x0B00 + 1 + 16 && At(139, 40) == 0 && At(140, 39) == 0;
            EXPECT_EQ(inPlace, c.inPlace) << c.stage;
        }
        EXPECT_EQ(!Blank(), c.drawn) << c.stage;
    }
    // The frame hands the dying big Irone over only while its attack clock is above 0.
    game.ObjX[0] = 300;
    game.ObjY[0] = 200;
    game.ObjBild[0] = 1;
    game.ObjTot[0] = 10;
    for (double uhr : {0.0, 0.5}) {
        game.AngriffUhr = uhr;
        game.Zeichne();
        EXPECT_EQ(At(140, 40), uhr > 0 ? 0x0B00 + 1 + 16 : 0) << uhr;
    }
}

}  // namespace
}  // namespace frame_test
