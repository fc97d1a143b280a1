// SPDX-License-Identifier: GPL-3.0-or-later
// The recorded games of tests/replay/corpus/ guard the rules: each must re-simulate in sync with every
// state hash it holds and give the results written beside it. A change of the rules that alters
// play fails here; the replays are then recorded again with a raised simulation version.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "replay/play_replay.h"
#include "tests/support/temp_dir.h"

TEST(ReplayCorpus, EveryRecordedGameRepeatsWithItsResults) {
    const std::filesystem::path dir = std::filesystem::path(VORLANIX_SOURCE_DIR) / "tests" / "replay" / "corpus";
    int games = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        if (e.path().extension() != ".vxr") continue;
        SCOPED_TRACE(e.path().filename().string());
        const auto outcome = replay::PlayReplay(read_bytes(e.path()), {});
        EXPECT_EQ(outcome.kind, replay::StopKind::Ended) << outcome.message;
        std::string lines;
        for (size_t k = 0; k < outcome.games.size(); ++k) lines += replay::DescribeGame(k + 1, outcome.games[k]) + "\n";
        auto expected = read_bytes(std::filesystem::path(e.path()).replace_extension(".txt"));
        EXPECT_EQ(lines, std::string(expected.begin(), expected.end()));
        ++games;
    }
    EXPECT_GE(games, 4);
}
