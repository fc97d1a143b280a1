// SPDX-License-Identifier: GPL-3.0-or-later
// The two satellites as targets: the three Irones riding the first, the first itself in the final
// phase, and the second with its Irone and the three switches that guard them.
#include <cmath>

#include "app/vorlanix.h"
#include "game/hit_tests.h"

namespace vorlanix {

bool Vorlanix::HitFirstSatelliteIrones() {
    if (SatelitWeg != False) return false;
    for (int32_t k = 1; k <= 3; ++k) {
        if (SatelitIroneTot[k] != 0) continue;
        if (!InBox(ShotOffset(SchussY, SatelitIroneY[k]), 34) || !InBox(ShotOffset(SchussX, SatelitIroneX[k]), 31))
            continue;
        SoundSpielen(3, 0);
        SatelitIroneTot[k] = 1;
        AwardAtShot(Award(75));
        return true;
    }
    return false;
}

bool Vorlanix::HitFirstSatellite() {
    if (SatelitWeg != False || Endphase == False || SatelitZerstoert != False) return false;
    if (SatelitIroneTot[1] == 0 || SatelitIroneTot[2] == 0 || SatelitIroneTot[3] == 0) return false;
    const int32_t dx = ShotOffset(SchussX, SatelitX);
    const int32_t dy = ShotOffset(SchussY, SatelitY);
    if (!InBox(dx, 120) || !InBox(dy, 100)) return false;
    if (!OnePointHit(SurfSatelit.get(), platform::Rect{0, 0, 120, 100}, dx, dy)) return false;
    SoundSpielen(3, 0);
    AwardAtShot(Award(150));
    SatelitZerstoert = True;
    SatelitZerstoertZeit = Spielzeit;
    return true;
}

bool Vorlanix::HitSecondSatelliteIrone() {
    if (Schalter[1] == 0 || Schalter[2] == 0 || Schalter[3] == 0 || Satelit2IroneTot[1] != 0) return false;
    if (!InBox(ShotOffset(SchussY, Satelit2IroneY[1]), 38) || !InBox(ShotOffset(SchussX, Satelit2IroneX[1]), 30))
        return false;
    SoundSpielen(3, 0);
    Satelit2IroneTot[1] = 1;
    AwardAtShot(Award(150));
    return true;
}

bool Vorlanix::HitSwitch() {
    // A satellite that has flown off for good is no longer drawn; its switches stay where it
    // was last seen and must not take shots there.
    if (Satelit2Weg != False) return false;
    static constexpr float offsetX[4] = {0, 27, 45, 90};
    static constexpr float offsetY[4] = {0, 0, 110, 63};
    // Only one switch is tested per shot: while the Irone lives they go on in the order 1, 2, 3,
    // after its death they go off in the same order.
    const bool switchOn = Satelit2IroneTot[1] == 0;
    int32_t n = 1;
    while (n <= 3 && (Schalter[n] != False) == switchOn) ++n;
    if (n > 3) return false;
    if (!(std::fabs(SchussX - (Satelit2X + offsetX[n] + 5)) < 15 &&
          std::fabs(SchussY - (Satelit2Y + offsetY[n] + 5)) < 15))
        return false;
    Schalter[n] = switchOn ? True : False;
    AwardAtShot(Award(25));
    SchalterZeit = Spielzeit;
    return true;
}

bool Vorlanix::HitSecondSatellite() {
    if (Satelit2Zerstoert != False || !(Satelit2IroneTot[1] > 0)) return false;
    if (Schalter[1] != 0 || Schalter[2] != 0 || Schalter[3] != 0) return false;
    const int32_t dx = ShotOffset(SchussX, Satelit2X);
    const int32_t dy = ShotOffset(SchussY, Satelit2Y);
    if (!InBox(dx, 100) || !InBox(dy, 120)) return false;
    if (!OnePointHit(SurfSatelit2.get(), platform::Rect{0, 0, 100, 120}, dx, dy)) return false;
    SoundSpielen(3, 0);
    AwardAtShot(Award(150));
    Satelit2Zerstoert = True;
    Satelit2ZerstoertZeit = Spielzeit;
    return true;
}

}  // namespace vorlanix
