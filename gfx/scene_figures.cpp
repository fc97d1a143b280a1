// SPDX-License-Identifier: GPL-3.0-or-later
// The layers of the moving figures: the Irones on their boards and the Raumtanks, the big Irone
// and the big explosion.
#include "app/vorlanix.h"

namespace vorlanix {

namespace {

// One group of the object arrays; the small Irones are drawn first, the tanks last.
struct FigureGroup {
    int32_t first, last, typ;
    Surf Vorlanix::*board;  // null for the tanks
    int32_t boardX, boardY, boardW, boardH;
    Surf Vorlanix::*body;
    int32_t bodyW, bodyH;
};

const FigureGroup kGroups[] = {
    {31, 38, 3, &Vorlanix::SurfBrett3, -22, 12, 66, 10, &Vorlanix::SurfIrone3, 23, 18},
    {16, 27, 2, &Vorlanix::SurfBrett2, -35, 19, 108, 17, &Vorlanix::SurfIrone2, 37, 30},
    {1, 15, 1, &Vorlanix::SurfBrett1, -49, 27, 150, 23, &Vorlanix::SurfIrone1, 52, 42},
    {46, 54, 4, nullptr, 0, 0, 0, 0, &Vorlanix::SurfRaumtank, 28, 70},
};

}  // namespace

void Vorlanix::DrawIronesAndTanks() {
    for (const FigureGroup& g : kGroups)
        for (int32_t n = g.first; n <= g.last; ++n) {
            if (ObjTot[n] != 0) {
                Sterben_Brett(n, g.typ);
                continue;
            }
            const int32_t X = ObjX[n], Y = ObjY[n], f = ObjBild[n];
            if (g.board) {
                ddBitBlt(X + g.boardX, Y + g.boardY, g.boardW, g.boardH, this->*g.board, 0, f * g.boardH);
                ddBitBlt(X, Y, g.bodyW, g.bodyH, this->*g.body, 0, f * g.bodyH);
            } else {
                // The tank sheet holds its cells side by side.
                ddBitBlt(X, Y, g.bodyW, g.bodyH, this->*g.body, f * g.bodyW, 0);
            }
        }
}

void Vorlanix::DrawBigIrone() {
    if (!(AngriffUhr > 0)) return;
    if (ObjTot[0] == 0)
        ddBitBlt(ObjX[0] - 160, ObjY[0] - 160, 320, 320, SurfIrone0, ObjBild[0] * 320, 0);
    else
        SterbenGI(nearest(ObjTot[0]), ObjBild[0], ObjX[0], ObjY[0], SurfIrone0);
}

void Vorlanix::DrawExplosion() {
    if (ExplosionZeit > 1)
        ddBitBlt(ExplosionSchirmX - 25, ExplosionSchirmY - 25, 50, 50, SurfExplosion, 0,
                 (nearest(ExplosionZeit) / 3) * 50);
}

}  // namespace vorlanix
