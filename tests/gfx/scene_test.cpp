// SPDX-License-Identifier: GPL-3.0-or-later
// The game frame as a player sees it: which layer hides which, the bounds that decide whether
// a moon, a door or the explosion shows, the ducking Irone, and what a failing frame leaves.
#include <functional>
#include <string>
#include <vector>

#include "app/game_state_access.h"
#include "tests/gfx/frame_fixture.h"

namespace frame_test {
namespace {

TEST_F(FrameTest, NothingIsDrawnOrShownBeforeTheDisplayIsReady) {
    game.DDBereit = False;
    game.SurfBack->BltColorFill(platform::Rect{0, 0, 640, 480}, 7);
    game.Zeichne();
    EXPECT_EQ(headless.frames(), 0u);
    EXPECT_EQ(At(320, 200), 7);
}

TEST_F(FrameTest, ARefusedLockEndsTheFrameUnshownAndLeavesTheStateAlone) {
    // A frame that would shake the picture and clamp a negative score, were it drawn to the end.
    game.AngriffUhr = 120;
    game.BildVersatzX = 9;
    game.Punktzahl = -5;
    game.SurfBack->refuseLocks = true;
    vorlanix::GameStateAccess state(game);
    const nlohmann::json before = state.DumpState();
    game.Zeichne();
    EXPECT_EQ(headless.frames(), 0u);
    EXPECT_EQ(state.DumpState(), before);

    game.SurfBack->refuseLocks = false;
    game.Zeichne();
    EXPECT_EQ(headless.frames(), 1u);
    EXPECT_EQ(game.Punktzahl, 0);
}

TEST_F(FrameTest, AfterALostDisplayEveryPictureIsReloadedAndTheCratersAreGone) {
    game.InitPlanetSurfaces();
    game.SurfStern1->row(100)[100] = 0x1234;  // a crater stamped into the planet
    headless.SetDisplayHeld(false);
    int pumps = 0;
    headless.SetPumpHook([&] {
        if (++pumps == 3) headless.SetDisplayHeld(true);
    });
    game.Zeichne();
    EXPECT_GE(pumps, 3);
    EXPECT_EQ(headless.frames(), 1u);
    const auto fresh = headless.CreateSurfaceFromResource("Stern1.bmp");
    EXPECT_EQ(game.SurfStern1->row(100)[100], fresh->row(100)[100]);
    ASSERT_TRUE(game.SurfOben);  // the other pictures came back too
}

TEST_F(FrameTest, PictureOffsetShakesJoltsAndRecoils) {
    const struct {
        double angriffUhr;
        float objTot0, schussTimer;
        int32_t wantX, wantY;
    } cases[] = {
        {120, 0, 0, 2, 2},   // the waiting big Irone shakes: nearest(3 sin 120), nearest(3 cos 120)
        {120, 5, 0, 0, 0},   // a dying one does not
        {70, 0, 0, -7, -7},  // arriving: jolted along its flight (-7, -7) at the sine's top
        {0, 0, 16, 0, 0},    // right after a shot: nearest(0.25)
        {0, 0, 15, 0, 0},    // nearest(0.5) goes to the even 0
        {0, 0, 11, 0, 2},    // nearest(1.5) = 2
        {0, 0, 1, 0, 4},     // the deepest recoil
        {120, 0, 1, 2, 6},   // recoil adds to the shake
    };
    game.ObjVX[0] = game.ObjVY[0] = -7;
    for (const auto& c : cases) {
        game.AngriffUhr = c.angriffUhr;
        game.ObjTot[0] = c.objTot0;
        game.SchussTimer = c.schussTimer;
        game.SetPictureOffset();
        EXPECT_EQ(game.BildVersatzX, c.wantX) << c.angriffUhr << " " << c.schussTimer;
        EXPECT_EQ(game.BildVersatzY, c.wantY) << c.angriffUhr << " " << c.schussTimer;
    }
}

// Every layer overlaps one pixel; taking the topmost away each time must uncover the next one
// in the order of the frame, down to the black of the cleared buffer.
TEST_F(FrameTest, LayersHideEachOtherBackToFront) {
    constexpr int px = 80, py = 200;
    game.NebelAn = True;
    game.SichtX = 1530;  // nebula 1 at (-250, 106), nebula 2 at (66, 40); the others off the screen
    game.SichtY = 1400;
    game.SurfNebel1 = Solid(375, 420, 0x4C00);
    game.SurfNebel2 = Solid(150, 250, 0x4800);
    game.SternX[383] = 36;  // the white layer's star of cell (1, 3) lands on (80, 200)
    game.SternY[383] = 36;
    game.SurfMond = Sheet(50, 150, 50, 50, 0x0400);
    game.MondHinten[1][1] = True;
    game.MondArt[1][1] = 3;
    game.MondSchirmX[1][1] = px;
    game.MondSchirmY[1][1] = py;
    game.MondArt[2][1] = 2;
    game.MondSchirmX[2][1] = px;
    game.MondSchirmY[2][1] = py;
    game.SurfStern1 = Solid(200, 200, 0x0800);
    game.SurfBurg = Sheet(275, 47, 55, 47, 0x0C00);
    game.PlanetSchirmX[1] = px;
    game.PlanetSchirmY[1] = py + 95;  // castle over (80, 200), flag above it
    game.SurfSatelit = Sheet(120, 200, 120, 100, 0x1000);
    game.SatelitX = 40;
    game.SatelitY = 150;
    game.SurfSatelitIrone = Sheet(93, 34, 31, 34, 0x1400);
    game.SatelitIroneX[1] = px - 10;
    game.SatelitIroneY[1] = py - 10;
    game.SurfSatelit2Irone = Sheet(40, 39, 10, 10, 0x1800);
    game.Satelit2IroneX[1] = px - 10;
    game.Satelit2IroneY[1] = py - 10;
    game.SurfSatelit2 = Sheet(100, 240, 100, 120, 0x1C00);
    game.Satelit2X = 35;  // switch lamp 2 at (80, 200)
    game.Satelit2Y = 90;
    game.SurfIrone3 = Sheet(23, 648, 23, 18, 0x2000);
    game.SurfBrett3 = Sheet(66, 360, 66, 10, 0x2100);
    game.SurfIrone2 = Sheet(37, 1080, 37, 30, 0x2800);
    game.SurfBrett2 = Sheet(108, 612, 108, 17, 0x2900);
    game.SurfIrone1 = Sheet(52, 1512, 52, 42, 0x2C00);
    game.SurfBrett1 = Sheet(150, 828, 150, 23, 0x2D00);
    game.SurfRaumtank = Sheet(84, 70, 28, 70, 0x3000);
    for (int n : {31, 16, 1, 46}) {  // boards lie below the probe
        game.ObjX[n] = px - 10;
        game.ObjY[n] = py - 10;
    }
    game.SurfIrone0 = Sheet(640, 640, 320, 320, 0x3400);
    game.AngriffUhr = 10;
    game.ObjX[0] = px;
    game.ObjY[0] = py;
    game.SurfExplosion = Sheet(50, 800, 50, 50, 0x3800);
    game.ExplosionZeit = 5;
    game.ExplosionSchirmX = px;
    game.ExplosionSchirmY = py;
    game.SurfMenue = Sheet(572, 360, 286, 360, 0x3C00);
    game.Zeitversatz = 88600;  // 600 ms after the time ran out: the left door covers x < 115
    game.SurfPointer = Sheet(246, 25, 41, 25, 0x4000);
    game.MausPos[0] = px + 20;
    game.MausPos[1] = py + 12;
    game.SurfLinks = Solid(98, 320, 0x4400);

    const struct {
        const char* layer;
        uint16_t colour;
        std::function<void()> remove;
    } stack[] = {
        {"cockpit", 0x4400, [&] { game.SurfLinks.reset(); }},
        {"pointer", 0x4000, [&] { game.MausPos[0] = game.MausPos[1] = -1000; }},
        {"closing door", 0x3C00, [&] { game.Zeitversatz = 0; }},
        {"explosion", 0x3810, [&] { game.ExplosionZeit = 0; }},
        {"big Irone", 0x3400, [&] { game.AngriffUhr = 0; }},
        {"tank", 0x3000, [&] { game.ObjX[46] = -1000; }},
        {"large Irone", 0x2C00, [&] { game.ObjX[1] = -1000; }},
        {"middle Irone", 0x2800, [&] { game.ObjX[16] = -1000; }},
        {"small Irone", 0x2000, [&] { game.ObjX[31] = -1000; }},
        {"switch lamp", 0x1813, [&] { game.Schalter[2] = False; }},
        {"second satellite", 0x1C00, [&] { game.SurfSatelit2.reset(); }},
        {"its Irone", 0x1811, [&] { game.Satelit2Weg = True; }},
        {"first satellite's Irone", 0x1400, [&] { game.SatelitIroneX[1] = -1000; }},
        {"first satellite", 0x1000, [&] { game.SatelitWeg = True; }},
        {"moon in front", 0x0410, [&] { game.MondSchirmX[2][1] = -1000; }},
        {"castle", 0x0C00, [&] { game.BurgTot[1] = 100; }},
        {"planet", 0x0800, [&] { game.PlanetSchirmX[1] = -1000; }},
        {"moon behind", 0x0420, [&] { game.MondSchirmX[1][1] = -1000; }},
        {"white star", 0xFFFF, [&] { game.SternX[383] = 0; }},
        {"drifting nebula", 0x4800, [&] { game.SurfNebel2.reset(); }},
        {"nebula", 0x4C00, [&] { game.NebelAn = False; }},
        {"cleared buffer", 0x0000, [] {}},
    };
    for (const auto& s : stack) {
        game.Zeichne();
        EXPECT_EQ(At(px, py), s.colour) << s.layer << " should be on top";
        s.remove();
    }
}

TEST_F(FrameTest, MoonsAreScaledOnlyWhenTheirSquareReachesIntoThePlayWindow) {
    game.SurfMond = Solid(50, 150, 0x0500);
    game.MondArt[1][1] = 1;
    game.MondGroesse[1] = 40;
    const struct {
        int x, y;
        bool shown;
        int probeX, probeY;  // the pixel of the play window the moon reaches when shown
    } cases[] = {
        {19, 200, false, 34, 200},   {20, 200, true, 34, 200},    // x - 25 + g = 34 / 35
        {631, 200, false, 605, 200}, {630, 200, true, 605, 200},  // x - 25 = 606 / 605
        {200, 15, false, 200, 30},   {200, 16, true, 200, 30},    // y - 25 + g = 30 / 31
        {200, 415, false, 200, 389}, {200, 414, true, 200, 389},  // y - 25 = 390 / 389
    };
    for (const auto& c : cases) {
        game.SurfTemp->BltColorFill(platform::Rect{0, 0, 320, 400}, 0x0005);
        game.MondSchirmX[1][1] = c.x;
        game.MondSchirmY[1][1] = c.y;
        game.Zeichne();
        EXPECT_EQ(game.SurfTemp->row(0)[0] != 0x0005, c.shown) << c.x << ", " << c.y << ": scratch canvas";
        EXPECT_EQ(At(c.probeX, c.probeY), c.shown ? 0x0500 : 0) << c.x << ", " << c.y;
    }
}

TEST_F(FrameTest, IroneStationsTurnWithThePlatformClock) {
    game.SurfIroneStation = Sheet(50, 1750, 50, 50, 0x0600);
    game.MondArt[1][1] = 0;
    game.MondSchirmX[1][1] = game.MondSchirmY[1][1] = 200;
    headless.SetFrameMs(3456);
    game.Zeichne();
    // The next frame is drawn at the tick the flip left: 3457 ms, cell 34 (the game time,
    // 12000 ms, would give cell 15).
    ASSERT_EQ(headless.GetTickCount(), 3457u);
    game.Zeichne();
    EXPECT_EQ(At(190, 190), 0x0600 + 16 * 34);
}

TEST_F(FrameTest, FragmentsOfADyingMoonInFrontAreDrawnTwice) {
    game.SurfIroneMeteor = Sheet(25, 725, 25, 25, 0x0700);
    game.SurfMeteor = Sheet(25, 725, 25, 25, 0x0800);
    game.MeteorBild = 2;
    game.SurfMeteor->row(2 * 25 + 12)[12] = 0;  // a hole in the moon's own fragment picture
    game.MondArt[1][1] = 3;
    game.MondTot[1][1] = 60;  // its explosion is over, its fragments fly on
    game.SplitterSchirmX[1][1][1] = 200;
    game.SplitterSchirmY[1][1][1] = 200;
    for (int16_t behind : {False, True}) {
        game.MondHinten[1][1] = behind;
        game.Zeichne();
        // In front, the first pass with the Irone fragment shows through the hole.
        EXPECT_EQ(At(200, 200), behind ? 0 : 0x0720) << "behind " << behind;
        EXPECT_EQ(At(201, 200), 0x0820) << "behind " << behind;
    }
}

TEST_F(FrameTest, CastlesFlashAndFlagsWaveWhileAStationStands) {
    game.SurfBurg = Sheet(275, 47, 55, 47, 0x0900);
    game.PlanetSchirmX[3] = 300;
    game.PlanetSchirmY[3] = 300;
    const struct {
        float burgTot, burgBlitz;
        float mondTot[3];
        int castleCell, flagCell;  // -1: not drawn
    } cases[] = {
        {0, 0, {0, 0, 0}, 0, 2},    // Spielzeit 12000: flag cell (40 mod 3) + 1
        {0, 3, {0, 0, 0}, 4, 2},    // flashing after a hit
        {7, 0, {1, 2, 0}, -1, 2},   // the castle is down, one station still stands
        {0, 0, {1, 2, -1}, 0, -1},  // no station stands at exactly 0
    };
    for (const auto& c : cases) {
        game.BurgTot[3] = c.burgTot;
        game.BurgBlitz[3] = c.burgBlitz;
        for (int j = 1; j <= 3; ++j) game.MondTot[3][j] = c.mondTot[j - 1];
        game.Zeichne();
        EXPECT_EQ(At(300 - 27, 300 - 120), c.castleCell < 0 ? 0 : 0x0900 + c.castleCell);
        EXPECT_EQ(At(300 - 3, 300 - 167), c.flagCell < 0 ? 0 : 0x0900 + c.flagCell);
    }
}

TEST_F(FrameTest, DoorsOpenAtTheStartAndCloseAfterTheTimeRanOut) {
    game.SurfMenue = Sheet(572, 360, 286, 360, 0x0A00);
    constexpr uint16_t L = 0x0A00, R = 0x0A01, none = 0;
    const struct {
        int32_t spielzeit;
        float zeitversatz;
        uint16_t at34, at319, at320, at605;
    } cases[] = {
        {0, 0, L, L, R, R},                      // closed: the halves meet in the middle
        {1000, 0, none, none, none, none},       // open
        {12000, 88000, none, none, none, none},  // r = 0: the time has only just run out
        {12000, 88999, L, none, none, R},        // r = -999: a two-pixel gap at 319 and 320
        {12000, 89000, none, none, none, none},  // r = -1000: no longer drawn
    };
    for (const auto& c : cases) {
        game.Spielzeit = c.spielzeit;
        game.Zeitversatz = c.zeitversatz;
        game.Zeichne();
        const std::string at = std::to_string(c.spielzeit) + " / " + std::to_string(c.zeitversatz);
        EXPECT_EQ(At(34, 100), c.at34) << at;
        EXPECT_EQ(At(319, 100), c.at319) << at;
        EXPECT_EQ(At(320, 100), c.at320) << at;
        EXPECT_EQ(At(605, 100), c.at605) << at;
    }
}

TEST_F(FrameTest, TheBigExplosionShowsFromAboveOne) {
    game.SurfExplosion = Sheet(50, 800, 50, 50, 0x0B00);
    game.ExplosionSchirmX = game.ExplosionSchirmY = 200;
    const struct {
        float zeit;
        int cell;  // -1: nothing
    } cases[] = {{1, -1}, {1.5f, 0}, {2.5f, 0}, {3, 1}, {46, 15}};
    for (const auto& c : cases) {
        game.ExplosionZeit = c.zeit;
        game.Zeichne();
        EXPECT_EQ(At(175, 175), c.cell < 0 ? 0 : 0x0B00 + 16 * c.cell) << c.zeit;
    }
}

TEST_F(FrameTest, TheSecondSatellitesIroneDucksFromTheCursorWhileASwitchIsOff) {
    game.SurfSatelit2Irone = Solid(40, 39, 0x0C00);
    game.Satelit2IroneX[1] = 200;
    game.Satelit2IroneY[1] = 200;
    const struct {
        bool allSwitchesOn;
        int mouseX, mouseY;
        int wantX, wantY;
    } cases[] = {
        {true, 215, 220, 200, 200},   // on its middle, all switches on: it stands still
        {false, 215, 220, 180, 240},  // d = 0: 20 left and 40 lower
        {false, 278, 220, 196, 208},  // d = 63: e = nearest(8.5) = 8
        {false, 295, 220, 200, 200},  // d = 80: out of reach
    };
    for (const auto& c : cases) {
        game.Schalter[2] = c.allSwitchesOn ? True : False;
        game.MausPos[0] = c.mouseX;
        game.MausPos[1] = c.mouseY;
        game.Zeichne();
        EXPECT_EQ(At(c.wantX, c.wantY), 0x0C00) << c.mouseX;
        EXPECT_EQ(At(c.wantX - 1, c.wantY), 0) << c.mouseX;
        EXPECT_EQ(At(c.wantX, c.wantY - 1), 0) << c.mouseX;
    }
}

}  // namespace
}  // namespace frame_test
