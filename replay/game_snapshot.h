// SPDX-License-Identifier: GPL-3.0-or-later
// The program's whole state at a game's START as bytes, so a replay can begin there: every field
// of the game object and the random generator. Pictures are not part of it: the game reloads every
// picture it changes (the planets' craters) when a game starts.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/vorlanix.h"

namespace replay {

std::vector<uint8_t> SaveSnapshot(const vorlanix::Vorlanix& game);

// The sound copies the program has made so far; a replay from a START makes them again first.
int LoadedSoundCopies(const vorlanix::Vorlanix& game);

// False with the reason when the bytes are not a snapshot of this program's fields.
bool RestoreSnapshot(vorlanix::Vorlanix& game, std::span<const uint8_t> bytes, std::string& error);

}  // namespace replay
