// SPDX-License-Identifier: GPL-3.0-or-later
// The lens on planet 0 as a target: its centre voids the game at any time; in the final phase
// the rest of the lens can be destroyed.
#include "app/vorlanix.h"
#include "game/hit_tests.h"

namespace vorlanix {

bool Vorlanix::LupeTrefferLoch() {
    if (LupeZerstoert != False) return false;

    // Within 35 pixels of the centre, (PlanetSchirmX(0) + 5, PlanetSchirmY(0) - 6): the game is
    // void and its clock runs out at once. No score number is shown. The squares are 64-bit, so a
    // shot far off cannot wrap round into the centre.
    const int64_t dx = nearest(static_cast<double>(SchussX) - (PlanetSchirmX[0] - 30) - 35);
    const int64_t dy = nearest(static_cast<double>(SchussY) - (PlanetSchirmY[0] - 41) - 35);
    if (dx * dx + dy * dy < 1225) {
        Zeitversatz = static_cast<float>(100000 - Spielzeit);
        Punktzahl = 0;
        SpielUngueltig = True;
        return true;
    }

    // Outside the final phase a shot at the rim goes on to the planets.
    if (Endphase == False) return false;
    const int32_t lx = nearest(static_cast<double>(SchussX) - (PlanetSchirmX[0] - 74));
    const int32_t ly = nearest(static_cast<double>(SchussY) - (PlanetSchirmY[0] - 47));
    bool hit = false;
    {
        const LockedCell lens(SurfLupe.get(), platform::Rect{0, 0, 119, 100});
        hit = 0 < lx && lx < 119 && 0 < ly && ly < 100 && lens.Pixel(lx, ly) != 0;
    }
    if (!hit) return false;
    LupeZerstoert = True;
    ExplosionZeit = 1;
    ExplosionX = nearest((static_cast<double>(SchussX) - PlanetSchirmX[0] - 24) / 1.2 + PlanetX[0]);
    ExplosionY = nearest((static_cast<double>(SchussY) - PlanetSchirmY[0] + 3) / 1.2 + PlanetY[0]);
    NeuPunktDarstellung(Award(500), nearest(SchussX), nearest(SchussY));
    return true;
}

}  // namespace vorlanix
