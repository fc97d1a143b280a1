// SPDX-License-Identifier: GPL-3.0-or-later
// The tick count on Windows: the system's own 32-bit millisecond counter, which wraps after
// 49.7 days exactly as the game expects.
#include "platform/sdl/system_ticks.h"

#include <windows.h>

namespace platform {

uint32_t SystemTickCount() { return static_cast<uint32_t>(GetTickCount()); }

}  // namespace platform
