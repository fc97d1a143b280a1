// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a replay's state at a game's START is one the program can have there. A replay that
// begins at a START brings the game's whole state with it; a proof takes it only when every field
// that START does not set again holds what the program's start gave it, and the menu's switches
// hold what the menu can give.
#pragma once

#include <string>

#include "app/vorlanix.h"

namespace replay {

// Empty when the program can be in this state at a START; otherwise the first field that says it
// cannot, with its index, e.g. "NebelAn holds 1".
std::string ImpossibleAtStart(const vorlanix::Vorlanix& game);

}  // namespace replay
