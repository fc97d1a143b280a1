// SPDX-License-Identifier: GPL-3.0-or-later
// Replays keep Linux's error numbers on every system, so the corpus recorded on Linux replays
// elsewhere and a game recorded elsewhere proves on a Linux server.
#include <gtest/gtest.h>

#include <cerrno>

#include "replay/error_numbers.h"

TEST(ReplayErrorNumbers, FileErrorsTravelAsLinuxNumbersAndComeBackAsTheLocalOnes) {
    const struct {
        int local;
        int64_t portable;
    } cases[] = {{0, 0},       {ENOENT, 2},  {EACCES, 13}, {EEXIST, 17},       {ENOTDIR, 20},
                 {EISDIR, 21}, {ENOSPC, 28}, {EROFS, 30},  {ENAMETOOLONG, 36}, {ELOOP, 40}};
    for (const auto& c : cases) {
        EXPECT_EQ(replay::PortableErrorNumber(c.local), c.portable) << c.local;
        EXPECT_EQ(replay::LocalErrorNumber(c.portable), c.local) << c.portable;
    }
    // A number outside the table passes unchanged both ways.
    EXPECT_EQ(replay::LocalErrorNumber(replay::PortableErrorNumber(4000)), 4000);
}
