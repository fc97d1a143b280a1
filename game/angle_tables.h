// SPDX-License-Identifier: GPL-3.0-or-later
// Indexing the 1024-entry angle tables.
#pragma once

#include <cstdint>

namespace vorlanix {

// v Mod 1024 for the non-negative angles of a game; a negative game time (which a normal game
// never has) still lands inside the tables instead of reading before them.
inline int angleIndex(int64_t v) {
    const int64_t m = v % 1024;
    return static_cast<int>(m < 0 ? m + 1024 : m);
}

}  // namespace vorlanix
