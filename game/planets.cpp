// SPDX-License-Identifier: GPL-3.0-or-later
// Where the planets, the moons and Irone stations on their tilted orbits, and the fragments of
// shot moons are, in the world and on the screen; their death progress; the big explosion.
#include "app/vorlanix.h"
#include "game/angle_tables.h"

namespace vorlanix {

namespace {
constexpr double kPlanetDepth = 1.2;  // planets and the explosion
}  // namespace

void Vorlanix::PlanetenPositionen(float Schritt) {
    const int64_t t = Spielzeit;

    for (int i = 0; i <= 5; ++i) {
        PlanetSchirmX[i] = nearest(((PlanetX[i] - SichtX + 1920) % 1920 - 640) * kPlanetDepth);
        PlanetSchirmY[i] = nearest(((PlanetY[i] - SichtY + 1440) % 1440 - 480) * kPlanetDepth);
    }

    // Three flat ellipses (120 by 23 pixels), each turned by its own tilt, shared by all planets.
    for (int j = 1; j <= 3; ++j) {
        const int A = angleIndex(nearest((300.0 * j + (6 + j) * static_cast<double>(t)) / 128));
        const int B = nearest(1024.0 * j / 3) % 1024;
        const int64_t p = int64_t{CosTab1024[A]} * 120;
        const int64_t q = int64_t{SinTab1024[A]} * 23;
        OrbitDX[j] = static_cast<int32_t>((p * CosTab1024[B] - q * SinTab1024[B]) / 1048576);
        OrbitDY[j] = static_cast<int32_t>((p * SinTab1024[B] + q * CosTab1024[B]) / 1048576);
        // The far half of the ellipse lies behind the planet; a dead companion keeps its side.
        for (int i = 1; i <= 5; ++i)
            if (MondTot[i][j] == 0) MondHinten[i][j] = q > 0 ? True : False;
        // The near half is a little larger and moves with more parallax.
        MondTiefe[j] = static_cast<float>(1.2 - q / 444032.0);
        MondGroesse[j] = 50 - ((SinTab1024[A] + 1024) * 5) / 1024;
    }

    // A shot companion follows its orbit for the first 65 units of its death, then stays.
    for (int i = 1; i <= 5; ++i) {
        for (int j = 1; j <= 3; ++j) {
            if (!(MondTot[i][j] > -1 && MondTot[i][j] < 65)) continue;
            MondX[i][j] = PlanetX[i] + OrbitDX[j];
            MondY[i][j] = PlanetY[i] + OrbitDY[j];
            MondSchirmX[i][j] = nearest(((MondX[i][j] - SichtX + 1920) % 1920 - 640) * double{MondTiefe[j]});
            MondSchirmY[i][j] = nearest(((MondY[i][j] - SichtY + 1440) % 1440 - 480) * double{MondTiefe[j]});
        }
    }

    // The fragments tumble on the platform clock, so they go on turning during a pause.
    MeteorBild = static_cast<int32_t>(platform_.GetTickCount() / 64 % 29);

    for (int i = 1; i <= 5; ++i) {
        for (int j = 1; j <= 3; ++j) {
            if (!(MondTot[i][j] > 0)) continue;
            for (int k = 1; k <= 3; ++k) {
                const double d = static_cast<double>(t - SplitterZeit[i][j][k]);
                SplitterX[i][j][k] = nearest(SplitterVX[i][j][k] * d / 100000 + SplitterStartX[i][j][k]);
                SplitterY[i][j][k] = nearest(d * SplitterVY[i][j][k] / 100000 + SplitterStartY[i][j][k]);
                SplitterSchirmX[i][j][k] =
                    nearest(((SplitterX[i][j][k] - SichtX + 19200000) % 1920 - 640) * double{MondTiefe[j]});
                SplitterSchirmY[i][j][k] =
                    nearest(((SplitterY[i][j][k] - SichtY + 14400000) % 1440 - 480) * double{MondTiefe[j]});
            }
        }
    }

    for (int i : {1, 3, 5}) BurgBlitz[i] = static_cast<float>(BurgBlitz[i] - 0.7 * Schritt);

    if (ExplosionZeit > 0) {
        ExplosionZeit = static_cast<float>(ExplosionZeit + 0.7 * Schritt);
        ExplosionSchirmX = nearest(((ExplosionX - SichtX + 1920) % 1920 - 640) * kPlanetDepth);
        ExplosionSchirmY = nearest(((ExplosionY - SichtY + 1440) % 1440 - 480) * kPlanetDepth);
        if (ExplosionZeit > 46) ExplosionZeit = 0;
    }

    // Neither a companion nor a fragment ever comes back.
    for (int i = 1; i <= 5; ++i) {
        for (int j = 1; j <= 3; ++j) {
            if (!(MondTot[i][j] > 0)) continue;
            MondTot[i][j] = static_cast<float>(MondTot[i][j] + 0.7 * Schritt);
            for (int k = 1; k <= 3; ++k) {
                float& tot = SplitterTot[i][j][k];
                if (tot > 0) tot = static_cast<float>(tot + 0.7 * Schritt);
            }
        }
    }

    MoveSatellites();
}

}  // namespace vorlanix
