// SPDX-License-Identifier: GPL-3.0-or-later
// Every change of the score, with the multiplier for quick successive hits; each award also
// starts a number floating up from where it was earned (drawn in gfx/score_display.cpp).
#include <algorithm>
#include <cstdint>
#include <limits>

#include "app/vorlanix.h"

namespace vorlanix {

void Vorlanix::NeuPunktDarstellung(int32_t Wert, int32_t PosX, int32_t PosY) {
    // With all 20 numbers still floating, the last slot is taken over.
    int32_t k = 1;
    while (PunktAktiv[k] != False && k < 20) ++k;

    // Each scoring hit within a second of the last award doubles the multiplier, up to 32; a
    // penalty or a pause of a second starts again at 1.
    int32_t p = Wert - kAwardBase;
    if (p <= 0) {
        Kombi = 1;
    } else if (int64_t{Spielzeit} - LetzterTreffer < 1000) {
        Kombi = std::min(2 * Kombi, 32);
        p = p * Kombi;
    } else {
        Kombi = 1;
    }

    // The score is kept times kScoreScale in 32 bits (591 267 points at most): it stops at either end
    // instead of wrapping round into a wrong score.
    const int64_t sum = int64_t{Punktzahl} + int64_t{kScoreScale} * p;
    Punktzahl = static_cast<int32_t>(
        std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));

    PunktAktiv[k] = True;
    PunktZeit[k] = Spielzeit;
    LetzterTreffer = Spielzeit;
    PunktWert[k] = p;
    PunktX[k] = SichtX + PosX + 20;
    PunktY[k] = SichtY + PosY - 20;
}

}  // namespace vorlanix
