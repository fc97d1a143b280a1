// SPDX-License-Identifier: GPL-3.0-or-later
// The six destruction animations. Each is a pure function of the stage, the game time and, for
// the dissolves, fresh random numbers: it only draws, and draws nothing once it is over.
#include <cmath>

#include "app/vorlanix.h"
#include "gfx/frame_copies.h"

namespace vorlanix {

namespace {

// How an Irone of one board size falls: its board drifts along the facing while the Irone
// jumps off and tumbles in an arc. p, ox and oy are the ones the living figure is placed with.
struct BoardFall {
    Surf Vorlanix::*board;
    int32_t w, h;
    double kx, ky, p;
    int32_t ox, oy, boardLX, boardLY;
    Surf Vorlanix::*salto;
    int32_t c;
    double jx, jy;
    int32_t ironeLX, ironeLY;
};

const BoardFall kFalls[] = {
    {},
    {&Vorlanix::SurfBrett1, 150, 23, 0.2, 0.1, 1.4, 49, 27, 214, 87, &Vorlanix::SurfIrone1Salto, 54, 0.15, 0.075, 118,
     118},
    {&Vorlanix::SurfBrett2, 108, 17, 0.13, 0.07, 1.35, 35, 19, 172, 81, &Vorlanix::SurfIrone2Salto, 39, 0.1, 0.05, 103,
     103},
    {&Vorlanix::SurfBrett3, 66, 10, 0.1, 0.05, 1.3, 22, 12, 130, 74, &Vorlanix::SurfIrone3Salto, 24, 0.075, 0.038, 88,
     88},
};

}  // namespace

void Vorlanix::MondSterben(int32_t Stufe, int32_t PosX, int32_t PosY) {
    // Each explosion cell shows for three stages; at 48 the explosion is over.
    if (Stufe < 48) ddBitBlt(PosX - 25, PosY - 25, 50, 50, SurfExplosion, 0, (Stufe / 3) * 50);
}

void Vorlanix::MeteorSterben(int32_t Stufe, int32_t PosX, int32_t PosY) { MondSterben(Stufe, PosX, PosY); }

void Vorlanix::Dissolve(const Surf& sheet, platform::Rect cell, int32_t s, int32_t T, int32_t R, int32_t LX, int32_t LY,
                        int32_t X, int32_t Y) {
    CopyUnclipped(SurfTemp, 0, 0, sheet, cell, false);
    if (s > T) {
        // The grid of interference tiles moves at random in every frame and every column, so
        // the holes flicker; only the tiles' black dots land on the canvas.
        for (int32_t x = nearest(-rnd() * 24); x <= LX; x += 64)
            for (int32_t y = nearest(-rnd() * 24); y <= LY; y += 64) ddBitBltTemp(x, y, 64, 64, SurfStoerung, 0, R);
    }
    // Black is the canvas's key: the stamped dots become holes.
    ddBitBlt(X, Y, cell.right - cell.left, cell.bottom - cell.top, SurfTemp, 0, 0);
}

void Vorlanix::Sterben_Brett(int32_t Nr, int32_t Typ) {
    const int32_t s = nearest(ObjTot[Nr]);
    const int32_t f = ObjBild[Nr];
    if (Typ == 4) {
        // A tank dissolves where it was hit, with an explosion over it for the first 32 stages.
        if (s < 64)
            Dissolve(SurfRaumtank, platform::Rect{28 * f, 0, 28 * f + 28, 70}, s, 0, 8 * s, 92, 134, ObjX[Nr],
                     ObjY[Nr]);
        if (s < 32) ddBitBlt(ObjX[Nr] - 11, ObjY[Nr] + 10, 50, 50, SurfExplosion, 0, (s / 2) * 50);
        return;
    }
    if (Typ < 1 || Typ > 3) return;
    const BoardFall& k = kFalls[Typ];
    const double phi = f * 0.1745;
    const int32_t a = Spielzeit - ObjZeit[Nr];  // ms since the hit
    if (s < 96) {
        const int32_t wx = nearest(ObjWeltX[Nr] + a * k.kx * std::sin(phi));
        const int32_t wy = nearest(ObjWeltY[Nr] + a * k.ky * std::cos(phi));
        const int32_t bx = nearest((((wx - SichtX) % 1920) - 640) * k.p - k.ox);
        const int32_t by = nearest((((wy - SichtY) % 1440) - 480) * k.p + k.oy);
        Dissolve(this->*k.board, platform::Rect{0, k.h * f, k.w, k.h * f + k.h}, s, 24, 8 * s - 192, k.boardLX,
                 k.boardLY, bx, by);
    }
    if (s < 128) {
        // Up 50 pixels at its highest, 800 ms after the hit, then falling ever faster.
        const double u = (a - 800) / 300.0;
        const double fall = u * u - 10;
        const int32_t wx = nearest(ObjWeltX[Nr] + a * k.jx * std::sin(phi));
        const int32_t wy = nearest(ObjWeltY[Nr] + 5 * fall + a * k.jy * std::cos(phi));
        const int32_t px = nearest((((wx - SichtX) % 1920) - 640) * k.p);
        const int32_t py = nearest((((wy - SichtY) % 1440) - 480) * k.p);
        const int32_t column = f >= 18 ? 1 : 0, row = (s / 4) % 8;
        Dissolve(this->*k.salto, platform::Rect{k.c * column, k.c * row, k.c * (column + 1), k.c * (row + 1)}, s, 32,
                 6 * s - 192, k.ironeLX, k.ironeLY, px, py);
    }
}

void Vorlanix::DissolveSatelliteIrone(float progress, int32_t Nr, int32_t X, int32_t Y) {
    const int32_t s = nearest(progress);
    if (s >= 128) return;
    // Each Irone flies off in its own direction and is pulled down more and more.
    int32_t dx = 2 * s, dy = -2 * s;
    if (Nr == 2) {
        dx = -2 * s;
        dy = 2 * s;
    } else if (Nr == 3) {
        dy = 2 * s;
    }
    dy = nearest(0.012 * s * s + dy);
    const int32_t column = Nr == 2 ? 1 : 0, row = (s / 4) % 8;
    Dissolve(SurfIrone2Salto, platform::Rect{39 * column, 39 * row, 39 * column + 39, 39 * row + 39}, s, 32,
             6 * s - 192, 118, 118, X + dx, Y + dy);
}

void Vorlanix::Sterben_SatelitIrone(int32_t Nr) {
    DissolveSatelliteIrone(SatelitIroneTot[Nr], Nr, SatelitIroneX[Nr], SatelitIroneY[Nr]);
}

void Vorlanix::Sterben_Satelit2Irone(int32_t Nr) {
    DissolveSatelliteIrone(Satelit2IroneTot[Nr], Nr, Satelit2IroneX[Nr], Satelit2IroneY[Nr]);
}

void Vorlanix::SterbenGI(int32_t Stufe, int32_t Seite, int32_t PosX, int32_t PosY, const Surf& Bild) {
    if (Stufe > 96) return;
    // The damaged look sways ever wider and drops ever faster; it is not dissolved.
    double sway = 0, fall = 0;
    if (Stufe > 10) {
        sway = (Stufe - 10) * 0.4 * std::sin(Stufe / 3.0);
        fall = ((Stufe - 10) * 0.44) * ((Stufe - 10) * 0.44);
    }
    ddBitBlt(nearest(PosX + sway - 160), nearest(PosY + fall - 160), 320, 320, Bild, Seite * 320, 320);
}

}  // namespace vorlanix
