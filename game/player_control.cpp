// SPDX-License-Identifier: GPL-3.0-or-later
// The player's mouse: a left press fires at the pointer, any other button marks a right click
// for the next frame. The same events serve the menus (their branches live with the menu).
#include "app/vorlanix.h"

namespace vorlanix {

void Vorlanix::Form_MouseDown(int16_t button, int16_t /*shift*/, float x, float y) {
    if (Modus == 2) MenueMausGedrueckt(x, y);
    if (button != 1) {
        RechtsKlickX = x;
        RechtsKlickY = y;
        return;
    }
    if (SchussTimer <= 0 && Munition > 0) {
        SchussX = x;
        SchussY = y;
        SchussTimer = 16;
        Munition -= 1;
        SoundSpielen(1, 0);
    } else {
        SoundSpielen(6, 0);
    }
}

void Vorlanix::Form_MouseMove(int16_t /*button*/, int16_t /*shift*/, float x, float y) {
    // During a game the loop reads the pointer itself each frame.
    if (Modus == -1) return;
    MenueMausBewegt(x, y);
}

}  // namespace vorlanix
