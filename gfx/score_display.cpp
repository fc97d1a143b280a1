// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers that float up from where points were earned and dissolve.
#include <cstdint>
#include <string>

#include "app/vorlanix.h"

namespace vorlanix {

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
