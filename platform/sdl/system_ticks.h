// SPDX-License-Identifier: GPL-3.0-or-later
// The machine's millisecond tick count, the clock every loop of the game reads.
#pragma once

#include <cstdint>

namespace platform {

// Milliseconds since the system started on the monotonic clock (time spent suspended is not
// counted), kept to 32 bits: the count wraps after 49.7 days, and the game takes every
// difference of two counts as a signed 32-bit difference.
uint32_t SystemTickCount();

}  // namespace platform
