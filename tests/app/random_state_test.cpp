// SPDX-License-Identifier: GPL-3.0-or-later
// The random generator's state as a replay stores it: one text form on every build, so a game
// recorded in the browser (LLVM's library) re-simulates on Linux and Windows (GCC's) and back.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/support/test_game.h"

using testing_support::TestGame;

namespace {

// The next few draws, which two generators in the same state give alike.
std::string nextDraws(vorlanix::Vorlanix& g) {
    std::string draws;
    for (int i = 0; i < 700; ++i) draws += std::to_string(g.rnd()) + ' ';
    return draws;
}

}  // namespace

TEST(RandomState, EveryLibrarysFormRestoresTheSameDraws) {
    TestGame written(2, false), read(3, false);
    written.game.Randomize(4711);
    const std::string state = written.game.RandomState();
    // The stored form: the 624 words of the block and the position in it.
    std::istringstream in(state);
    std::string word;
    std::vector<std::string> words;
    while (in >> word) words.push_back(word);
    ASSERT_EQ(words.size(), 625u);
    EXPECT_EQ(words.back(), "624");
    // LLVM's library wrote the words alone, which means a used-up block.
    const std::string wordsAlone = state.substr(0, state.rfind(' '));

    const std::string expected = nextDraws(written.game);
    for (const std::string& form : {state, wordsAlone}) {
        ASSERT_TRUE(read.game.SetRandomState(form)) << form.size();
        EXPECT_EQ(nextDraws(read.game), expected) << form.size();
    }
    // Damaged states are refused.
    for (const std::string& bad :
         {std::string(), wordsAlone.substr(0, wordsAlone.rfind(' ')), state + " 7", wordsAlone + " x"})
        EXPECT_FALSE(read.game.SetRandomState(bad)) << bad.size();
}
