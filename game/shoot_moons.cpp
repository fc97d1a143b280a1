// SPDX-License-Identifier: GPL-3.0-or-later
// Moons and Irone stations as targets, and the fragments they break into. The same test runs
// twice per shot: for the moons in front of their planets before the lens and the planets, and
// for those behind them after.
#include "app/vorlanix.h"
#include "game/hit_tests.h"

namespace vorlanix {

bool Vorlanix::HitMoons(bool behind) {
    for (int32_t i = 1; i <= 5; ++i) {
        for (int32_t j = 1; j <= 3; ++j) {
            if ((MondHinten[i][j] != False) != behind) continue;
            if (MondTot[i][j] != 0) {
                for (int32_t k = 1; k <= 3; ++k) {
                    if (SplitterTot[i][j][k] != 0) continue;
                    if (!InBox(ShotOffset(SchussY, SplitterSchirmY[i][j][k], 13), 25) ||
                        !InBox(ShotOffset(SchussX, SplitterSchirmX[i][j][k], 13), 25))
                        continue;
                    SoundSpielen(11, 0);
                    SplitterTot[i][j][k] = 1;
                    AwardAtShot(Award(15));
                    // In the final phase every fragment wins a second.
                    if (Endphase != False) Zeitversatz -= 1000;
                    return true;
                }
                continue;
            }
            if (!InBox(ShotOffset(SchussY, MondSchirmY[i][j], 18), 35) ||
                !InBox(ShotOffset(SchussX, MondSchirmX[i][j], 18), 35))
                continue;
            SoundSpielen(10, 0);
            MondTot[i][j] = 1;
            // Ordinary moons are innocent until the final phase; Irone stations always pay.
            if (MondArt[i][j] != 0)
                AwardAtShot(Endphase != False ? Award(50) : Award(-50));
            else
                AwardAtShot(Award(15));
            for (int32_t k = 1; k <= 3; ++k) {
                SplitterStartX[i][j][k] = MondX[i][j];
                SplitterStartY[i][j][k] = MondY[i][j];
                SplitterZeit[i][j][k] = Spielzeit;
                SplitterTot[i][j][k] = 0;
            }
            return true;
        }
    }
    return false;
}

}  // namespace vorlanix
