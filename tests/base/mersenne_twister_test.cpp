// SPDX-License-Identifier: GPL-3.0-or-later
// The game's random generator draws what std::mt19937 draws, and its state's text is the one GCC's
// library writes, so replays recorded by any build read on every other one and draw on in step.
#include "base/mersenne_twister.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

using base::MersenneTwister;

namespace {

constexpr uint32_t kSeeds[] = {0u, 1u, 4711u, MersenneTwister::kDefaultSeed, 0xffffffffu};

// The draws of a generator after `count` of them, the state's text crossing a block's end.
std::string drawsAfterReading(const std::string& text, int count) {
    MersenneTwister g(12345);
    EXPECT_TRUE(g.SetText(text));
    std::string draws;
    for (int i = 0; i < count; ++i) draws += std::to_string(g()) + ' ';
    return draws;
}

std::string libraryDraws(std::mt19937& g, int count) {
    std::string draws;
    for (int i = 0; i < count; ++i) draws += std::to_string(g()) + ' ';
    return draws;
}

}  // namespace

TEST(MersenneTwister, DrawsWhatTheLibrarysGeneratorDraws) {
    for (uint32_t seed : kSeeds) {
        MersenneTwister ours(seed);
        std::mt19937 library(seed);
        for (int i = 0; i < 20000; ++i) ASSERT_EQ(ours(), library()) << "seed " << seed << ", draw " << i;
    }
    MersenneTwister byDefault;
    EXPECT_EQ(byDefault(), std::mt19937{}());
}

TEST(MersenneTwister, StateTextReadsBackAndDrawsOnInStep) {
    for (int drawn : {0, 1, 623, 624, 625, 10000}) {
        SCOPED_TRACE(drawn);
        MersenneTwister ours(4711);
        std::mt19937 library(4711);
        for (int i = 0; i < drawn; ++i) {
            ours();
            library();
        }
        const std::string text = ours.Text();
#if defined(__GLIBCXX__)
        // GCC's library keeps the same block and position and writes them the same way.
        std::ostringstream written;
        written << library;
        EXPECT_EQ(text, written.str());
        std::mt19937 readByLibrary;
        std::istringstream(text) >> readByLibrary;
        EXPECT_EQ(readByLibrary, library);
#endif
        EXPECT_EQ(drawsAfterReading(text, 1300), libraryDraws(library, 1300));
    }
}

TEST(MersenneTwister, WordsAloneAreAUsedUpBlock) {
    MersenneTwister g(99);
    for (int i = 0; i < 624; ++i) g();
    const std::string text = g.Text();
    ASSERT_EQ(text.substr(text.rfind(' ')), " 624");
    const std::string wordsAlone = text.substr(0, text.rfind(' '));
    MersenneTwister read;
    ASSERT_TRUE(read.SetText("\n" + wordsAlone + "\t\n"));
    EXPECT_EQ(read, g);
}

TEST(MersenneTwister, RefusesTextThatIsNoStateAndKeepsItsOwn) {
    const std::string good = MersenneTwister(7).Text();
    const std::string words = good.substr(0, good.rfind(' '));
    const std::string allButOne = words.substr(0, words.rfind(' '));
    // clang-format off
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"only whitespace", " \n "},
        {"one word short", allButOne},
        {"one number too many", good + " 5"},
        {"position past the block", words + " 625"},
        {"word wider than 32 bits", "4294967296 " + allButOne.substr(allButOne.find(' ') + 1) + " 624"},
        {"negative word", "-1 " + allButOne.substr(allButOne.find(' ') + 1) + " 624"},
        {"signed word", "+1 " + allButOne.substr(allButOne.find(' ') + 1) + " 624"},
        {"hexadecimal position", words + " 0x10"},
        {"letters after a number", words + " 12x"},
        {"text after the state", good + " end"},
        {"comma between words", words + ",624"},
    };
    // clang-format on
    for (const auto& c : cases) {
        MersenneTwister g(31);
        g();
        const MersenneTwister before = g;
        EXPECT_FALSE(g.SetText(c.text)) << c.what;
        EXPECT_EQ(g, before) << c.what;
    }
}
