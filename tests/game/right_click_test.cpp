// SPDX-License-Identifier: GPL-3.0-or-later
// The right click on the Raumtanks: every tank under the pointer answers.
#include "tests/game/shot_fixture.h"

namespace shot_tests {
namespace {

struct Click {
    int state;     // the tanks' common state
    int munition;  // before the click
    bool secondDead;
    int wantMunition, wantPoints, wantReloads;
};

TEST(RightClick, OverlappingRaumtanksBothAnswer) {
    const Click cases[] = {
        {0, 3, false, 16, 0, 2},
        // Unlimited shots; the points come once, as the first tank leaves no shortage for the second.
        {1, 999, false, 16000000, 250, 2},
        {2, 5, false, 16000000, 250, 2},
        {1, 1000, false, 16000000, 0, 2},
        {1, 5, true, 16000000, 250, 1},
    };
    for (const Click& c : cases) {
        ShotWorld w;
        for (int i = 46; i <= 54; ++i) w.game.ObjBild[i] = c.state;
        w.game.ObjX[49] = 300, w.game.ObjY[49] = 200;
        w.game.ObjX[52] = 310, w.game.ObjY[52] = 230;
        if (c.secondDead) w.game.ObjTot[52] = 4;
        w.game.Munition = c.munition;
        w.game.RechtsKlickX = 320;
        w.game.RechtsKlickY = 250;
        w.game.RechtsKlickAuswerten();
        EXPECT_EQ(w.game.Munition, c.wantMunition) << c.state << " " << c.munition;
        EXPECT_EQ(w.Points(), c.wantPoints) << c.state << " " << c.munition;
        EXPECT_EQ(w.SoundsPlayed(), std::vector<int>(c.wantReloads, 7)) << c.state << " " << c.munition;
        EXPECT_EQ(w.game.RechtsKlickX, -1);
        if (c.wantPoints) {
            EXPECT_EQ(w.game.PunktX[1], 256 + 320 + 20);
            EXPECT_EQ(w.game.PunktY[1], 1216 + 250 - 20);
        }
    }
}

TEST(RightClick, BesideTheTanksNothingHappens) {
    ShotWorld w;
    w.game.ObjX[49] = 300, w.game.ObjY[49] = 200;
    w.game.Munition = 3;
    for (const auto& [x, y] : {std::pair{300.0f, 230.0f}, {328.0f, 230.0f}, {310.0f, 270.0f}}) {
        w.game.RechtsKlickX = x;
        w.game.RechtsKlickY = y;
        w.game.RechtsKlickAuswerten();
        EXPECT_EQ(w.game.Munition, 3) << x << ", " << y;
        EXPECT_EQ(w.game.RechtsKlickX, -1);
    }
    EXPECT_TRUE(w.SoundsPlayed().empty());
}

}  // namespace
}  // namespace shot_tests
