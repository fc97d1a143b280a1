// SPDX-License-Identifier: GPL-3.0-or-later
// The order of priority: every kind of target takes a shot alone, and of two targets under the
// same shot the earlier in the order takes it while the later is untouched until the next shot.
#include <functional>
#include <map>

#include "tests/game/shot_fixture.h"

namespace shot_tests {
namespace {

constexpr int kX = 300, kY = 200;  // where every shot of these tests falls

struct Target {
    std::function<void(vorlanix::Vorlanix&)> place;  // puts the figure under (kX, kY)
    std::function<bool(vorlanix::Vorlanix&)> taken;
    int points;
    std::vector<int> sounds;
};

// A planet centred under the shot has a crater in the middle of its picture once it took it.
bool Cratered(Surf& planet, int r) { return PixelOf(planet, r, r) == 0; }

// clang-format off
std::map<std::string, Target> Targets() {
    using G = vorlanix::Vorlanix;
    return {
        {"big Irone",
         {[](G& g) {
              g.AngriffUhr = 60;
              g.ObjX[0] = kX;
              g.ObjY[0] = kY;
          },
          [](G& g) { return g.ObjTot[0] != 0; }, 50, {3, 13}}},
        {"Raumtank",
         {[](G& g) {
              g.ObjX[46] = kX - 10;
              g.ObjY[46] = kY - 30;
          },
          [](G& g) { return g.ObjTot[46] != 0; }, -50, {3}}},
        {"Irone on the first satellite",
         {[](G& g) {
              g.SatelitIroneX[2] = kX - 10;
              g.SatelitIroneY[2] = kY - 10;
          },
          [](G& g) { return g.SatelitIroneTot[2] != 0; }, 75, {3}}},
        {"first satellite",
         {[](G& g) {
              g.Endphase = True;
              for (int k = 1; k <= 3; ++k) g.SatelitIroneTot[k] = 100;
              g.SatelitX = kX - 60;
              g.SatelitY = kY - 50;
          },
          [](G& g) { return g.SatelitZerstoert != 0; }, 150, {3}}},
        {"Irone on the second satellite",
         {[](G& g) {
              for (int n = 1; n <= 3; ++n) g.Schalter[n] = True;
              g.Satelit2IroneX[1] = kX - 10;
              g.Satelit2IroneY[1] = kY - 10;
          },
          [](G& g) { return g.Satelit2IroneTot[1] != 0; }, 150, {3}}},
        {"switch",
         {[](G& g) {
              g.Satelit2X = kX - 32;
              g.Satelit2Y = kY - 5;
          },
          [](G& g) { return g.Schalter[1] != 0; }, 25, {}}},
        {"second satellite",
         {[](G& g) {
              g.Satelit2IroneTot[1] = 100;
              g.Satelit2X = kX - 50;
              g.Satelit2Y = kY - 60;
          },
          [](G& g) { return g.Satelit2Zerstoert != 0; }, 150, {3}}},
        {"Irone on a board",
         {[](G& g) {
              g.ObjX[16] = kX - 10;
              g.ObjY[16] = kY - 10;
          },
          [](G& g) { return g.ObjTot[16] != 0; }, 25, {3}}},
        {"moon in front",
         {[](G& g) {
              g.MondHinten[2][1] = False;
              g.MondSchirmX[2][1] = kX;
              g.MondSchirmY[2][1] = kY;
          },
          [](G& g) { return g.MondTot[2][1] != 0; }, -50, {10}}},
        {"fragment in front",
         {[](G& g) {
              g.MondTot[4][3] = 100;
              g.MondHinten[4][3] = False;
              g.SplitterSchirmX[4][3][2] = kX;
              g.SplitterSchirmY[4][3][2] = kY;
          },
          [](G& g) { return g.SplitterTot[4][3][2] != 0; }, 15, {11}}},
        // The shot falls on the lens rim, 69 pixels from its centre, and on planet 0's disc.
        {"lens",
         {[](G& g) {
              g.Endphase = True;
              g.PlanetSchirmX[0] = kX + 34;
              g.PlanetSchirmY[0] = kY - 13;
          },
          [](G& g) { return g.LupeZerstoert != 0; }, 500, {}}},
        {"planet 0",
         {[](G& g) {
              g.PlanetSchirmX[0] = kX + 34;
              g.PlanetSchirmY[0] = kY - 13;
          },
          [](G& g) { return PixelOf(g.SurfStern0, 16, 63) == 0; }, -50, {9}}},
        {"planet 1",
         {[](G& g) {
              g.PlanetSchirmX[1] = kX;
              g.PlanetSchirmY[1] = kY;
          },
          [](G& g) { return Cratered(g.SurfStern1, 100); }, -50, {9}}},
        {"planet 2",
         {[](G& g) {
              g.PlanetSchirmX[2] = kX;
              g.PlanetSchirmY[2] = kY;
          },
          [](G& g) { return Cratered(g.SurfStern2, 75); }, -50, {9}}},
        {"planet 5",
         {[](G& g) {
              g.PlanetSchirmX[5] = kX;
              g.PlanetSchirmY[5] = kY;
          },
          [](G& g) { return Cratered(g.SurfStern5, 90); }, -50, {9}}},
        {"moon behind",
         {[](G& g) {
              g.MondHinten[2][1] = True;
              g.MondSchirmX[2][1] = kX;
              g.MondSchirmY[2][1] = kY;
          },
          [](G& g) { return g.MondTot[2][1] != 0; }, -50, {10}}},
    };
}
// clang-format on

TEST(ShotOrder, EveryTargetAloneTakesTheShotWithItsPointsAndSounds) {
    for (auto& [name, target] : Targets()) {
        ShotWorld fresh;
        target.place(fresh.game);
        fresh.Shoot(kX, kY);
        EXPECT_TRUE(target.taken(fresh.game)) << name;
        EXPECT_EQ(fresh.Points(), target.points) << name;
        EXPECT_EQ(fresh.SoundsPlayed(), target.sounds) << name;
        // The number floats up from where the shot fell.
        if (target.points != 0) {
            EXPECT_EQ(fresh.game.PunktX[1], 256 + kX + 20) << name;
            EXPECT_EQ(fresh.game.PunktY[1], 1216 + kY - 20) << name;
        }
    }
}

TEST(ShotOrder, TheEarlierTargetTakesTheShotAndTheLaterTheNext) {
    const std::pair<const char*, const char*> rows[] = {
        {"big Irone", "Raumtank"},
        {"Raumtank", "Irone on the first satellite"},
        {"Irone on the first satellite", "Irone on the second satellite"},
        {"first satellite", "Irone on the second satellite"},
        {"Irone on the second satellite", "Irone on a board"},
        {"switch", "Irone on a board"},
        {"second satellite", "Irone on a board"},
        {"Irone on a board", "moon in front"},
        {"moon in front", "lens"},
        {"fragment in front", "lens"},
        {"moon in front", "planet 1"},
        {"lens", "planet 0"},
        {"planet 1", "planet 2"},
        {"planet 2", "planet 5"},
        {"planet 1", "moon behind"},
    };
    auto targets = Targets();
    for (const auto& [front, back] : rows) {
        ShotWorld fresh;
        targets.at(front).place(fresh.game);
        targets.at(back).place(fresh.game);
        fresh.Shoot(kX, kY);
        EXPECT_TRUE(targets.at(front).taken(fresh.game)) << front << " before " << back;
        EXPECT_FALSE(targets.at(back).taken(fresh.game)) << front << " before " << back;
        fresh.Shoot(kX, kY);
        EXPECT_TRUE(targets.at(back).taken(fresh.game)) << back << " after " << front;
    }
}

TEST(ShotOrder, AShotThatReachesTheEndHasMissed) {
    ShotWorld w;
    w.Shoot(kX, kY);
    EXPECT_EQ(w.Points(), 0);
    EXPECT_FALSE(w.game.PunktAktiv[1]);
    EXPECT_TRUE(w.SoundsPlayed().empty());
}

}  // namespace
}  // namespace shot_tests
