// SPDX-License-Identifier: GPL-3.0-or-later
// The title and closing pictures: one full-screen picture with the pointer, until a mouse
// button is released.
#include <exception>

#include "app/vorlanix.h"

namespace vorlanix {

void Vorlanix::ZeichneVollbild(const char* bildName) {
    if (DDBereit == False) return;
    if (WarteAufAnzeige()) {
        SurfStart.reset();
        // A picture that cannot be loaded ends this frame without a flip and without reloading
        // the others; later frames draw the screen without it, as only a display loss loads it.
        try {
            LadeBild(SurfStart, bildName, 0);
        } catch (const std::exception&) {
            return;
        }
        InitSurfaces();
    }
    ddBitBltAllesOCK(0, 0, 640, 480, SurfStart, 0, 0);
    int32_t x = 0, y = 0;
    platform_.GetCursorPos(x, y);
    MausPos[0] = x;
    MausPos[1] = y;
    ddBitBltAlles(MausPos[0] - 20, MausPos[1] - 12, 41, 25, SurfPointer, 0, 0);
    Flip();
}

void Vorlanix::Zeichne_Start() { ZeichneVollbild("start.bmp"); }

void Vorlanix::Zeichne_Ende() { ZeichneVollbild("ende.bmp"); }

}  // namespace vorlanix
