// SPDX-License-Identifier: GPL-3.0-or-later
// The public part of a game: its replay from the START to the fixed result, with nothing personal
// in it (no names, no form entries, no typed text, no paths). It re-simulates on its own to the
// same result, so it can be published; what proves an upload file's personal bytes stays private.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "app/vorlanix.h"

namespace replay {

// Clears what a player typed or where the files lie: names of the list, the player's name, the
// form entries, message lines (they may show a path), the sound directory.
void ForgetPersonal(vorlanix::Vorlanix& game);

// The keys typed after play are the player's name: a public game leaves them out. The arrows and
// Escape are no text.
bool IsTypedText(uint8_t eventKind, int64_t code);

// The inputs of a public game from its START to its result, as one number: every record but the
// state at the START and the state hashes. The same game renamed, or re-recorded at another clock,
// keeps its key. Throws ReplayStop when the file is not a replay.
uint64_t GameKey(std::span<const uint8_t> publicGame);

}  // namespace replay
