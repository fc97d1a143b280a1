// SPDX-License-Identifier: GPL-3.0-or-later
// The moving objects at the start of a game: random drifting bases and speeds for every Irone on
// a board, and the nine Raumtanks at their nine heights.
#include "app/vorlanix.h"

namespace vorlanix {

void Vorlanix::SetUpObjects() {
    for (int i = 1; i <= 60; ++i) {
        warte(1);
        // The spread of the bases grows with the parallax of the figure's layer.
        const double f = i < 16 ? 1.8 : i < 31 ? 1.6 : i <= 45 ? 1.4 : 1.1;
        // 2^24 keeps every later Mod positive; as a float the base is then a whole even number.
        ObjBasisX[i] = static_cast<float>(rnd() * 3 * 640 * f + 16777216);
        ObjBasisY[i] = static_cast<float>(rnd() * 3 * 480 * f + 16777216);
        ObjVX[i] = nearest(rnd() * 100.0f + 0.01);
        if (rnd() * 100.0f > 50) ObjVX[i] = -ObjVX[i];
        ObjVY[i] = nearest(rnd() * 50.0f + 0.01);
        if (rnd() * 100.0f > 50) ObjVY[i] = -ObjVY[i];
        ObjBild[i] = 0;
        ObjTot[i] = 0;
    }
    static constexpr int32_t height[10] = {0, 1, 5, 6, 3, 9, 7, 10, 2, 4};
    for (int i = 46; i <= 54; ++i) ObjBasisY[i] = static_cast<float>(height[i - 45] * 144 + 16777216);
}

}  // namespace vorlanix
