// SPDX-License-Identifier: GPL-3.0-or-later
// A planet as a target: its castle on top, then its disc pixel by pixel. A hit punches a crater
// into the planet's picture, so later shots at the same place pass through the hole.
#include "app/vorlanix.h"
#include "game/hit_tests.h"

namespace vorlanix {

bool Vorlanix::PlanetTrefferLoch(int32_t Nr, int32_t RX, int32_t RY, Surf& Bild) {
    const int32_t dx = nearest(static_cast<double>(SchussX) - PlanetSchirmX[Nr]);
    const int32_t dy = nearest(static_cast<double>(SchussY) - PlanetSchirmY[Nr]);

    // The castle stands on top of the planet; while one of its moons lives a hit only makes it
    // flash, and the shot goes on to the disc below.
    if (-27 < dx && dx < 27 && -50 - RY < dy && dy < 5 - RY && BurgTot[Nr] == 0) {
        if (MondTot[Nr][1] > 0 && MondTot[Nr][2] > 0 && MondTot[Nr][3] > 0) {
            ExplosionZeit = 1;
            BurgTot[Nr] = 1;
            ExplosionX = nearest(PlanetX[Nr] + dx / 1.2);
            ExplosionY = nearest(PlanetY[Nr] + dy / 1.2);
            NeuPunktDarstellung(Award(75), nearest(SchussX), nearest(SchussY));
            if (BurgTot[1] > 0 && BurgTot[3] > 0 && BurgTot[5] > 0)
                for (int32_t k = 46; k <= 54; ++k) ObjBild[k] = 1;
            return true;
        }
        BurgBlitz[Nr] = 10;
    }

    if (!(-RX < dx && dx < RX && -RY < dy && dy < RY && dx * dx + dy * dy < RX * RY)) return false;

    // The hit point in the picture, and which pixels of the 20 x 20 crater area were planet
    // before the hit (Loch[x + 10][y + 10] for offsets -10..9).
    const int32_t cx = dx + RX, cy = dy + RY;
    bool Loch[20][20] = {};
    bool hit = false;
    {
        const LockedCell picture(Bild.get(), platform::Rect{0, 0, 2 * RX, 2 * RY});
        // Five by five pixels: a shot into an old crater whose neighbourhood is all hole passes through.
        for (int32_t y = cy - 2; y <= cy + 2; ++y)
            for (int32_t x = cx - 2; x <= cx + 2; ++x)
                if (picture.Pixel(x, y) != 0) hit = true;
        if (hit)
            for (int32_t ox = -10; ox <= 9; ++ox)
                for (int32_t oy = -10; oy <= 9; ++oy) Loch[ox + 10][oy + 10] = picture.Pixel(cx + ox, cy + oy) != 0;
    }
    if (!hit) return false;

    SoundSpielen(9, 0);
    ExplosionZeit = 1;
    ExplosionX = nearest(PlanetX[Nr] + dx / 1.2);
    ExplosionY = nearest(PlanetY[Nr] + dy / 1.2);
    NeuPunktDarstellung(Award(-50), nearest(SchussX), nearest(SchussY));

    // The stamp goes on pixel by pixel, and only where there was planet: its rim never spills
    // into space beyond the edge or into an older hole.
    if (!SurfKrater) return true;
    for (int32_t ox = -10; ox <= 9; ++ox)
        for (int32_t oy = -10; oy <= 9; ++oy)
            if (Loch[ox + 10][oy + 10])
                Bild->BltFast(cx + ox, cy + oy, *SurfKrater, platform::Rect{ox + 10, oy + 10, ox + 11, oy + 11}, true);
    return true;
}

}  // namespace vorlanix
