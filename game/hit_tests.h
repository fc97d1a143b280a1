// SPDX-License-Identifier: GPL-3.0-or-later
// The two kinds of test a shot meets: open boxes around a figure, and reads of the very picture
// cell the figure is drawn with, where black (the colour key) is empty.
#pragma once

#include <cstdint>

#include "app/numbers.h"
#include "platform/surface.h"

namespace vorlanix {

// How far into a figure's box a shot lies along one axis.
inline int32_t ShotOffset(double shot, double figure, double offset = 0) { return nearest(shot - figure + offset); }

// Boxes are open at their near edge: an offset of 0 is outside, 1 .. limit - 1 inside.
inline bool InBox(int32_t d, int32_t limit) { return d >= 1 && d < limit; }

// A picture locked read-only on one cell for as long as this lives. A missing picture is drawn
// nowhere and reads as empty; a lock the surface refuses is a run-time error of the game loop.
class LockedCell {
  public:
    LockedCell(platform::Surface* picture, platform::Rect cell);
    ~LockedCell();
    LockedCell(const LockedCell&) = delete;
    LockedCell& operator=(const LockedCell&) = delete;

    // The pixel at (x, y) of the picture; a point outside the cell counts as empty and is not read.
    uint16_t Pixel(int32_t x, int32_t y) const;

  private:
    platform::Surface* picture_;
    platform::Rect cell_;
};

// A hit where the pixel at (x, y) is not black.
bool OnePointHit(platform::Surface* picture, platform::Rect cell, int32_t x, int32_t y);
// A hit where any of the four points 2 pixels left of, above, right of and below (x, y) is not black.
bool FourPointHit(platform::Surface* picture, platform::Rect cell, int32_t x, int32_t y);

}  // namespace vorlanix
