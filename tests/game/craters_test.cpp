// SPDX-License-Identifier: GPL-3.0-or-later
// Planets, castles and the lens: craters punched pixel by pixel into a planet's picture, never
// beyond it; castles that flash while a moon lives and fall when none does; the voided game.
#include "tests/game/shot_fixture.h"

namespace shot_tests {
namespace {

using Craters = ShotFixture;

// Planet 1 (radius 100) centred at (300, 250) on the screen.
class PlanetOne : public ShotFixture {
  protected:
    PlanetOne() {
        game.PlanetSchirmX[1] = 300;
        game.PlanetSchirmY[1] = 250;
        before = std::make_unique<Surface>(200, 200);
        before->BltFast(0, 0, *game.SurfStern1, platform::Rect{0, 0, 200, 200}, false);
    }
    uint16_t Was(int x, int y) const { return before->row(y)[x]; }
    uint16_t Now(int x, int y) { return PixelOf(game.SurfStern1, x, y); }
    Surf before;
};

TEST_F(PlanetOne, AHitPunchesTheCraterStampIntoThePictureAndCostsFiftyPoints) {
    Shoot(300, 250);
    EXPECT_EQ(Points(), -50);
    EXPECT_EQ(SoundsPlayed(), std::vector<int>{9});
    EXPECT_EQ(game.ExplosionZeit, 1);
    EXPECT_EQ(game.ExplosionX, 320);
    EXPECT_EQ(game.ExplosionY, 240);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) {
            uint16_t want = Was(x, y);
            if (x >= 90 && x < 110 && y >= 90 && y < 110) {
                const uint16_t stamp = PixelOf(game.SurfKrater, x - 90, y - 90);
                if (stamp != kWhite) want = stamp;
            }
            ASSERT_EQ(Now(x, y), want) << x << ", " << y;
        }
}

TEST_F(PlanetOne, ASecondShotThroughTheHolePassesOnAndAShotBesideItHitsAgain) {
    Shoot(300, 250);
    SoundsPlayed();
    game.MondHinten[1][1] = True;  // a station behind the planet, right behind the hole
    game.MondSchirmX[1][1] = 300;
    game.MondSchirmY[1][1] = 250;
    game.Spielzeit += 5000;
    Shoot(300, 250);
    EXPECT_EQ(game.MondTot[1][1], 1);
    EXPECT_EQ(SoundsPlayed(), std::vector<int>{10});
    // Three pixels off the middle the 5 x 5 test reaches the rim: the planet takes it.
    game.Spielzeit += 5000;
    Shoot(303, 250);
    EXPECT_EQ(SoundsPlayed(), std::vector<int>{9});
}

TEST_F(PlanetOne, ACraterAtTheRimNeverSpillsIntoSpace) {
    Shoot(300 + 95, 250 - 10);
    int changed = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) {
            if (Now(x, y) == Was(x, y)) continue;
            ++changed;
            EXPECT_NE(Was(x, y), 0) << "space changed at " << x << ", " << y;
        }
    EXPECT_GT(changed, 0);
}

TEST_F(PlanetOne, ACraterAtThePicturesEdgeStaysInsideIt) {
    // A square planet picture, so the crater area reaches past the picture's left edge.
    game.SurfStern1 = Solid(200, 200);
    Shoot(300 - 99, 250);
    EXPECT_EQ(Points(), -50);
    EXPECT_EQ(Now(0, 100), 0);
    EXPECT_EQ(Now(8, 100), kCraterRim);
}

TEST_F(PlanetOne, TheDiscIsStrict) {
    struct Case {
        int dx, dy;
        bool hit;
    };
    const Case cases[] = {{60, 79, true}, {60, 80, false},  {99, 0, true},     {100, 0, false},
                          {0, -99, true}, {-100, 0, false}, {-71, -71, false}, {-70, -71, true}};
    for (const Case& c : cases) {
        ShotWorld w;
        w.game.SurfStern1 = Solid(200, 200);  // every pixel planet: only the disc test decides
        w.game.PlanetSchirmX[1] = 300;
        w.game.PlanetSchirmY[1] = 250;
        w.Shoot(300 + c.dx, 250 + c.dy);
        EXPECT_EQ(w.Points() == -50, c.hit) << c.dx << ", " << c.dy;
    }
}

