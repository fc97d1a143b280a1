// SPDX-License-Identifier: GPL-3.0-or-later
// A game object on the headless backend that runs games directly, without the title and the
// menu: display and sound set up as the program does, and an optional script driving a game.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/game_state_access.h"
#include "app/vorlanix.h"
#include "platform/headless/headless_platform.h"

namespace testing_support {

class TestGame {
  public:
    // With sound, the thirteen slots are loaded from the generated wave files and switched on.
    explicit TestGame(uint32_t seed = 1, bool sound = false);

    // Runs one game (Schleife). With a script, its lines drive the game from its first pump on.
    // Returns the script's code when the script ends first (0 all held, 1 an expect failed,
    // 2 a script error); when the game ends first, -1, or 1 if an expect had already failed.
    int Play(const std::string& script = "");

    // The sound operations logged so far, as "slot:op" words, from entry `from` on.
    std::string SoundsSince(size_t from) const;

    platform::HeadlessPlatform headless;
    vorlanix::Vorlanix game;

  private:
    std::unique_ptr<vorlanix::GameStateAccess> state_;
};

}  // namespace testing_support
