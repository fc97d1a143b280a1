// SPDX-License-Identifier: GPL-3.0-or-later
// The starfield: up to three layers of single pixels written straight into the back buffer,
// each a 1920 x 1440 pattern of 60 x 60 cells that scrolls with its own parallax.
#include "app/errors.h"
#include "app/vorlanix.h"

namespace vorlanix {

namespace {

struct StarLayer {
    int32_t divisor;  // the layer moves 1024 / divisor pixels per pixel of view
    int32_t base;     // its first star in SternX / SternY
    uint32_t colour;  // raw value; the 16-bit display keeps its low half
    bool alwaysDrawn;
};

// The two coloured layers belong to the nebulae setting; the white one passes fastest, on top.
constexpr StarLayer kLayers[] = {
    {981, 0, 16750230, false},
    {931, 100, 13158655, false},
    {881, 200, 16777215, true},
};

}  // namespace

void Vorlanix::Sterne() {
    platform::Surface& back = *SurfBack;
    if (!back.Lock(platform::Rect{0, 0, 640, 480})) throw GameError("the back buffer cannot be locked for the stars");
    for (const StarLayer& layer : kLayers) {
        if (!layer.alwaysDrawn && NebelAn == False) continue;
        const int32_t sx = (ScrollX1024 / layer.divisor + 16777216) % 1920;
        const int32_t sy = (ScrollY1024 / layer.divisor + 16777216) % 1440;
        const int32_t cx = sx / 60, cy = sy / 60;
        const int32_t ox = BildVersatzX - sx % 60, oy = BildVersatzY - sy % 60;
        // 12 x 8 cells always cover the play window, whatever the scroll.
        for (int32_t i = 0; i <= 11; ++i)
            for (int32_t j = 0; j <= 7; ++j) {
                const int32_t k = layer.base + 32 * ((cx + i) % 32) + (cy + j) % 24;
                const int32_t x = SternX[k] + 60 * i + ox, y = SternY[k] + 60 * j + oy;
                // One pixel in from the play window's left and top edges.
                if (x >= 35 && x < 606 && y >= 31 && y < 390) back.SetLockedPixel(x, y, layer.colour);
            }
    }
    back.Unlock();
}

}  // namespace vorlanix
