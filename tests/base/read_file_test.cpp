// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the start of a file: a generous limit costs nothing for a small file.
#include <gtest/gtest.h>

#include "base/read_file.h"
#include "tests/support/temp_dir.h"

TEST(ReadFile, ASmallFileUnderAGenerousLimitTakesOnlyItsOwnSize) {
    TempDir dir;
    write_bytes(dir / "small", {1, 2, 3, 4, 5});
    const auto read = base::read_file_start(dir / "small", 64u << 20);
    EXPECT_EQ(read.bytes, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(read.size, 5u);
    EXPECT_LT(read.bytes.capacity(), 4096u);
    // The limit still cuts a larger file short.
    EXPECT_EQ(base::read_file_start(dir / "small", 3).bytes, (std::vector<uint8_t>{1, 2, 3}));
}
