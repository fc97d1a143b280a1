// SPDX-License-Identifier: GPL-3.0-or-later
// SDL keys to the Windows virtual key codes the game was written for.
#pragma once

#include <cstdint>

namespace platform {

// The virtual key code of an SDL key (its layout keycode and physical scancode), or 0 for a
// key the game has no code for. Letters follow the layout, as on Windows, and the key's position
// on layouts without Latin letters; the digit row always goes by position.
int16_t WindowsKeyCode(int32_t sdlKeycode, int32_t sdlScancode);

}  // namespace platform
