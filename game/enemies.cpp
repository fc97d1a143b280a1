// SPDX-License-Identifier: GPL-3.0-or-later
// The Irones on boards and the Raumtanks: their positions at the present game time, the death
// progress of every figure, and the revival of shot Irones once they are out of sight.
#include <cmath>

#include "app/vorlanix.h"
#include "game/angle_tables.h"

namespace vorlanix {

namespace {

struct BoardGroup {
    int first, last;
    int64_t R, r;  // radii of the looping path in X and Y
    double depth;  // parallax of the group's layer
};
constexpr BoardGroup kBoardGroups[] = {{1, 15, 300, 150, 1.4}, {16, 27, 200, 100, 1.35}, {31, 38, 150, 75, 1.3}};

constexpr double kTankDepth = 1.35;

// Wholly outside the play window: only there may a shot figure come back to life.
bool outOfSight(int32_t x, int32_t y) { return x < -150 || x > 650 || y < -70 || y > 500; }

void grow(float& progress, float Schritt) { progress = static_cast<float>(progress + 0.7 * Schritt); }

}  // namespace

void Vorlanix::Feindposition(float Schritt) {
    MoveBoardIrones();

    const int32_t t = Spielzeit;
    for (int i = 46; i <= 54; ++i) {
        // They rise one pixel every 32 ms; their X is fixed by their number.
        const int32_t X = 5328 + 213 * (i - 46);
        const int32_t Y = nearest(static_cast<double>(ObjBasisY[i]) + 14400000 - t / 32);
        ObjX[i] = nearest(((X - SichtX) % 1920 - 640) * kTankDepth);
        ObjY[i] = nearest(((Y - SichtY) % 1440 - 480) * kTankDepth);
    }

    for (int i = 0; i <= 45; ++i) {
        if (!(ObjTot[i] > 0)) continue;
        grow(ObjTot[i], Schritt);
        if (ObjTot[i] > 500 && outOfSight(ObjX[i], ObjY[i])) ObjTot[i] = 0;
    }
    for (int i = 46; i <= 54; ++i)
        if (ObjTot[i] > 0) grow(ObjTot[i], Schritt);

    for (int k = 1; k <= 3; ++k) {
        if (!(SatelitIroneTot[k] > 0)) continue;
        grow(SatelitIroneTot[k], Schritt);
        const bool satelliteOffScreen = SatelitX < -150 || SatelitX > 650 || SatelitY < -170 || SatelitY > 500;
        if (SatelitIroneTot[k] > 1500 && satelliteOffScreen && SatelitWeg == False) SatelitIroneTot[k] = 0;
    }
    if (Satelit2IroneTot[1] > 0) grow(Satelit2IroneTot[1], Schritt);
}

void Vorlanix::MoveBoardIrones() {
    const int64_t t = Spielzeit;
    for (const BoardGroup& g : kBoardGroups) {
        for (int i = g.first; i <= g.last; ++i) {
            int32_t X = 0, Y = 0;
            if (ObjTot[i] > 0 && ObjTot[i] <= 200) {
                // Shot and falling: it drifts on from its last path position the way it faced.
                const double d = static_cast<double>(t - ObjZeit[i]);
                X = nearest(d * 0.2 * std::sin(ObjBild[i] * 0.1745) + ObjWeltX[i]);
                Y = nearest(d * 0.1 * std::cos(ObjBild[i] * 0.1745) + ObjWeltY[i]);
            } else {
                // The path is a closed formula of the game time: a circle drifting in a line.
                const int64_t w = 113600 / (848 + 10 * i);
                const int k = angleIndex(t * w / 1024);
                const int64_t c = CosTab1024[k], s = SinTab1024[k];
                int64_t vx = 0;
                // Even and odd figures circle in opposite senses.
                if (i % 2 == 0) {
                    X = nearest(static_cast<double>((t * ObjVX[i] - c * g.R) / 1024) + ObjBasisX[i]);
                    vx = s * w * g.R / 1024 + ObjVX[i];
                } else {
                    X = nearest(static_cast<double>((t * ObjVX[i] + c * g.R) / 1024) + ObjBasisX[i]);
                    vx = ObjVX[i] - s * w * g.R / 1024;
                }
                Y = nearest(static_cast<double>((t * ObjVY[i] + s * g.r) / 1024) + ObjBasisY[i]);
                const int64_t vy = c * w * g.r / 1024 + ObjVY[i];

                // The facing follows the velocity, in 36 steps of 10 degrees.
                double a = vx == 0 ? -1.57075 : std::atan(static_cast<double>(vy) / static_cast<double>(vx));
                a = vx < 0 ? 4.71225 - a : 7.85375 - a;
                ObjBild[i] = static_cast<int32_t>(std::floor(a * 36 / 6.283)) % 36;
                ObjZeit[i] = static_cast<int32_t>(t);
                ObjWeltX[i] = X;
                ObjWeltY[i] = Y;
            }
            ObjX[i] = nearest(((X - SichtX) % 1920 - 640) * g.depth);
            ObjY[i] = nearest(((Y - SichtY) % 1440 - 480) * g.depth);
        }
    }
}

}  // namespace vorlanix
