// SPDX-License-Identifier: GPL-3.0-or-later
// One number for the whole state of the game object, so that two runs can be compared frame by
// frame: equal states give equal hashes on every build and machine.
#pragma once

#include <cstdint>

#include "app/vorlanix.h"

namespace vorlanix {

uint64_t StateHash(const Vorlanix& game);

}  // namespace vorlanix
