// SPDX-License-Identifier: GPL-3.0-or-later
// The tick count from the system's monotonic clock.
#include "platform/sdl/system_ticks.h"

#include <ctime>

namespace platform {

uint32_t SystemTickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

}  // namespace platform
