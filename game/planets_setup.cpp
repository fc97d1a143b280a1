// SPDX-License-Identifier: GPL-3.0-or-later
// The planets, their moons and Irone stations, the moon fragments' speeds and the first
// satellite's path, as every game starts them.
#include "app/vorlanix.h"

namespace vorlanix {

void Vorlanix::ChooseSatellitePath() {
    SatelitStartX = nearest(rnd() * 1920.0f + 1920.0f);
    SatelitStartY = nearest(rnd() * 1440.0f + 1440.0f);
    SatelitZerstoert = False;
    SatelitWeg = False;
    Satelit2Zerstoert = False;
    Satelit2Weg = False;
}

void Vorlanix::SetUpPlanets() {
    static constexpr int32_t row[6] = {5, 1, 4, 2, 5, 3};
    for (int i = 0; i <= 5; ++i) {
        PlanetX[i] = nearest(1920.0 / 6 * i);
        PlanetY[i] = nearest(row[i] * 1440.0 / 6);
    }
    PlanetY[3] += 150;

    // Planets 1, 3 and 5 carry a castle guarded by Irone stations; 2 and 4 have plain moons.
    static constexpr float castle[6] = {0, 0, 100, 0, 100, 0};
    static constexpr int32_t companion[6] = {0, 0, 3, 0, 2, 0};
    for (int i = 1; i <= 5; ++i) {
        BurgTot[i] = castle[i];
        BurgBlitz[i] = 0;
    }
    for (int j = 1; j <= 3; ++j) {
        for (int i = 1; i <= 5; ++i) {
            MondArt[i][j] = companion[i];
            MondTot[i][j] = 0;
            for (int k = 1; k <= 3; ++k) {
                SplitterVX[i][j][k] = nearest(rnd() * 10000.0f - 5000);
                SplitterVY[i][j][k] = nearest(rnd() * 10000.0f - 5000);
                SplitterTot[i][j][k] = 0;
            }
        }
    }
    // An explosion still running when the last game ended must not go on in this one.
    ExplosionZeit = 0;
}

}  // namespace vorlanix
