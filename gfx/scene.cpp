// SPDX-License-Identifier: GPL-3.0-or-later
// One game frame: wait for the display, shake or recoil the picture, clear, draw the layers back
// to front and show the result with one flip. The layers themselves live in scene_*.cpp.
#include <cmath>
#include <stdexcept>

#include "app/errors.h"
#include "app/vorlanix.h"
#include "gfx/frame_copies.h"

namespace vorlanix {

void Vorlanix::Zeichne() {
    if (DDBereit == False) return;
    const int32_t oldOffsetX = BildVersatzX, oldOffsetY = BildVersatzY;
    try {
        if (WarteAufAnzeige()) {
            // Reloading brings every picture back as its bitmap holds it: the craters are gone.
            InitSurfaces();
            InitPlanetSurfaces();
        }
        SetPictureOffset();
        FillRect(SurfBack, platform::Rect{0, 0, 640, 480}, 0);

        if (NebelAn != False) DrawNebulae();
        Sterne();
        DrawMoons(True);
        DrawPlanets();
        DrawFragmentsInFront();
        DrawMoons(False);
        DrawFirstSatellite();
        DrawSecondSatellite();
        DrawIronesAndTanks();
        DrawBigIrone();
        DrawExplosion();
        ZeichnePunktzahlen();
        DrawDoors();
        DrawPointer();
        ZeichneCockpit();

        Flip();
    } catch (const std::runtime_error&) {
        // A failing lock or a picture that cannot be reloaded ends the frame unshown; the game
        // goes on as if the frame had not been drawn, and the next one starts afresh.
        BildVersatzX = oldOffsetX;
        BildVersatzY = oldOffsetY;
    }
}

void Vorlanix::SetPictureOffset() {
    // The waiting big Irone shakes the picture.
    if (ObjTot[0] == 0 && AngriffUhr > 100) {
        BildVersatzX = nearest(std::sin(AngriffUhr) * 3);
        BildVersatzY = nearest(std::cos(AngriffUhr) * 3);
    } else {
        BildVersatzX = 0;
        BildVersatzY = 0;
    }
    // Its arrival jolts the picture along its flight path.
    if (AngriffUhr > 50 && AngriffUhr < 90) {
        const int32_t k = nearest((AngriffUhr - 50) * 13);
        BildVersatzX = static_cast<int32_t>(int64_t{ObjVX[0]} * SinTab1024[k] / 1024);
        BildVersatzY = static_cast<int32_t>(int64_t{ObjVY[0]} * SinTab1024[k] / 1024);
    }
    // Recoil: the picture sinks by up to 4 pixels while the shot timer runs down.
    if (SchussTimer > 0) BildVersatzY = nearest((17.0 - SchussTimer) / 4 + BildVersatzY);
}

void Vorlanix::DrawNebulae() {
    // The first three are opaque: where they overlap, the later one hides the earlier.
    ddBitBltOCK(((1920 - SichtX) % 1920) - 640, ((1986 - SichtY) % 1440) - 480, 375, 420, SurfNebel1, 0, 0);
    ddBitBltOCK(((2688 - SichtX) % 1920) - 640, ((1728 - SichtY) % 1440) - 480, 300, 330, SurfNebel3, 0, 0);
    ddBitBltOCK(((3072 - SichtX) % 1920) - 640, ((2274 - SichtY) % 1440) - 480, 300, 350, SurfNebel4, 0, 0);
    // The small one drifts a pixel right every 38 ms and a pixel down every 25 ms.
    ddBitBlt((nearest(Spielzeit / 38.0 + 1920 - SichtX) % 1920) - 640,
             (nearest(Spielzeit / 25.0 + 1440 - SichtY) % 1440) - 480, 150, 250, SurfNebel2, 0, 0);
}

void Vorlanix::DrawDoors() {
    // At the start of a game the two halves of the menu panel slide apart within one second ...
    if (Spielzeit < 1000) {
        const double s = static_cast<double>(int64_t{Spielzeit} * Spielzeit * 320);
        ddBitBltOCK(nearest(34 - s / 1000000), 30, 286, 360, SurfMenue, 0, 0);
        ddBitBltOCK(nearest(s / 1000000 + 320), 30, 286, 360, SurfMenue, 286, 0);
    }
    // ... and close again during the grace second after the time ran out.
    const double r = 100000 - (static_cast<double>(Zeitversatz) + Spielzeit);
    if (r < 0) {
        const int64_t q = nearest(r);
        if (q * q < 1000000) {
            const double s = static_cast<double>(q * q * 320);
            ddBitBltOCK(nearest(s / 1000000 - 286), 30, 286, 360, SurfMenue, 0, 0);
            ddBitBltOCK(nearest(640 - s / 1000000), 30, 286, 360, SurfMenue, 286, 0);
        }
    }
}

void Vorlanix::DrawPointer() {
    // In the final phase the crosshair spins through its six cells.
    const int32_t c = Endphase != False ? (Spielzeit / 60) % 6 : 0;
    ddBitBlt(MausPos[0] - 20, MausPos[1] - 12, 41, 25, SurfPointer, c * 41, 0);
}

}  // namespace vorlanix
