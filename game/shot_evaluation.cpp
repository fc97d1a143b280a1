// SPDX-License-Identifier: GPL-3.0-or-later
// One shot against every target on the screen, in a fixed order of priority: the first target
// that takes the shot ends the evaluation, so one shot hits at most one thing.
#include "app/vorlanix.h"

namespace vorlanix {

void Vorlanix::SchussAuswerten() {
    if (HitBigIrone()) return;
    if (HitRaumtank()) return;
    if (HitFirstSatelliteIrones()) return;
    if (HitFirstSatellite()) return;
    if (HitSecondSatelliteIrone()) return;
    if (HitSwitch()) return;
    if (HitSecondSatellite()) return;
    if (HitBoardIrones()) return;
    if (HitMoons(false)) return;
    if (LupeTrefferLoch()) return;
    // Each planet picture is twice its radius square; the moons behind them come only after all
    // six, so they can be hit only where no planet takes the shot.
    if (PlanetTrefferLoch(0, 50, 50, SurfStern0)) return;
    if (PlanetTrefferLoch(1, 100, 100, SurfStern1)) return;
    if (PlanetTrefferLoch(2, 75, 75, SurfStern2)) return;
    if (PlanetTrefferLoch(3, 80, 80, SurfStern3)) return;
    if (PlanetTrefferLoch(4, 60, 60, SurfStern4)) return;
    if (PlanetTrefferLoch(5, 90, 90, SurfStern5)) return;
    HitMoons(true);
}

void Vorlanix::AwardAtShot(int32_t Wert) { NeuPunktDarstellung(Wert, nearest(SchussX), nearest(SchussY)); }

}  // namespace vorlanix
