// SPDX-License-Identifier: GPL-3.0-or-later
// A recorded run replays in sync, proves its upload file, and every kind of drift or damage is
// reported as such: never a crash, never a silent success.
#include <gtest/gtest.h>

#include <future>
#include <vector>

#include "replay/byte_stream.h"
#include "replay/format.h"
#include "replay/play_replay.h"
#include "replay/prove.h"
#include "score/upload_file.h"
#include "tests/replay/recorded_game.h"
#include "tests/support/headless_run.h"

using replay::StopKind;
using replay::Verdict;

namespace {

std::vector<uint8_t> reencoded(const std::vector<uint8_t>& file, void (*change)(replay::ReplayFile&)) {
    replay::ReplayFile f = replay::DecodeReplay(file);
    change(f);
    return replay::EncodeReplay(f.header, f.stream);
}

}  // namespace

TEST(Replay, ARecordedRunRepeatsInSyncWithItsGameAndUpload) {
    const auto& rec = recorded_game::Get();
    ASSERT_EQ(rec.exitCode, 0);
    ASSERT_EQ(rec.upload.size(), score::upload_file_size);

    const auto outcome = replay::PlayReplay(rec.wholeRun, {});
    EXPECT_EQ(outcome.kind, StopKind::Ended) << outcome.message;
    ASSERT_EQ(outcome.games.size(), 1u);
    EXPECT_EQ(outcome.games[0].days, rec.days);
    EXPECT_EQ(outcome.games[0].rank, 1);
    EXPECT_EQ(outcome.games[0].uploadFile.substr(0, 4), "Max_");
    EXPECT_GT(outcome.frames, 1000u);
    // The replay wrote the same upload file, in memory only.
    ASSERT_FALSE(outcome.written.empty());
    EXPECT_LT(rec.wholeRun.size(), 64u * 1024);
}

TEST(Replay, TheGameOfTheRunIsKeptFromItsStartAndReplaysOnItsOwn) {
    const auto& rec = recorded_game::Get();
    const auto dir = rec.data.path() / "replays";
    const auto last = read_bytes(dir / "last.vxr");
    ASSERT_FALSE(last.empty());
    EXPECT_LT(last.size(), 64u * 1024);
    EXPECT_EQ(replay::DecodeHeader(last).kind, replay::ReplayKind::FromStart);

    const auto outcome = replay::PlayReplay(last, {});
    EXPECT_EQ(outcome.kind, StopKind::Ended) << outcome.message;
    ASSERT_EQ(outcome.games.size(), 1u);
    EXPECT_EQ(outcome.games[0].days, rec.days);
    EXPECT_EQ(replay::ProveUpload(last, rec.upload, std::chrono::seconds(30)).verdict, Verdict::Proved);

    // The result entered the list, so the game is kept under its date and result as well.
    int dated = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        dated += e.path().filename().string().ends_with("_" + std::to_string(rec.days) + "-days.vxr");
    EXPECT_EQ(dated, 1);
}

TEST(Replay, AnUploadIsProvedOnlyByExactlyItsBytes) {
    const auto& rec = recorded_game::Get();
    auto changed = rec.upload;
    changed[20] ^= 1;
    // A run that only looks at the title.
    TempDir data;
    testing_support::RunHeadless("run 500", {.dataDir = data.path(), .record = data.path() / "title.vxr"});
    const auto titleOnly = read_bytes(data.path() / "title.vxr");
    struct Case {
        const char* what;
        std::span<const uint8_t> replay, upload;
        std::chrono::milliseconds limit;
        Verdict want;
    } cases[] = {
        {"the upload it wrote", rec.wholeRun, rec.upload, std::chrono::seconds(30), Verdict::Proved},
        {"one byte changed", rec.wholeRun, changed, std::chrono::seconds(30), Verdict::Mismatch},
        {"a short file", rec.wholeRun, std::span(rec.upload).first(100), std::chrono::seconds(30), Verdict::Mismatch},
        {"a run without a game", titleOnly, rec.upload, std::chrono::seconds(30), Verdict::NoUpload},
        {"no time at all", rec.wholeRun, rec.upload, std::chrono::milliseconds(0), Verdict::TimedOut},
        {"not a replay", rec.upload, rec.upload, std::chrono::seconds(30), Verdict::Unreadable},
    };
    for (const Case& c : cases) {
        const auto proof = replay::ProveUpload(c.replay, c.upload, c.limit);
        EXPECT_EQ(proof.verdict, c.want) << c.what << ": " << proof.message;
        EXPECT_FALSE(proof.message.empty()) << c.what;
        EXPECT_EQ(proof.message.find('\n'), std::string::npos) << c.what;
    }
}

