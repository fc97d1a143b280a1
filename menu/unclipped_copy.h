// The platform's own fast copy, used by the menu where it copies without the blit family's
// clipping (the panel, the page picture, the counters painted into the bottom bar). A picture
// that is not loaded draws nothing.
#pragma once

#include "app/vorlanix.h"

namespace vorlanix {

inline void CopyUnclipped(const Surf& target, int32_t x, int32_t y, const Surf& source, platform::Rect r,
                          bool keyed) {
    if (target && source) target->BltFast(x, y, *source, r, keyed);
}

}  // namespace vorlanix
