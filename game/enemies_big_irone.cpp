// SPDX-License-Identifier: GPL-3.0-or-later
// The big Irone: it waits off stage, flies into the middle of the screen, parks there eating the
// player's game time with the alarm running, and after its death the next attack is scheduled.
#include "app/vorlanix.h"

namespace vorlanix {

void Vorlanix::AngriffGI(float Schritt) {
    AngriffUhr += 2.0 * Schritt;
    if (!(AngriffUhr > 0)) return;

    if (AngriffUhr > 50 && AngriffUhrVorher <= 50) SoundSpielen(4, 0);

    // The clock moves it in a straight line from its base; at 50 it has reached its parking point.
    const double along = AngriffUhr < 50 ? AngriffUhr : 50;
    ObjX[0] = nearest(ObjVX[0] * along + static_cast<double>(ObjBasisX[0]));
    ObjY[0] = nearest(ObjVY[0] * along + static_cast<double>(ObjBasisY[0]));
    // Parked and alive it eats about six seconds of game time per second.
    if (AngriffUhr >= 50 && ObjTot[0] == 0) Zeitversatz = static_cast<float>(Zeitversatz + Schritt * 100.0);

    if (AngriffUhr > 100 && AngriffUhrVorher <= 100 && ObjTot[0] == 0) {
        SoundSpielen(8, 0);
        if (SoundAn != False && SoundBereit != False) SoundPuffer[8][1]->Play(true);
        AlarmLaeuft = True;
    }

    // Its death animation is over (or it never lived): the next attack.
    if (ObjTot[0] > 96) {
        float parkX = 0, parkY = 0;
        if (rnd() * 1000.0f <= 500) {
            ObjVX[0] = -7;
            ObjVY[0] = -7;
            ObjBild[0] = 1;
            if (rnd() * 1000.0f <= 500) {
                parkX = rnd() * 240.0f + 200;
                parkY = 280;
            } else {
                parkX = 440;
                parkY = rnd() * 80.0f + 200;
            }
        } else {
            ObjVX[0] = 7;
            ObjVY[0] = -7;
            ObjBild[0] = 0;
            if (rnd() * 1000.0f <= 500) {
                parkX = rnd() * 240.0f + 200;
                parkY = 280;
            } else {
                parkX = 200;
                parkY = rnd() * 80.0f + 200;
            }
        }
        ObjBasisX[0] = static_cast<float>(parkX - ObjVX[0] * 50.0);
        ObjBasisY[0] = static_cast<float>(parkY - ObjVY[0] * 50.0);
        ObjTot[0] = 0;
        AngriffUhr = -1500.0f - rnd() * 1500.0f;
    }

    AngriffUhrVorher = AngriffUhr;
}

}  // namespace vorlanix