TEST(Replay, ProofsRunSideBySideOnThreads) {
    const auto& rec = recorded_game::Get();
    std::vector<std::future<replay::Proof>> proofs;
    for (int k = 0; k < 3; ++k)
        proofs.push_back(std::async(std::launch::async, [&] {
            return replay::ProveUpload(rec.wholeRun, rec.upload, std::chrono::seconds(60));
        }));
    for (auto& p : proofs) EXPECT_EQ(p.get().verdict, Verdict::Proved);
}

TEST(Replay, DriftIsReportedAtTheFirstFrameThatShowsIt) {
    const auto& rec = recorded_game::Get();
    // Another seed gives other random paths: the state drifts while the answers stay the same.
    const auto otherSeed = reencoded(rec.wholeRun, [](replay::ReplayFile& f) { ++f.header.seed; });
    const auto outcome = replay::PlayReplay(otherSeed, {});
    EXPECT_EQ(outcome.kind, StopKind::OutOfSync);
    EXPECT_NE(outcome.message.find("out of sync at frame "), std::string::npos) << outcome.message;
    EXPECT_EQ(replay::ProveUpload(otherSeed, rec.upload, std::chrono::seconds(30)).verdict, Verdict::OutOfSync);
}

TEST(Replay, DamagedForeignAndOtherVersionFilesAreRefusedWithOneLine) {
    const auto& good = recorded_game::Get().wholeRun;
    auto flipped = good;
    flipped[flipped.size() / 2] ^= 0x40;
    const auto truncated = std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    const auto newer = reencoded(good, [](replay::ReplayFile& f) { ++f.header.simulationVersion; });
    // A stream that stops mid-run, with a valid wrapping: the program asks for more than there is.
    const auto cut = reencoded(good, [](replay::ReplayFile& f) { f.stream.resize(f.stream.size() / 3); });
    const std::vector<uint8_t> foreign = {'P', 'K', 3, 4, 0, 0};
    // A few bytes that claim a stream of 200 MB.
    replay::ByteWriter boast;
    for (char c : std::string("VXREPLAY")) boast.u8(static_cast<uint8_t>(c));
    boast.fixed(replay::kFormatVersion, 2);
    boast.fixed(replay::kSimulationVersion, 2);
    boast.text("1.0.0");
    boast.u8(0);
    boast.fixed(0, 16);
    for (int k = 0; k < 3; ++k) boast.text("");
    boast.varint(200u << 20);
    boast.fixed(0, 4);
    boast.bytes(std::vector<uint8_t>(8, 0));
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        StopKind want;
        const char* says;
    } cases[] = {
        {"empty", {}, StopKind::Unreadable, "not a Vorlanix replay"},
        {"foreign", foreign, StopKind::Unreadable, "not a Vorlanix replay"},
        {"a flipped byte", flipped, StopKind::Unreadable, "damaged"},
        {"truncated", truncated, StopKind::Unreadable, "damaged"},
        {"a stream cut short", cut, StopKind::Unreadable, "truncated"},
        {"a boast of size", boast.data(), StopKind::Unreadable, "claims"},
        {"another simulation", newer, StopKind::WrongVersion, "simulation version 2"},
    };
    for (const Case& c : cases) {
        const auto outcome = replay::PlayReplay(c.file, {});
        EXPECT_EQ(outcome.kind, c.want) << c.what << ": " << outcome.message;
        EXPECT_NE(outcome.message.find(c.says), std::string::npos) << c.what << ": " << outcome.message;
    }
}
