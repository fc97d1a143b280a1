// SPDX-License-Identifier: GPL-3.0-or-later
// The two satellites crossing the world on straight diagonals, with the Irones riding them; a
// destroyed satellite races off at thirteen times its speed and is gone three seconds later.
#include "app/vorlanix.h"

namespace vorlanix {

namespace {
constexpr double kSatelliteDepth = 1.4;
}  // namespace

void Vorlanix::MoveSatellites() {
    const int64_t t = Spielzeit;

    // The first drifts down and to the right, one pixel every 32 ms in each direction.
    int64_t u = t / 32;
    if (SatelitZerstoert != False) {
        u = (13 * t - 12 * int64_t{SatelitZerstoertZeit}) / 32;
        if (t - SatelitZerstoertZeit > 3000) SatelitWeg = True;
    }
    const int64_t X = (SatelitStartX - SichtX + u) % 1920;
    const int64_t Y = (SatelitStartY - SichtY + u) % 1440;
    SatelitX = static_cast<float>((X - 640) * kSatelliteDepth);
    SatelitY = static_cast<float>((Y - 480) * kSatelliteDepth);

    SatelitIroneX[1] = nearest(SatelitX + 46.0f);
    SatelitIroneY[1] = nearest(SatelitY - 10.0f);
    SatelitIroneX[2] = nearest(SatelitX + 68.0f);
    SatelitIroneY[2] = nearest(SatelitY + 58.0f);
    SatelitIroneX[3] = nearest(SatelitX + 100.0f);
    SatelitIroneY[3] = nearest(SatelitY + 85.0f);

    // The second starts at the world's corner and drifts down and to the left; once gone it
    // stays where it was last seen.
    if (Satelit2Zerstoert == False || Satelit2Weg == False) {
        int64_t u2 = t / 32;
        if (Satelit2Zerstoert != False) {
            u2 = (13 * t - 12 * int64_t{Satelit2ZerstoertZeit}) / 32;
            if (t - Satelit2ZerstoertZeit > 3000) Satelit2Weg = True;
        }
        const int64_t X2 = (19200000 - u2 - SichtX) % 1920;
        const int64_t Y2 = (u2 - SichtY + 1440) % 1440;
        Satelit2X = static_cast<float>((X2 - 640) * kSatelliteDepth);
        Satelit2Y = static_cast<float>((Y2 - 480) * kSatelliteDepth);
    }
    Satelit2IroneX[1] = nearest(Satelit2X + 48.0f);
    Satelit2IroneY[1] = nearest(Satelit2Y);
}

}  // namespace vorlanix
