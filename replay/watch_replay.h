// SPDX-License-Identifier: GPL-3.0-or-later
// Watching a replay from its beginning to its end or the viewer's Escape, with the jumps back
// that re-simulate it from the beginning. The replay itself is played as every proof plays it.
#pragma once

#include <cstdint>
#include <span>

#include "replay/play_replay.h"
#include "replay/watching_platform.h"

namespace replay {

// Never throws for anything in the file, as PlayReplay; what the output or a script throws
// (a script's end) passes through.
ReplayOutcome WatchReplay(std::span<const uint8_t> file, const WatchOptions& options);

}  // namespace replay
