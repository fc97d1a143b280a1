// SPDX-License-Identifier: GPL-3.0-or-later
// A proof accepts only a record of play: a test driver's direct write of the state, or a recording
// without its state hashes, proves nothing on any path, while such replays still re-simulate.
#include <gtest/gtest.h>

#include "replay/format.h"
#include "replay/play_replay.h"
#include "replay/prove.h"
#include "replay/records.h"
#include "tests/replay/qhs_tool.h"
#include "tests/replay/recorded_game.h"

using replay::Verdict;

namespace {

// The replay with its state hashes dropped: every one (`all`), or only the one at the end zeroed.
std::vector<uint8_t> withoutHashes(const std::vector<uint8_t>& file, bool all) {
    replay::ReplayFile f = replay::DecodeReplay(file);
    replay::ByteReader in(f.stream);
    replay::ByteWriter out;
    while (!in.atEnd()) {
        const size_t start = in.position();
        const uint8_t tag = in.u8();
        replay::SkipFields(in, tag);
        if (tag == static_cast<uint8_t>(replay::Tag::Hash) && all) continue;
        if (tag == static_cast<uint8_t>(replay::Tag::End)) {
            replay::PutRecord(out, replay::EndRecord{0});
            continue;
        }
        out.data().insert(out.data().end(), f.stream.begin() + static_cast<long>(start),
                          f.stream.begin() + static_cast<long>(in.position()));
    }
    return replay::EncodeReplay(f.header, out.data());
}

}  // namespace

TEST(ProofOfPlay, ASetLineOrMissingHashesProveNothingWhileTheReplayStillRepeats) {
    const auto& cheat = recorded_game::GetWithSetLine();
    ASSERT_EQ(cheat.upload.size(), 332u);
    const auto& fair = recorded_game::Get();
    struct Case {
        const char* what;
        std::vector<uint8_t> replay;
        const std::vector<uint8_t>& upload;
        Verdict want;
    } cases[] = {
        {"a set line in the whole run", cheat.wholeRun, cheat.upload, Verdict::DriverInput},
        {"a set line in the kept game", cheat.kept, cheat.upload, Verdict::DriverInput},
        {"no state hashes at all", withoutHashes(fair.wholeRun, true), fair.upload, Verdict::Unhashed},
        {"an end hash of 0", withoutHashes(fair.kept, false), fair.upload, Verdict::Unhashed},
        {"the kept game as played", fair.kept, fair.upload, Verdict::Proved},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(replay::ProveUpload(c.replay, c.upload, std::chrono::seconds(30)).verdict, c.want) << c.what;
        // Tests still re-simulate it.
        EXPECT_EQ(replay::PlayReplay(c.replay, {}).kind, replay::StopKind::Ended) << c.what;
    }

    TempDir dir;
    write_bytes(dir / "cheat.vxr", cheat.wholeRun);
    write_bytes(dir / "cheat.qhs", cheat.upload);
    const auto verified = qhs_tool::Run(
        dir, "verify --replay '" + (dir / "cheat.vxr").string() + "' '" + (dir / "cheat.qhs").string() + "'");
    EXPECT_EQ(verified.code, 1) << verified.out;
    EXPECT_NE(verified.out.find("set line"), std::string::npos) << verified.out;
    const auto ranked = qhs_tool::Run(
        dir, "rank --csv --replay-dir '" + dir.path().string() + "' '" + (dir / "cheat.qhs").string() + "'");
    EXPECT_NE(ranked.out.find("cheat.qhs,unproved"), std::string::npos) << ranked.out;
}
