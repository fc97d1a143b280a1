// SPDX-License-Identifier: GPL-3.0-or-later
// A game object with its angle tables filled and the view where every game starts, for the tests
// of the moving world.
#pragma once

#include <gtest/gtest.h>

#include "tests/support/test_game.h"

namespace testing_support {

class WorldAtStart : public ::testing::Test {
  protected:
    WorldAtStart() {
        g.FillAngleTables();
        g.SichtX = 256;
        g.SichtY = 1216;
    }
    TestGame session;
    vorlanix::Vorlanix& g = session.game;
};

}  // namespace testing_support
