// SPDX-License-Identifier: GPL-3.0-or-later
// The raw surface operations the game and menu frames use besides the clipped blit family:
// unclipped copies (the menu panel and page, the scratch canvas, the bottom panel), the scaled
// moon frames and page fades, and the colour fills. A surface whose picture is not loaded draws
// nothing, exactly like a copy the platform refuses.
#pragma once

#include "app/vorlanix.h"

namespace vorlanix {

inline void CopyUnclipped(const Surf& target, int32_t x, int32_t y, const Surf& source, platform::Rect r, bool keyed) {
    if (target && source) target->BltFast(x, y, *source, r, keyed);
}

inline void CopyScaled(const Surf& target, platform::Rect to, const Surf& source, platform::Rect from) {
    if (target && source) target->Blt(to, *source, from);
}

inline void FillRect(const Surf& target, platform::Rect r, uint32_t raw) {
    if (target) target->BltColorFill(r, raw);
}

}  // namespace vorlanix