TEST_F(PlanetOne, TheCastleFlashesWhileAStationLivesAndFallsWhenAllThreeAreDead) {
    // The castle area lies 95 to 150 pixels above the centre; 97 above is on the disc as well.
    game.MondTot[1][1] = game.MondTot[1][3] = 70;
    Shoot(300, 250 - 120);
    EXPECT_EQ(game.BurgBlitz[1], 10);
    EXPECT_EQ(game.BurgTot[1], 0);
    EXPECT_EQ(Points(), 0);

    game.BurgBlitz[1] = 0;
    Shoot(300, 250 - 97);
    EXPECT_EQ(game.BurgBlitz[1], 10);
    EXPECT_EQ(Points(), -50);  // and a crater in the same shot
    EXPECT_EQ(Now(100, 3), 0);

    game.MondTot[1][2] = 1;
    game.Spielzeit += 5000;
    game.ExplosionZeit = 0;
    Shoot(310, 250 - 120);
    EXPECT_EQ(game.BurgTot[1], 1);
    EXPECT_EQ(game.ExplosionZeit, 1);
    EXPECT_EQ(game.ExplosionX, 320 + 8);
    EXPECT_EQ(game.ExplosionY, 240 - 100);
    EXPECT_EQ(Points(), -50 + 75);
    // Only one castle is down: the tanks keep their state.
    for (int i = 46; i <= 54; ++i) EXPECT_EQ(game.ObjBild[i], 0);

    // A fallen castle takes no more shots: this one goes on to the disc.
    game.Spielzeit += 5000;
    game.BurgBlitz[1] = 0;
    Shoot(320, 250 - 97);
    EXPECT_EQ(game.BurgBlitz[1], 0);
    EXPECT_EQ(Points(), -50 + 75 - 50);
}

TEST_F(Craters, TheThirdCastleToFallChangesTheTanks) {
    game.BurgTot[1] = 1;
    game.BurgTot[5] = 1;
    game.PlanetSchirmX[3] = 300;
    game.PlanetSchirmY[3] = 300;
    for (int j = 1; j <= 3; ++j) game.MondTot[3][j] = 100;
    Shoot(300, 300 - 80 - 30);
    EXPECT_EQ(game.BurgTot[3], 1);
    for (int i = 46; i <= 54; ++i) EXPECT_EQ(game.ObjBild[i], 1) << i;
}

// Planet 0 at (300, 300): the lens is drawn from (226, 253), its centre zone around (305, 294).
class Lens : public ShotFixture {
  protected:
    Lens() {
        game.PlanetSchirmX[0] = 300;
        game.PlanetSchirmY[0] = 300;
        game.Punktzahl = 1000 * 3632;
    }
    bool Cratered(int x, int y) { return PixelOf(game.SurfStern0, x - 250, y - 250) == 0; }
};

TEST_F(Lens, ItsCentreVoidsTheGameAtAnyTime) {
    const struct {
        int dx, dy;
        bool voids;
    } cases[] = {{0, 0, true},
                 {34, 0, true},
                 {0, -34, true},
                 {35, 0, false},
                 {21, 28, false},
                 {20, 28, true},
                 // Far off: the squared distance must not wrap round into the centre.
                 {50000, 0, false},
                 {0, -60000, false}};
    for (const auto& c : cases) {
        ShotWorld w;
        w.game.PlanetSchirmX[0] = 300;
        w.game.PlanetSchirmY[0] = 300;
        w.game.Punktzahl = 1000 * 3632;
        w.game.Zeitversatz = 2500;
        w.Shoot(305 + c.dx, 294 + c.dy);
        EXPECT_EQ(w.game.SpielUngueltig != 0, c.voids) << c.dx << ", " << c.dy;
        if (c.voids) {
            EXPECT_EQ(w.game.Punktzahl, 0);
            EXPECT_EQ(w.game.Zeitversatz + w.game.Spielzeit, 100000);  // no time left
            EXPECT_FALSE(w.game.PunktAktiv[1]);
            EXPECT_EQ(PixelOf(w.game.SurfStern0, 55, 44), kSolid);  // the planet is untouched
        }
    }
}

TEST_F(Lens, ItsRimIsPlanetOutsideTheFinalPhaseAndDestroysTheLensInIt) {
    Shoot(265, 310);
    EXPECT_EQ(game.LupeZerstoert, 0);
    EXPECT_TRUE(Cratered(265, 310));

    game.Endphase = True;
    game.Spielzeit += 5000;
    Shoot(260, 320);
    EXPECT_NE(game.LupeZerstoert, 0);
    EXPECT_FALSE(Cratered(260, 320));
    EXPECT_EQ(Points(), 1000 - 50 + 500);
    EXPECT_EQ(game.ExplosionZeit, 1);
    EXPECT_EQ(game.ExplosionX, -53);   // nearest((260 - 300 - 24) / 1.2 + 0)
    EXPECT_EQ(game.ExplosionY, 1219);  // nearest((320 - 300 + 3) / 1.2 + 1200)

    // Gone: its centre is now only planet.
    game.Spielzeit += 5000;
    Shoot(305, 294);
    EXPECT_EQ(game.SpielUngueltig, 0);
    EXPECT_TRUE(Cratered(305, 294));
}

TEST_F(Lens, ABlackPixelOfTheLensPassesTheShotOnInTheFinalPhase) {
    game.Endphase = True;
    PixelOf(game.SurfLupe, 260 - 226, 320 - 253) = 0;
    Shoot(260, 320);
    EXPECT_EQ(game.LupeZerstoert, 0);
    EXPECT_TRUE(Cratered(260, 320));
}

}  // namespace
}  // namespace shot_tests
