// SPDX-License-Identifier: GPL-3.0-or-later
// The angle tables every path and orbit reads: 1024 steps around a circle of 2 x 3.1415 (the
// game's own pi), as floats and as whole numbers scaled by 1024.
#include <cmath>

#include "app/vorlanix.h"

namespace vorlanix {

void Vorlanix::FillAngleTables() {
    for (int k = 0; k < 1024; ++k) {
        const double a = 2 * k * 3.1415 / 1024;
        CosTab[k] = static_cast<float>(std::cos(a));
        SinTab[k] = static_cast<float>(std::sin(a));
        CosTab1024[k] = nearest(std::cos(a) * 1024);
        SinTab1024[k] = nearest(std::sin(a) * 1024);
    }
}

}  // namespace vorlanix
