// The high-score list and settings as the game object holds them.
#include "app/vorlanix.h"

namespace vorlanix {

void Vorlanix::HighscoreLaden() {
    SoundAn = True;
    MusikAn = True;
    NebelAn = True;
    for (int i = 1; i <= 8; ++i) {
        HSName[i] = "        ";
        HSTage[i] = 28800;
    }
}

}  // namespace vorlanix
