// SPDX-License-Identifier: GPL-3.0-or-later
// The right click: a click on a Raumtank reloads. Every tank under the pointer answers, so two
// overlapping tanks both do.
#include "app/vorlanix.h"
#include "game/hit_tests.h"

namespace vorlanix {

void Vorlanix::RechtsKlickAuswerten() {
    for (int32_t i = 46; i <= 54; ++i) {
        if (ObjTot[i] != 0) continue;
        if (!InBox(ShotOffset(RechtsKlickY, ObjY[i]), 70) || !InBox(ShotOffset(RechtsKlickX, ObjX[i]), 28)) continue;
        if (ObjBild[i] != 0) {
            // Once the castles are down a tank gives unlimited shots, and points only to a player
            // who was running short.
            if (Munition < 1000) NeuPunktDarstellung(Award(250), nearest(RechtsKlickX), nearest(RechtsKlickY));
            Munition = 16000000;
        } else {
            Munition = 16;
        }
        SoundSpielen(7, 0);
    }
    RechtsKlickX = -1;
}

}  // namespace vorlanix
