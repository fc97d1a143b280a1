// SPDX-License-Identifier: GPL-3.0-or-later
// Boxes open at their near edge, and pixel tests on the very cell a figure is drawn with: a
// black pixel inside a box passes the shot on to what lies behind.
#include <functional>

#include "app/errors.h"
#include "tests/game/shot_fixture.h"

namespace shot_tests {
namespace {

using G = vorlanix::Vorlanix;

TEST(HitBoxes, NearEdgesAreOutsideFarEdgesTooAndEverythingBetweenIsInside) {
    struct Case {
        const char* what;
        std::function<void(G&)> place;  // a figure whose box starts at (100, 100)
        std::function<bool(G&)> taken;
        int w, h;  // the box: offsets 1..w-1 and 1..h-1 are inside
    };
    const Case cases[] = {
        {"Raumtank", [](G& g) { g.ObjX[47] = 100, g.ObjY[47] = 100; }, [](G& g) { return g.ObjTot[47] != 0; }, 28, 70},
        {"Irone on the first satellite", [](G& g) { g.SatelitIroneX[3] = 100, g.SatelitIroneY[3] = 100; },
         [](G& g) { return g.SatelitIroneTot[3] != 0; }, 31, 34},
        {"big Irone",
         [](G& g) {
             g.AngriffUhr = 10;
             g.ObjX[0] = 260, g.ObjY[0] = 260;
         },
         [](G& g) { return g.ObjTot[0] != 0; }, 320, 320},
        {"small Irone's body (without its board, which lies below it)",
         [](G& g) {
             g.ObjX[31] = 100, g.ObjY[31] = 100;
             g.SurfBrett3.reset();
         },
         [](G& g) { return g.ObjTot[31] != 0; }, 23, 18},
        {"moon", [](G& g) { g.MondSchirmX[1][2] = 118, g.MondSchirmY[1][2] = 118; },
         [](G& g) { return g.MondTot[1][2] != 0; }, 35, 35},
        {"fragment",
         [](G& g) {
             g.MondTot[3][1] = 100;
             g.SplitterSchirmX[3][1][3] = 113, g.SplitterSchirmY[3][1][3] = 113;
         },
         [](G& g) { return g.SplitterTot[3][1][3] != 0; }, 25, 25},
        {"first satellite",
         [](G& g) {
             g.Endphase = True;
             for (int k = 1; k <= 3; ++k) g.SatelitIroneTot[k] = 1;
             g.SatelitX = 100, g.SatelitY = 100;
         },
         [](G& g) { return g.SatelitZerstoert != 0; }, 120, 100},
        {"second satellite",
         [](G& g) {
             g.Satelit2IroneTot[1] = 1;
             g.Satelit2X = 100, g.Satelit2Y = 100;
         },
         [](G& g) { return g.Satelit2Zerstoert != 0; }, 100, 120},
    };
    for (const Case& c : cases) {
        const struct {
            int dx, dy;
            bool inside;
        } shots[] = {
            {1, 1, true},          {c.w - 1, c.h - 1, true}, {0, c.h / 2, false},
            {c.w, c.h / 2, false}, {c.w / 2, 0, false},      {c.w / 2, c.h, false},
        };
        for (const auto& s : shots) {
            ShotWorld w;
            c.place(w.game);
            w.Shoot(100 + s.dx, 100 + s.dy);
            EXPECT_EQ(c.taken(w.game), s.inside) << c.what << " at (" << s.dx << ", " << s.dy << ")";
        }
    }
}

TEST(HitBoxes, ASwitchIsHitWithin14PixelsOfItsLamp) {
    for (const auto& [d, hit] : {std::pair{14.0f, true}, {-14.0f, true}, {15.0f, false}, {-15.0f, false}}) {
        ShotWorld w;
        w.game.Satelit2X = 100;
        w.game.Satelit2Y = 100;
        w.Shoot(100 + 27 + 5 + d, 100 + 5);  // switch 1's lamp is at (27, 0), 10 x 10
        EXPECT_EQ(w.game.Schalter[1] != 0, hit) << d;
        ShotWorld v;
        v.game.Satelit2X = 100;
        v.game.Satelit2Y = 100;
        v.Shoot(100 + 32, 100 + 5 + d);
        EXPECT_EQ(v.game.Schalter[1] != 0, hit) << d;
    }
}

// An Irone on the big board at facing 3 stands in front of planet 1; the shot falls 10 pixels
// into its body, so the test reads (10, 10 + 3 x 42) of its picture and the points 2 pixels
// around that.
TEST(PixelTests, ABlackPixelInsideTheBoxPassesTheShotOnToThePlanetBehind) {
    constexpr int f = 3, top = 3 * 42;
    struct Case {
        const char* what;
        std::function<void(G&)> paint;
        bool ironeTakesIt;
    };
    const auto blackenFourPoints = [](G& g) {
        for (auto [x, y] : {std::pair{8, 10}, {10, 8}, {12, 10}, {10, 12}}) PixelOf(g.SurfIrone1, x, top + y) = 0;
    };
    const Case cases[] = {
        {"solid", [](G&) {}, true},
        {"only the point itself is solid", blackenFourPoints, false},
        {"left point solid",
         [&](G& g) {
             blackenFourPoints(g);
             PixelOf(g.SurfIrone1, 8, top + 10) = kSolid;
         },
         true},
        {"point above solid",
         [&](G& g) {
             blackenFourPoints(g);
             PixelOf(g.SurfIrone1, 10, top + 8) = kSolid;
         },
         true},
        {"right point solid",
         [&](G& g) {
             blackenFourPoints(g);
             PixelOf(g.SurfIrone1, 12, top + 10) = kSolid;
         },
         true},
        {"point below solid",
         [&](G& g) {
             blackenFourPoints(g);
             PixelOf(g.SurfIrone1, 10, top + 12) = kSolid;
         },
         true},
        {"its facing's cell black, the neighbouring cells solid",
         [](G& g) {
             g.SurfIrone1->BltColorFill(platform::Rect{0, top, 52, top + 42}, 0);
         },
         false},
    };
    for (const Case& c : cases) {
        ShotWorld w;
        w.game.ObjX[1] = 290;
        w.game.ObjY[1] = 190;
        w.game.ObjBild[1] = f;
        w.game.PlanetSchirmX[1] = 300;
        w.game.PlanetSchirmY[1] = 200;
        c.paint(w.game);
        w.Shoot(300, 200);
        EXPECT_EQ(w.game.ObjTot[1] != 0, c.ironeTakesIt) << c.what;
        EXPECT_EQ(PixelOf(w.game.SurfStern1, 100, 100) == 0, !c.ironeTakesIt) << c.what;
    }
}

TEST(PixelTests, PointsOutsideTheFiguresCellCountAsEmpty) {
    // One pixel into the body at facing 1: the point above lies in facing 0's cell and the point
    // to the left outside the picture; neither is part of the figure on the screen.
    ShotWorld w;
    w.game.ObjX[1] = 200;
    w.game.ObjY[1] = 200;
    w.game.ObjBild[1] = 1;
    PixelOf(w.game.SurfIrone1, 3, 42 + 1) = 0;
    PixelOf(w.game.SurfIrone1, 1, 42 + 3) = 0;
    w.Shoot(201, 201);
    EXPECT_EQ(w.game.ObjTot[1], 0);
}

TEST(PixelTests, TheBoardTakesAShotTheBodyMissesAndThrowsItsRiderOff) {
    for (const bool blackBoard : {false, true}) {
        ShotWorld w;
        w.game.ObjX[20] = 200;  // a middle Irone, facing 35: its board lies at (165, 219), 108 x 17
        w.game.ObjY[20] = 200;
        w.game.ObjBild[20] = 35;
        if (blackBoard) w.game.SurfBrett2->BltColorFill(platform::Rect{0, 35 * 17, 108, 36 * 17}, 0);
        w.Shoot(170, 225);
        EXPECT_EQ(w.game.ObjTot[20] != 0, !blackBoard);
        EXPECT_EQ(w.Points(), blackBoard ? 0 : 10);
    }
}

TEST(PixelTests, TheBigIroneIsOnePointOfItsSidesCell) {
    struct Case {
        int side;
        bool blackLeftCell, blackPoint, blackNeighbours;
        bool hit;
    };
    const Case cases[] = {
        {0, false, false, false, true}, {0, true, false, false, false}, {1, true, false, false, true},
        {1, false, true, false, false}, {1, false, false, true, true},
    };
    for (const Case& c : cases) {
        ShotWorld w;
        w.game.AngriffUhr = 70;
        w.game.ObjX[0] = 320;
        w.game.ObjY[0] = 240;
        w.game.ObjBild[0] = c.side;
        // The shot at (330, 250) is the point (170, 170) of the cell.
        if (c.blackLeftCell) w.game.SurfIrone0->BltColorFill(platform::Rect{0, 0, 320, 320}, 0);
        if (c.blackPoint) PixelOf(w.game.SurfIrone0, 320 + 170, 170) = 0;
        if (c.blackNeighbours)
            for (auto [x, y] : {std::pair{168, 170}, {170, 168}, {172, 170}, {170, 172}})
                PixelOf(w.game.SurfIrone0, 320 * c.side + x, y) = 0;
        w.Shoot(330, 250);
        EXPECT_EQ(w.game.ObjTot[0] != 0, c.hit) << c.side << c.blackLeftCell << c.blackPoint << c.blackNeighbours;
    }
}

TEST(PixelTests, SatellitesAreOnePointOfTheirWholeCell) {
    ShotWorld w;
    w.game.Endphase = True;
    for (int k = 1; k <= 3; ++k) w.game.SatelitIroneTot[k] = 1;
    w.game.SatelitX = 100;
    w.game.SatelitY = 100;
    w.game.Satelit2IroneTot[1] = 1;
    w.game.Satelit2X = 300;
    w.game.Satelit2Y = 100;
    PixelOf(w.game.SurfSatelit, 50, 40) = 0;
    PixelOf(w.game.SurfSatelit2, 50, 40) = 0;
    w.Shoot(150, 140);
    w.Shoot(350, 140);
    EXPECT_EQ(w.game.SatelitZerstoert, 0);
    EXPECT_EQ(w.game.Satelit2Zerstoert, 0);
    w.Shoot(151, 140);
    w.Shoot(351, 140);
    EXPECT_NE(w.game.SatelitZerstoert, 0);
    EXPECT_NE(w.game.Satelit2Zerstoert, 0);
    EXPECT_EQ(w.game.SatelitZerstoertZeit, 50000);
}

TEST(PixelTests, AMissingPictureIsEmptyAndARefusedLockIsAnError) {
    ShotWorld w;
    w.game.ObjX[1] = 290;
    w.game.ObjY[1] = 190;
    w.game.SurfIrone1.reset();
    w.Shoot(300, 200);
    EXPECT_EQ(w.game.ObjTot[1], 0);

    ShotWorld v;
    v.game.ObjX[1] = 290;
    v.game.ObjY[1] = 190;
    v.game.SurfIrone1->refuseLocks = true;
    EXPECT_THROW(v.Shoot(300, 200), vorlanix::GameError);
    EXPECT_EQ(v.game.ObjTot[1], 0);
    // Every test leaves its picture unlocked, so the next frame can draw it.
    v.game.SurfIrone1->refuseLocks = false;
    v.Shoot(300, 200);
    EXPECT_NE(v.game.ObjTot[1], 0);
    EXPECT_FALSE(v.game.SurfIrone1->locked());
}

}  // namespace
}  // namespace shot_tests
