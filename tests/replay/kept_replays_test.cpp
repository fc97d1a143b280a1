// SPDX-License-Identifier: GPL-3.0-or-later
// The replays kept beside hiscore.dat: the last game always, listed results under their date,
// pruned to the newest twenty plus those whose result still stands on the list.
#include <gtest/gtest.h>

#include <array>
#include <ctime>
#include <filesystem>
#include <vector>

#include "replay/kept_replays.h"
#include "tests/support/temp_dir.h"

TEST(KeptReplays, TheNewestTwentyAndTheListedOnesStay) {
    TempDir data;
    const std::vector<uint8_t> file = {1, 2, 3};
    // The list holds the result of the oldest game only; the others fell out of it.
    const std::array<int32_t, 9> list = {0, 9000, 28800, 28800, 28800, 28800, 28800, 28800, 28800};
    const std::time_t start = 1'800'000'000;
    std::string error;
    for (int k = 0; k < 23; ++k) {
        const replay::FinishedGame game{start + k * 600, true, k == 0 ? 9000 : 12000 + k};
        ASSERT_TRUE(replay::KeepReplay(data.path(), file, game, list, error)) << error;
    }
    // A game that did not enter the list is only the last one.
    const std::vector<uint8_t> unlisted = {4};
    ASSERT_TRUE(replay::KeepReplay(data.path(), unlisted, {start + 99999, false, 20000}, list, error)) << error;

    const auto names = names_in(data / "replays");
    EXPECT_EQ(names.size(), 1u + 20u + 1u);
    EXPECT_EQ(read_bytes(data / "replays" / "last.vxr"), std::vector<uint8_t>{4});
    auto kept = [&](const replay::FinishedGame& g) {
        return std::filesystem::exists(data / "replays" / replay::ReplayNameFor(g));
    };
    EXPECT_TRUE(kept({start, true, 9000}));             // oldest, but on the list
    EXPECT_FALSE(kept({start + 600, true, 12001}));     // pruned
    EXPECT_FALSE(kept({start + 1200, true, 12002}));    // pruned
    EXPECT_TRUE(kept({start + 3 * 600, true, 12003}));  // the oldest of the newest twenty
    EXPECT_EQ(replay::ReplayNameFor({start, true, 9000}), "2027-01-15_08-00-00_9000-days.vxr");
}
