// The menu's share of the mouse and keyboard: the release that leaves the title and closing
// pictures, and the keys that end the program.
#include "app/vorlanix.h"

namespace vorlanix {

void Vorlanix::Form_MouseUp(int16_t /*button*/, int16_t /*shift*/, float /*x*/, float /*y*/) {
    if (Modus == -1) return;
    if (Modus == 1) {
        Modus = 2;
        return;
    }
}

void Vorlanix::MenueMausBewegt(float /*x*/, float /*y*/) {}

void Vorlanix::MenueMausGedrueckt(float /*x*/, float /*y*/) {}

void Vorlanix::Form_KeyPress(int16_t character) {
    if (character == 27) EndIt();
}

void Vorlanix::Zeichne_Menue() {}

}  // namespace vorlanix
