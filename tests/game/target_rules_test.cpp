// SPDX-License-Identifier: GPL-3.0-or-later
// What a hit does beyond taking the shot: the big Irone and its alarm, the Raumtanks with their
// blast and the final phase, the switches and the two satellites, moons and their fragments.
#include "tests/game/shot_fixture.h"

namespace shot_tests {
namespace {

using TargetRules = ShotFixture;

TEST_F(TargetRules, TheBigIroneFlyingInIsStoppedWhereItIs) {
    game.AngriffUhr = 30;
    game.ObjX[0] = 320;
    game.ObjY[0] = 300;
    Shoot(320, 300);
    EXPECT_EQ(game.ObjTot[0], 1);
    EXPECT_EQ(Points(), 50);
    EXPECT_EQ(SoundsPlayed(), (std::vector<int>{3, 13}));
    EXPECT_FALSE(AlarmStopped());
}

TEST_F(TargetRules, TheBigIroneParkedStopsItsAlarmWhenHit) {
    game.AngriffUhr = 150;
    game.ObjX[0] = 320;
    game.ObjY[0] = 240;
    SoundAlarm();
    Shoot(320, 240);
    EXPECT_EQ(game.ObjTot[0], 1);
    EXPECT_EQ(game.AlarmLaeuft, 0);
    EXPECT_TRUE(AlarmStopped());
}

TEST_F(TargetRules, TheBigIroneWaitingOffStageOrDyingIsNoTarget) {
    for (const auto& [uhr, tot] : {std::pair{0.0, 0.0f}, {-300.0, 0.0f}, {60.0, 5.0f}}) {
        ShotWorld w;
        w.game.AngriffUhr = uhr;
        w.game.ObjTot[0] = tot;
        w.game.ObjX[0] = 320;
        w.game.ObjY[0] = 240;
        w.Shoot(320, 240);
        EXPECT_EQ(w.game.ObjTot[0], tot) << uhr;
        EXPECT_EQ(w.Points(), 0) << uhr;
    }
}

TEST_F(TargetRules, ARaumtankCostsPointsUntilTheCastlesAreDownAndEarnsThemAfter) {
    for (const auto& [state, points] : {std::pair{0, -50}, {1, 50}, {2, 50}}) {
        ShotWorld w;
        for (int i = 46; i <= 54; ++i) w.game.ObjBild[i] = state;
        w.game.ObjX[50] = 200;
        w.game.ObjY[50] = 100;
        w.Shoot(210, 150);
        EXPECT_EQ(w.game.ObjTot[50], 1) << state;
        EXPECT_EQ(w.game.RaumtanksUebrig, 8) << state;
        EXPECT_EQ(w.Points(), points) << state;
    }
}

TEST_F(TargetRules, OnlyTheFirstRaumtankUnderTheShotIsHit) {
    game.ObjX[48] = game.ObjX[53] = 200;
    game.ObjY[48] = game.ObjY[53] = 100;
    Shoot(210, 150);
    EXPECT_EQ(game.ObjTot[48], 1);
    EXPECT_EQ(game.ObjTot[53], 0);
    Shoot(210, 150);
    EXPECT_EQ(game.ObjTot[53], 1);
    EXPECT_EQ(game.RaumtanksUebrig, 7);
}

TEST_F(TargetRules, ARaumtanksBlastClearsTheScreen) {
    game.ObjX[46] = 500;
    game.ObjY[46] = 300;
    game.AngriffUhr = 150;  // the big Irone parked, alarm sounding
    game.ObjX[0] = 300;
    game.ObjY[0] = 260;
    SoundAlarm();
    // "Near the screen" is measured from each group's own centre.
    game.ObjX[3] = 248 + 319, game.ObjY[3] = 207;          // near: dies
    game.ObjX[4] = 248 + 320, game.ObjY[4] = 207;          // just too far: lives
    game.ObjX[20] = 270 - 319, game.ObjY[20] = 218 + 239;  // near
    game.ObjX[33] = 295, game.ObjY[33] = 218 - 240;        // just too far
    game.ObjX[35] = 295, game.ObjY[35] = 218;
    game.ObjTot[35] = 40;  // already falling: left as it is
    Shoot(510, 350);

    EXPECT_EQ(game.ObjTot[46], 1);
    EXPECT_EQ(game.ObjTot[0], 1);
    EXPECT_TRUE(AlarmStopped());
    EXPECT_EQ(game.AlarmLaeuft, 0);
    EXPECT_EQ(game.ObjTot[3], 1);
    EXPECT_EQ(game.ObjTot[4], 0);
    EXPECT_EQ(game.ObjTot[20], 1);
    EXPECT_EQ(game.ObjTot[33], 0);
    EXPECT_EQ(game.ObjTot[35], 40);
    // The tank's hit sound and the big Irone's; the Irones die silently.
    EXPECT_EQ(SoundsPlayed(), (std::vector<int>{3, 13}));
    // Tank, big Irone, Irone 3, Irone 20, each number where its figure was; the multiplier runs
    // up over the awards of one blast.
    const int want[][3] = {{-50, 500 + 510, 350}, {100, 300, 260}, {40, 567 - 72, 207 - 33}, {200, -49 - 50, 457 - 22}};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_TRUE(game.PunktAktiv[k]) << k;
        EXPECT_EQ(game.PunktWert[k], want[k - 1][0]) << k;
    }
    EXPECT_EQ(game.PunktX[1], 256 + 510 + 20);
    EXPECT_EQ(game.PunktX[2], 256 + 300 + 20);
    EXPECT_EQ(game.PunktY[2], 1216 + 260 - 20);
    EXPECT_EQ(game.PunktX[3], 256 + 567 - 72 + 20);
    EXPECT_EQ(game.PunktY[4], 1216 + 457 - 22 - 20);
    EXPECT_FALSE(game.PunktAktiv[5]);
    EXPECT_EQ(Points(), -50 + 100 + 40 + 200);
}

TEST_F(TargetRules, TheFinalPhaseBeginsOnlyWhenAShotLeavesOneTankWithAllCastlesDown) {
    struct Case {
        float burg1, burg3, burg5;
        int uebrigBefore;
        bool begins;
    };
    // clang-format off
    const Case cases[] = {
        {1, 1, 1, 2, true},   {1, 1, 1, 3, false}, {1, 1, 1, 1, false},
        {0, 1, 1, 2, false}, {1, 0, 1, 2, false}, {1, 1, 0, 2, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        ShotWorld w;
        w.game.BurgTot[1] = c.burg1;
        w.game.BurgTot[3] = c.burg3;
        w.game.BurgTot[5] = c.burg5;
        for (int i = 46; i <= 54; ++i) w.game.ObjBild[i] = 1;
        w.game.RaumtanksUebrig = c.uebrigBefore;
        w.game.ObjX[54] = 200;
        w.game.ObjY[54] = 100;
        w.Shoot(210, 150);
        EXPECT_EQ(w.game.Endphase != 0, c.begins) << c.burg1 << c.burg3 << c.burg5 << " " << c.uebrigBefore;
        for (int i = 46; i <= 54; ++i) EXPECT_EQ(w.game.ObjBild[i], c.begins ? 2 : 1);
    }
}

TEST_F(TargetRules, TheSwitchesGoOnInOrderThenTheIroneCanBeShotThenTheyGoOffThenTheSatellite) {
    game.Satelit2X = 200;
    game.Satelit2Y = 100;
    game.Satelit2IroneX[1] = 248;
    game.Satelit2IroneY[1] = 100;
    // The lamps' middles, switches 1..3.
    const float sx[4] = {0, 232, 250, 295}, sy[4] = {0, 105, 215, 168};
    const auto switches = [&] { return std::vector<int>{game.Schalter[1], game.Schalter[2], game.Schalter[3]}; };

    struct Step {
        int shootAt;  // switch number, or 0 for the Irone, 4 for the satellite's body
        std::vector<int> after;
        int points;
    };
    // clang-format off
    const Step steps[] = {
        {0, {0, 0, 0}, 0},       // the Irone ducks away while a switch is off
        {2, {0, 0, 0}, 0},       // out of order
        {1, {-1, 0, 0}, 25},
        {3, {-1, 0, 0}, 0},
        {2, {-1, -1, 0}, 25},
        {0, {-1, -1, 0}, 0},
        {4, {-1, -1, 0}, 0},     // the satellite stands while its Irone lives
        {3, {-1, -1, -1}, 25},
        {0, {-1, -1, -1}, 150},  // the Irone, and now they go off in the same order
        {4, {-1, -1, -1}, 0},
        {2, {-1, -1, -1}, 0},
        {1, {0, -1, -1}, 25},
        {3, {0, -1, -1}, 0},
        {2, {0, 0, -1}, 25},
        {3, {0, 0, 0}, 25},
        {4, {0, 0, 0}, 150},
    };
    // clang-format on
    int step = 0;
    for (const Step& s : steps) {
        ++step;
        game.Spielzeit += 2000;  // more than a second apart: no multiplier
        const int before = Points();
        if (s.shootAt == 0)
            Shoot(258, 110);
        else if (s.shootAt == 4)
            Shoot(250, 150);
        else
            Shoot(sx[s.shootAt], sy[s.shootAt]);
        EXPECT_EQ(switches(), s.after) << "step " << step;
        EXPECT_EQ(Points() - before, s.points) << "step " << step;
        if (s.shootAt >= 1 && s.shootAt <= 3 && s.points) {
            EXPECT_EQ(game.SchalterZeit, game.Spielzeit) << "step " << step;
        }
    }
    EXPECT_NE(game.Satelit2IroneTot[1], 0);
    EXPECT_NE(game.Satelit2Zerstoert, 0);
    EXPECT_EQ(game.Satelit2ZerstoertZeit, game.Spielzeit);
    // Switches make no sound; the Irone and the satellite the hit sound.
    EXPECT_EQ(SoundsPlayed(), (std::vector<int>{3, 3}));
}

TEST_F(TargetRules, TheSwitchesOfASatelliteGoneForGoodTakeNoShot) {
    game.Satelit2X = 200;
    game.Satelit2Y = 100;
    game.Satelit2IroneTot[1] = 300;
    game.Satelit2Zerstoert = True;
    game.Satelit2Weg = True;
    for (int n = 1; n <= 3; ++n) game.Schalter[n] = True;
    Shoot(232, 105);
    EXPECT_EQ(game.Schalter[1], True);
    EXPECT_EQ(Points(), 0);
}

TEST_F(TargetRules, TheFirstSatelliteFallsOnlyInTheFinalPhaseWithItsThreeIronesDown) {
    struct Case {
        bool endphase;
        float irone1, irone2, irone3;
        bool weg;
        bool falls;
    };
    const Case cases[] = {
        {true, 1, 1, 1, false, true},
        {false, 1, 1, 1, false, false},
        {true, 1, 0, 1, false, false},
        {true, 1, 1, 1, true, false},
    };
    for (const Case& c : cases) {
        ShotWorld w;
        w.game.Endphase = c.endphase ? True : False;
        w.game.SatelitIroneTot[1] = c.irone1;
        w.game.SatelitIroneTot[2] = c.irone2;
        w.game.SatelitIroneTot[3] = c.irone3;
        w.game.SatelitWeg = c.weg ? True : False;
        w.game.SatelitX = 100;
        w.game.SatelitY = 100;
        w.Shoot(160, 150);
        EXPECT_EQ(w.game.SatelitZerstoert != 0, c.falls) << c.endphase << c.irone2 << c.weg;
        EXPECT_EQ(w.Points(), c.falls ? 150 : 0);
    }
}

TEST_F(TargetRules, TheIronesOfASatelliteGoneForGoodTakeNoShot) {
    game.SatelitWeg = True;
    game.SatelitIroneX[1] = 100;
    game.SatelitIroneY[1] = 100;
    Shoot(110, 110);
    EXPECT_EQ(game.SatelitIroneTot[1], 0);
}

TEST_F(TargetRules, AShotMoonBreaksIntoThreeFragmentsAndPaysByKindAndPhase) {
    struct Case {
        int planet;
        bool endphase;
        int points;
    };
    const Case cases[] = {{1, false, 15}, {1, true, 15}, {2, false, -50}, {4, true, 50}};
    for (const Case& c : cases) {
        ShotWorld w;
        w.game.Endphase = c.endphase ? True : False;
        w.game.MondSchirmX[c.planet][3] = 200;
        w.game.MondSchirmY[c.planet][3] = 200;
        w.game.MondX[c.planet][3] = 777;
        w.game.MondY[c.planet][3] = 888;
        for (int k = 1; k <= 3; ++k) w.game.SplitterTot[c.planet][3][k] = 9;
        w.Shoot(200, 200);
        EXPECT_EQ(w.game.MondTot[c.planet][3], 1);
        EXPECT_EQ(w.Points(), c.points) << c.planet << c.endphase;
        for (int k = 1; k <= 3; ++k) {
            EXPECT_EQ(w.game.SplitterStartX[c.planet][3][k], 777);
            EXPECT_EQ(w.game.SplitterStartY[c.planet][3][k], 888);
            EXPECT_EQ(w.game.SplitterZeit[c.planet][3][k], 50000);
            EXPECT_EQ(w.game.SplitterTot[c.planet][3][k], 0);
        }
    }
}

TEST_F(TargetRules, AFragmentWinsASecondOnlyInTheFinalPhase) {
    for (const bool endphase : {false, true}) {
        ShotWorld w;
        w.game.Endphase = endphase ? True : False;
        w.game.Zeitversatz = 500;
        w.game.MondTot[5][2] = 80;
        w.game.SplitterTot[5][2][1] = 3;  // already shot: the next one under the shot takes it
        w.game.SplitterSchirmX[5][2][1] = w.game.SplitterSchirmX[5][2][3] = 400;
        w.game.SplitterSchirmY[5][2][1] = w.game.SplitterSchirmY[5][2][3] = 300;
        w.Shoot(400, 300);
        EXPECT_EQ(w.game.SplitterTot[5][2][3], 1);
        EXPECT_EQ(w.game.SplitterTot[5][2][1], 3);
        EXPECT_EQ(w.Points(), 15);
        EXPECT_EQ(w.game.Zeitversatz, endphase ? -500 : 500);
        EXPECT_EQ(w.SoundsPlayed(), std::vector<int>{11});
    }
}

}  // namespace
}  // namespace shot_tests
