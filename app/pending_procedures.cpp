// A stand-in for the game so the menu can start one and get its result page back; the game loop replaces it.
#include "app/vorlanix.h"

namespace vorlanix {

void Vorlanix::Schleife() {
    Modus = 2;
    AktMenue = 8;
    ErgebnisOffen = -1;
    spielBeendet_ = true;
}

}  // namespace vorlanix
