// SPDX-License-Identifier: GPL-3.0-or-later
// The replay reader's fuzz seeds and every crasher the fuzzer ever found end with an outcome.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "replay/play_replay.h"
#include "tests/support/temp_dir.h"

TEST(ReplayFuzzInputs, EachEndsWithAnOutcome) {
    const std::filesystem::path root = VORLANIX_SOURCE_DIR;
    int played = 0;
    for (const char* dir : {"fuzz/corpus/replay", "fuzz/regressions/replay"}) {
        for (const auto& e : std::filesystem::directory_iterator(root / dir)) {
            if (e.path().filename() == "README") continue;
            replay::PlayOptions options;
            options.deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            const auto outcome = replay::PlayReplay(read_bytes(e.path()), options);
            EXPECT_FALSE(outcome.message.empty()) << e.path();
            EXPECT_NE(outcome.kind, replay::StopKind::TimedOut) << e.path();
            ++played;
        }
    }
    EXPECT_GT(played, 0);
}
