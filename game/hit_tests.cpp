// SPDX-License-Identifier: GPL-3.0-or-later
// Pixel tests on a figure's picture cell, under one read-only lock per test.
#include "game/hit_tests.h"

#include <algorithm>

#include "app/errors.h"

namespace vorlanix {

LockedCell::LockedCell(platform::Surface* picture, platform::Rect cell) : picture_(picture) {
    if (!picture_) return;
    // A picture smaller than its cell (a foreign art pack) is read only where it has pixels.
    cell_ = platform::Rect{std::max(cell.left, 0), std::max(cell.top, 0), std::min(cell.right, picture_->width()),
                           std::min(cell.bottom, picture_->height())};
    if (cell_.left >= cell_.right || cell_.top >= cell_.bottom) {
        picture_ = nullptr;
        return;
    }
    if (!picture_->Lock(cell_)) throw GameError("a picture refused its lock during a hit test");
}

LockedCell::~LockedCell() {
    if (picture_) picture_->Unlock();
}

uint16_t LockedCell::Pixel(int32_t x, int32_t y) const {
    if (!picture_ || x < cell_.left || y < cell_.top || x >= cell_.right || y >= cell_.bottom) return 0;
    return picture_->GetLockedPixel(x, y);
}

bool OnePointHit(platform::Surface* picture, platform::Rect cell, int32_t x, int32_t y) {
    const LockedCell locked(picture, cell);
    return locked.Pixel(x, y) != 0;
}

bool FourPointHit(platform::Surface* picture, platform::Rect cell, int32_t x, int32_t y) {
    const LockedCell locked(picture, cell);
    return locked.Pixel(x - 2, y) != 0 || locked.Pixel(x, y - 2) != 0 || locked.Pixel(x + 2, y) != 0 ||
           locked.Pixel(x, y + 2) != 0;
}

}  // namespace vorlanix
