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

// What a game did in play, as one number, taken frame by frame during a re-simulation: the game's
// time, the pointer, keys and view, the shots, the score and the enemies' places. A frame that
// changes none of them (a pause, a repeated frame) adds nothing, and the clock's reading, the
// names, the menu and the way the file spells its records are not part of it: the same game sent
// again renamed, padded with input that changes nothing or re-recorded at another clock keeps its
// key.
class PlayKey {
  public:
    void Frame(const vorlanix::Vorlanix& game);
    uint64_t value() const { return key_; }

  private:
    uint64_t key_ = 0xcbf29ce484222325ULL;
    uint64_t last_ = 0;
};

}  // namespace replay
