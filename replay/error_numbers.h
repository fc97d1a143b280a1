// SPDX-License-Identifier: GPL-3.0-or-later
// Error numbers in a replay are Linux's, whichever system recorded or replays it: the game acts on
// them (a missing hiscore.dat is made anew, an unreadable one is left alone), and WebAssembly's and
// Windows' C libraries number the same errors differently.
#pragma once

#include <cstdint>

namespace replay {

int64_t PortableErrorNumber(int local);
int LocalErrorNumber(int64_t portable);

}  // namespace replay
