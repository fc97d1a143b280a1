// Every change of the score, with the multiplier for quick successive hits, and the numbers
// that float up from where the points were earned and dissolve.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

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

void Vorlanix::ZeichnePunktzahlen() {
    // Called from Zeichne, which has just waited for the display.
    if (DDBereit == False) return;
    for (int32_t k = 1; k <= 20; ++k) {
        if (PunktAktiv[k] == False) continue;
        // One unit of age is 2 ms of game time. By 776 = 200 + 640 - 64 the dissolve has used
        // the whole interference strip.
        const int32_t age = (Spielzeit - PunktZeit[k]) / 2;
        if (age > 776) {
            PunktAktiv[k] = False;
            continue;
        }

        // The number is composed on the scratch canvas: a minus sign, then the digits.
        int32_t c = 0;
        if (PunktWert[k] < 0) {
            ddBitBltTempOCK(0, 0, 20, 20, SurfZahlen, 200, 0);
            c = 1;
        }
        const int64_t value = PunktWert[k];
        for (const char digit : std::to_string(value < 0 ? -value : value)) {
            ddBitBltTempOCK(20 * c, 0, 20, 20, SurfZahlen, 20 * (digit - '0'), 0);
            ++c;
        }

        // The interference strip's black dots eat the digits; its window slides down the strip,
        // where the dots grow denser, and jumps at random each frame so the pattern flickers.
        if (age > 200) {
            const int32_t w = 20 * c + 64;
            for (int32_t x = nearest(-24.0 * rnd()); x <= w; x += 64) {
                const int32_t y = nearest(-24.0 * rnd());
                ddBitBltTemp(x, y, 64, 64, SurfStoerung, 0, age - 200);
            }
        }

        // It rises one pixel per 20 ms; there is no wrap-around, a number far off is clipped away.
        ddBitBlt(PunktX[k] - SichtX, PunktY[k] - age / 10 - SichtY, 20 * c, 20, SurfTemp, 0, 0);
    }
}

}  // namespace vorlanix
