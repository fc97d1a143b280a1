// SPDX-License-Identifier: GPL-3.0-or-later
// The Raumtanks as targets: a shot tank costs or earns points, may open the final phase, and
// its blast clears the screen of the big Irone and every Irone on a board.
#include <cstdlib>

#include "app/vorlanix.h"
#include "game/hit_tests.h"

namespace vorlanix {

bool Vorlanix::HitRaumtank() {
    for (int32_t i = 46; i <= 54; ++i) {
        if (ObjTot[i] != 0) continue;
        if (!InBox(ShotOffset(SchussY, ObjY[i]), 70) || !InBox(ShotOffset(SchussX, ObjX[i]), 28)) continue;
        SoundSpielen(3, 0);
        ObjTot[i] = 1;
        // The tanks share one state: harmless until the castles are down.
        AwardAtShot(ObjBild[46] != 0 ? Award(50) : Award(-50));
        RaumtanksUebrig -= 1;
        // Only the shot that leaves exactly one tank standing, with all three castles down, opens it.
        if (BurgTot[1] > 0 && RaumtanksUebrig == 1 && BurgTot[3] > 0 && BurgTot[5] > 0) {
            for (int32_t k = 46; k <= 54; ++k) ObjBild[k] = 2;
            Endphase = True;
        }
        RaumtankBlast();
        return true;
    }
    return false;
}

void Vorlanix::RaumtankBlast() {
    if (ObjTot[0] == 0 && AngriffUhr > 0) {
        SoundSpielen(13, 0);
        ObjTot[0] = 1;
        NeuPunktDarstellung(Award(50), ObjX[0], ObjY[0]);
        StopBigIroneAlarm();
    }
    // Each group's "near the screen" is centred on the middle of its figures; they die silently.
    static constexpr struct {
        int32_t first, last, centreX, centreY, Wert, pointsX, pointsY;
    } groups[] = {
        {1, 15, 248, 207, Award(10), -72, -33},
        {16, 27, 270, 218, Award(25), -50, -22},
        {31, 38, 295, 218, Award(50), -25, -22},
    };
    for (const auto& g : groups) {
        for (int32_t i = g.first; i <= g.last; ++i) {
            if (ObjTot[i] != 0 || std::abs(g.centreX - ObjX[i]) >= 320 || std::abs(g.centreY - ObjY[i]) >= 240)
                continue;
            ObjTot[i] = 1;
            NeuPunktDarstellung(g.Wert, ObjX[i] + g.pointsX, ObjY[i] + g.pointsY);
        }
    }
}

}  // namespace vorlanix
