// SPDX-License-Identifier: GPL-3.0-or-later
// Code page 1252 against UTF-8: every byte survives the round trip, and what the code page
// lacks is reported, not guessed.
#include "base/cp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1252, EveryByteSurvivesTheWayThroughUtf8) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    EXPECT_EQ(cp1252::from_utf8(cp1252::to_utf8(all)), all);
    EXPECT_EQ(cp1252::to_utf8("\x80 \xC4\xD6\xDC\xE4\xF6\xFC\xDF"),
              "\xE2\x82\xAC \xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F");
}

TEST(Cp1252, CodePointsWithoutAByteAreReported) {
    EXPECT_EQ(cp1252::from_code_point(U'\u00E4'), 0xE4);
    EXPECT_EQ(cp1252::from_code_point(U'\u20AC'), 0x80);
    EXPECT_EQ(cp1252::from_code_point(U'\u2019'), 0x92);
    EXPECT_EQ(cp1252::from_code_point(U'A'), 'A');
    EXPECT_EQ(cp1252::from_code_point(U'\u0100'), std::nullopt);
    EXPECT_EQ(cp1252::from_code_point(U'\u4E2D'), std::nullopt);
    EXPECT_EQ(cp1252::from_code_point(U'\U0001F600'), std::nullopt);
}

TEST(Cp1252, MalformedUtf8BecomesTheReplacement) {
    // A lone continuation byte, a cut sequence, an overlong "/" and an encoded surrogate.
    EXPECT_EQ(cp1252::from_utf8("a\x80"
                                "b\xC3"),
              "a?b?");
    EXPECT_EQ(cp1252::from_utf8("\xC0\xAF"), "??");
    EXPECT_EQ(cp1252::from_utf8("\xED\xA0\x80"), "???");
    EXPECT_EQ(cp1252::from_utf8("\xE4\xB8\xAD!", '_'), "_!");
}

}  // namespace
