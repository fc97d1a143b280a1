// SPDX-License-Identifier: GPL-3.0-or-later
// A proof accepts only a record of play: a test driver's direct write of the state, or a recording
// without its state hashes, proves nothing on any path, while such replays still re-simulate.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/vorlanix.h"
#include "platform/headless/headless_platform.h"
#include "replay/format.h"
#include "replay/play_replay.h"
#include "replay/prove.h"
#include "replay/game_snapshot.h"
#include "replay/records.h"
#include "replay/start_check.h"
#include "tests/replay/qhs_tool.h"
#include "tests/replay/recorded_game.h"
#include "tests/support/headless_run.h"

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

// The state at the START that a replay from a START begins with.
std::vector<uint8_t> stateAtStart(const std::vector<uint8_t>& file) {
    const replay::ReplayFile f = replay::DecodeReplay(file);
    replay::ByteReader in(f.stream);
    EXPECT_EQ(in.u8(), static_cast<uint8_t>(replay::Tag::Snapshot));
    const auto record = replay::GetFields<replay::SnapshotRecord>(in);
    return {record.state.begin(), record.state.end()};
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

TEST(ProofOfPlay, AStateAtStartNoProgramCanHaveProvesNothing) {
    // Driver lines on the menu leave no trace in the game's own replay but its state at the START.
    const auto& forged = recorded_game::GetWithStartSetOnTheMenu();
    ASSERT_EQ(forged.upload.size(), 332u);
    const auto proof = replay::ProveUpload(forged.kept, forged.upload, std::chrono::seconds(30));
    EXPECT_EQ(proof.verdict, Verdict::BadStart) << proof.message;
    EXPECT_EQ(replay::PlayReplay(forged.kept, {}).kind, replay::StopKind::Ended);

    TempDir dir;
    write_bytes(dir / "forged.vxr", forged.kept);
    write_bytes(dir / "forged.qhs", forged.upload);
    const auto verified = qhs_tool::Run(
        dir, "verify --replay '" + (dir / "forged.vxr").string() + "' '" + (dir / "forged.qhs").string() + "'");
    EXPECT_EQ(verified.code, 1) << verified.out;
    EXPECT_NE(verified.out.find("START"), std::string::npos) << verified.out;
}

TEST(ProofOfPlay, AtStartOnlyWhatStartSetsAgainOrTheMenuGivesMayDiffer) {
    const auto state = stateAtStart(recorded_game::Get().kept);
    platform::HeadlessPlatform headless;
    vorlanix::Vorlanix game(headless);
    using G = vorlanix::Vorlanix;
    struct Case {
        const char* what;
        std::function<void(G&)> change;
        std::string refused;  // the field named, empty when the state is one a program can have
    } cases[] = {
        {"as played", [](G&) {}, ""},
        {"the menu's switches as the menu sets them", [](G& g) { g.NebelAn = g.SoundAn = g.MusikAn = vorlanix::False; },
         ""},
        {"another list, name and page", [](G& g) { g.HSTage[1] = 5, g.SpielerName = "Moritz", g.AktMenue = 4; }, ""},
        {"a last game's objects, placed again at START", [](G& g) { g.ObjX[3] = 77, g.Munition = 3; }, ""},
        {"a switch the menu never gives", [](G& g) { g.SoundAn = 1; }, "SoundAn holds 1"},
        {"a sound copy half made", [](G& g) { g.SoundGeladen[2][1] = 2; }, "SoundGeladen[2][1] holds 2"},
        {"a glyph table", [](G& g) { g.PosGross[4] = 0; }, "PosGross[4] holds 0"},
        {"no display", [](G& g) { g.DDBereit = vorlanix::False; }, "DDBereit holds 0"},
        {"another white", [](G& g) { g.FarbeWeiss = 0; }, "FarbeWeiss holds 0"},
        {"a shaken picture", [](G& g) { g.BildVersatzX = 40; }, "BildVersatzX holds 40"},
    };
    for (const Case& c : cases) {
        std::string error;
        ASSERT_TRUE(replay::RestoreSnapshot(game, state, error)) << error;
        c.change(game);
        EXPECT_EQ(replay::ImpossibleAtStart(game), c.refused) << c.what;
    }
}

TEST(ProofOfPlay, EveryStartOfTheRecordedGamesIsOneAProgramHas) {
    // Each game of the corpus and of a session of two games (the second starts where the first
    // left the program), cut out as its public part, begins with a state at its START that a
    // proof takes; so do the corpus replays that begin at a START.
    std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
    const std::filesystem::path dir = std::filesystem::path(VORLANIX_SOURCE_DIR) / "tests" / "replay" / "corpus";
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.path().extension() == ".vxr") files.emplace_back(e.path().filename().string(), read_bytes(e.path()));
    TempDir data;
    const std::string game = R"(
        click left 120 100
        run 3000
        click left 400 300
        run 500
        press left 200 300
        run 700
        release left 200 300
        run-until AktMenue == 8 300000
        run-until EndeAnimationLaeuft == 0
        run 50
    )";
    const auto session = testing_support::RunHeadless(
        "run 100\nrelease left 300 200\nrun 100\n" + game + "click left 243 305\nrun 100\n" + game,
        {.dataDir = data.path(), .seed = 9, .record = data.path() / "run.vxr"});
    ASSERT_EQ(session.exitCode, 0);
    files.emplace_back("two games", read_bytes(data / "run.vxr"));

    size_t starts = 0;
    for (const auto& [name, file] : files) {
        SCOPED_TRACE(name);
        replay::PlayOptions exporting;
        exporting.publicGames = true;
        const auto games = replay::PlayReplay(file, exporting).publicGames;
        if (name == "two games") {
            EXPECT_EQ(games.size(), 2u);
        }
        for (const auto& g : games) {
            replay::PlayOptions proof;
            proof.proof = true;
            const auto outcome = replay::PlayReplay(g.file, proof);
            EXPECT_EQ(outcome.kind, replay::StopKind::Ended) << outcome.message;
            ++starts;
        }
        if (replay::DecodeReplay(file).header.kind == replay::ReplayKind::FromStart) {
            platform::HeadlessPlatform headless;
            vorlanix::Vorlanix program(headless);
            std::string error;
            ASSERT_TRUE(replay::RestoreSnapshot(program, stateAtStart(file), error)) << error;
            EXPECT_EQ(replay::ImpossibleAtStart(program), "");
            ++starts;
        }
    }
    EXPECT_GE(starts, 9u);
}
