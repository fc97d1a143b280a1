// SPDX-License-Identifier: GPL-3.0-or-later
// The number conventions every rule relies on.
#include <gtest/gtest.h>

#include "app/numbers.h"

using vorlanix::nearest;
using vorlanix::tickDiff;

TEST(Numbers, NearestRoundsHalvesToEven) {
    const struct {
        double v;
        int32_t want;
    } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-7.6, -8}};
    for (const auto& c : cases) EXPECT_EQ(nearest(c.v), c.want) << c.v;
}

TEST(Numbers, IntegerDivisionTruncatesAndModKeepsTheLeftSign) {
    EXPECT_EQ(-7 / 2, -3);
    EXPECT_EQ(-1 / 1024, 0);
    EXPECT_EQ(-7 % 3, -1);
    // The view position adds 2^24 so the left operand of Mod stays positive.
    EXPECT_EQ((0 / 1024 + 16777216) % 1920, 256);
    EXPECT_EQ((0 / 1024 + 16777216) % 1440, 1216);
}

TEST(Numbers, TickDifferencesSurviveTheCounterWrap) {
    EXPECT_EQ(tickDiff(5u, 0xFFFFFFF0u), 21);
    EXPECT_EQ(tickDiff(0xFFFFFFF0u, 5u), -21);
    EXPECT_EQ(tickDiff(1000u, 400u), 600);
}
