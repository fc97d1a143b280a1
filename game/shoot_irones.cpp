// SPDX-License-Identifier: GPL-3.0-or-later
// The Irones as targets: the big Irone (one pixel of its side's cell) and the Irones on their
// boards (four pixels of the facing's cell, body before board).
#include "app/vorlanix.h"
#include "game/hit_tests.h"

namespace vorlanix {

namespace {

struct BoardGroup {
    int32_t first, last;
    Surf Vorlanix::*body;
    int32_t bodyW, bodyH, bodyWert;
    Surf Vorlanix::*board;
    int32_t boardX, boardY, boardW, boardH;  // the board lies at (-boardX, +boardY) from its rider
};

constexpr BoardGroup kBoardGroups[] = {
    {1, 15, &Vorlanix::SurfIrone1, 52, 42, Award(10), &Vorlanix::SurfBrett1, 49, 27, 150, 23},
    {16, 27, &Vorlanix::SurfIrone2, 37, 30, Award(25), &Vorlanix::SurfBrett2, 35, 19, 108, 17},
    {31, 38, &Vorlanix::SurfIrone3, 23, 18, Award(50), &Vorlanix::SurfBrett3, 22, 12, 66, 10},
};

constexpr int32_t kBoardWert = Award(10);

}  // namespace

bool Vorlanix::HitBigIrone() {
    if (ObjTot[0] != 0 || !(AngriffUhr > 0)) return false;
    const int32_t dx = ShotOffset(SchussX, ObjX[0], 160);
    const int32_t dy = ShotOffset(SchussY, ObjY[0], 160);
    if (!InBox(dx, 320) || !InBox(dy, 320)) return false;
    const int32_t side = ObjBild[0] == 0 ? 0 : 320;
    if (!OnePointHit(SurfIrone0.get(), platform::Rect{side, 0, side + 320, 320}, dx + side, dy)) return false;
    SoundSpielen(3, 0);
    SoundSpielen(13, 0);
    ObjTot[0] = 1;
    AwardAtShot(Award(50));
    StopBigIroneAlarm();
    return true;
}

void Vorlanix::StopBigIroneAlarm() {
    if (AlarmLaeuft == False) return;
    // The alarm loops in the slot's first copy.
    if (SoundAn != False && SoundBereit != False && SoundPuffer[8][1]) SoundPuffer[8][1]->Stop();
    AlarmLaeuft = False;
}

bool Vorlanix::HitBoardIrones() {
    for (const BoardGroup& g : kBoardGroups) {
        for (int32_t i = g.first; i <= g.last; ++i) {
            if (ObjTot[i] != 0) continue;
            const int32_t f = ObjBild[i];
            int32_t dx = ShotOffset(SchussX, ObjX[i]);
            int32_t dy = ShotOffset(SchussY, ObjY[i]);
            int32_t Wert = g.bodyWert;
            bool hit = InBox(dx, g.bodyW) && InBox(dy, g.bodyH) &&
                       FourPointHit((this->*g.body).get(), platform::Rect{0, f * g.bodyH, g.bodyW, (f + 1) * g.bodyH},
                                    dx, dy + f * g.bodyH);
            if (!hit) {
                dx = ShotOffset(SchussX, ObjX[i], g.boardX);
                dy = ShotOffset(SchussY, ObjY[i], -g.boardY);
                Wert = kBoardWert;
                hit =
                    InBox(dx, g.boardW) && InBox(dy, g.boardH) &&
                    FourPointHit((this->*g.board).get(), platform::Rect{0, f * g.boardH, g.boardW, (f + 1) * g.boardH},
                                 dx, dy + f * g.boardH);
            }
            if (!hit) continue;
            // A hit on the board throws its rider off as well.
            SoundSpielen(3, 0);
            ObjTot[i] = 1;
            AwardAtShot(Wert);
            return true;
        }
    }
    return false;
}

}  // namespace vorlanix
