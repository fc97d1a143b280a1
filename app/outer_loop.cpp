// SPDX-License-Identifier: GPL-3.0-or-later
// The outer loop: the title picture, then one menu pass after another until the program ends.
// A game runs inside a menu pass; when it ends the loop starts over from its first step.
#include <string>

#include "app/vorlanix.h"

namespace vorlanix {

void Vorlanix::StartSchleife() {
    for (;;) {
        BildVersatzX = 0;
        BildVersatzY = 0;
        SurfStart.reset();

        if (AktMenue == 8) {
            // Letters typed during the count-down are already the name; the reload of the list
            // must not put the stored name back over them.
            const std::string getippt = SpielerName;
            HighscoreLaden();
            SpielerName = getippt;
            NeuerRang = HighscoreRang(Ergebnis / kScoreScale);
        }

        AktFeld = 1;

        if (Modus == 1) {
            LadeBild(SurfStart, "start.bmp", 0);
            SurfBack->BltFast(0, 0, *SurfStart, platform::Rect{0, 0, 640, 480}, false);
            Flip();
            // The white key is whatever pure white became on this display.
            if (SurfStart->Lock(platform::Rect{0, 0, 320, 400})) {
                FarbeWeiss = SurfStart->GetLockedPixel(250, 110);
                SurfStart->Unlock();
            }
        }

        if (ErsterStart != False) {
            InitSurfaces();
            ErsterStart = False;
        }

        platform_.SetPointerMode(platform::PointerMode::Menu);
        while (Modus == 1) {
            platform_.DoEvents();
            Zeichne_Start();
        }

        SurfStart.reset();

        spielBeendet_ = false;
        while (Modus > -1 && !spielBeendet_) {
            platform_.DoEvents();
            Zeichne_Menue();
        }
        if (!spielBeendet_) return;
    }
}

}  // namespace vorlanix
