// SPDX-License-Identifier: GPL-3.0-or-later
// Everything a game starts from: a fresh world with new random paths, full ammunition, the
// clocks at zero. Nothing of the last game survives but its result and the settings.
#include "app/vorlanix.h"

namespace vorlanix {

void Vorlanix::SetUpGame() {
    Modus = -1;
    // Reloading the planet pictures removes the craters of the last game.
    InitPlanetSurfaces();
    platform_.SetCursorPos(320, 240);

    for (int k = 1; k <= 20; ++k) PunktAktiv[k] = False;
    Kombi = 1;
    // A new game starts with the multiplier window closed, whenever the last game scored.
    LetzterTreffer = -1000;
    Endphase = False;
    LupeZerstoert = False;
    SpielUngueltig = False;

    for (int i = 0; i < 2000; ++i) {
        SternX[i] = static_cast<uint8_t>(nearest(rnd() * 60.0f));
        SternY[i] = static_cast<uint8_t>(nearest(rnd() * 60.0f));
    }

    for (int k = 1; k <= 3; ++k) {
        SatelitIroneTot[k] = 0;
        Satelit2IroneTot[k] = 0;
        Schalter[k] = 0;
    }

    // Every effect once, so its first copy is loaded before the shooting starts.
    if (SoundAn != False) {
        for (int i : {1, 3, 4, 5, 6, 7, 8, 9, 10, 11}) {
            SoundSpielen(i, 0);
            if (SoundBereit != False) {
                SoundPuffer[i][1]->Play(true);
                SoundPuffer[i][1]->Stop();
            }
        }
    }

    Pause = False;
    ChooseSatellitePath();
    SetUpPlanets();
    SchalterZeit = 0;
    FillAngleTables();

    RaumtanksUebrig = 9;
    SchussTimer = 0;
    Munition = 16;
    TasteOben = TasteUnten = TasteRechts = TasteLinks = False;

    if (MusikAn != False && SoundBereit != False) {
        MusikSpielen(2, 0);
        SoundPuffer[2][1]->Play(true);
    }

    SetUpObjects();

    // The big Irone counts as dead long ago, so the first frame schedules its first attack.
    AngriffUhr = 1000;
    AngriffUhrVorher = 1000;
    ObjTot[0] = 100;
    AlarmLaeuft = False;

    const int32_t now = static_cast<int32_t>(platform_.GetTickCount());
    SpielStartTick = now;
    TickJetzt = now;
    TickVorher = now;
    Zeitversatz = 0;

    warte(50);

    ScrollX1024 = 0;
    ScrollY1024 = 0;
    Punktzahl = 0;
    PunktzahlAnzeige = -1;
    // Values no display can show, so the cockpit redraws all of them in the first frame.
    RestSekundenAnzeige = 1000;
    AlterStufe = 0;
    AlterStufeAnzeige = 100;
    ErgebnisOffen = True;
}

}  // namespace vorlanix
