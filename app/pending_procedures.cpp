// Stand-ins for procedures other subsystems own, so this branch links; replaced by their owners' files.
#include "app/vorlanix.h"

namespace vorlanix {

void Vorlanix::Zeichne() {
    if (DDBereit == False) return;
    WarteAufAnzeige();
    Flip();
}

void Vorlanix::NeuPunktDarstellung(int32_t, int32_t, int32_t) {}
void Vorlanix::ZeichnePunktzahlen() {}
void Vorlanix::SchussAuswerten() {}
void Vorlanix::RechtsKlickAuswerten() {}
void Vorlanix::MenuAusblenden(int32_t, int32_t) {}
void Vorlanix::EndeAnimation() {}

}  // namespace vorlanix
