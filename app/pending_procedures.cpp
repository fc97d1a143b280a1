// A stand-in for the game frame's drawing so this branch links and shows frames; replaced by its owner's file.
#include "app/vorlanix.h"

namespace vorlanix {

void Vorlanix::Zeichne() {
    if (DDBereit == False) return;
    WarteAufAnzeige();
    Flip();
}

}  // namespace vorlanix
