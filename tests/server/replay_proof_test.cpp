// SPDX-License-Identifier: GPL-3.0-or-later
// Uploads proved by the recorded games of tests/replay/corpus: the real file proves, a changed one or a
// foreign, broken or too slow replay is refused, and a proved entry offers its replay.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "replay/format.h"
#include "tests/server/recorded_games.h"
#include "server/upload_desk.h"
#include "tests/server/proof_wait.h"
#include "tests/server/running_server.h"
#include "tests/server/upload_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

using bestenliste::Reason;

TEST(ReplayProof, ARecordedGameProvesItsOwnUploadAndNothingElse) {
    const auto& game = game_with_upload();
    const auto tampered = with_nickname(game.upload, "Faker");
    ASSERT_EQ(score::check_upload(tampered).fault, score::UploadFault::None);
    const std::vector<uint8_t> garbage = {'V', 'X', 'R', 0, 1, 2, 3};

    TempDir dir;
    bestenliste::EntryStore store("", dir.path(), 1);
    bestenliste::UploadDesk desk(store);
    bestenliste::UploadDesk hurried(store, bestenliste::UploadDesk::system_milliseconds, std::chrono::milliseconds(0));
    struct Case {
        const char* what;
        bestenliste::UploadDesk& desk;
        std::vector<uint8_t> upload, replay;
        Reason reason;
    };
    const std::vector<Case> cases = {
        {"a changed nickname", desk, tampered, game.replay, Reason::ReplayMismatch},
        {"a game that wrote no upload file", desk, game.upload, game_without_upload().replay, Reason::ReplayMismatch},
        {"a broken replay", desk, game.upload, garbage, Reason::ReplayUnreadable},
        {"no time to re-simulate", hurried, game.upload, game.replay, Reason::ReplayTimedOut},
        {"the game's own file", desk, game.upload, game.replay, Reason::Accepted},
        {"the same again", desk, game.upload, game.replay, Reason::Duplicate},
    };
    for (const auto& c : cases) {
        const auto outcome = c.desk.take(c.upload, std::span<const uint8_t>(c.replay));
        EXPECT_EQ(outcome.reason, c.reason) << c.what;
        if (outcome.reason == Reason::Accepted) {
            EXPECT_TRUE(outcome.proved);
            // What is kept is the game's public part, not the file sent.
            const auto kept = store.replay(outcome.id);
            ASSERT_TRUE(kept);
            EXPECT_EQ(replay::DecodeHeader(*kept).kind, replay::ReplayKind::GameOnly);
        }
    }
    EXPECT_EQ(store.total(), 1);
}

httplib::Result post(httplib::Client& client, const std::string& path, const std::vector<uint8_t>& upload,
                     const std::vector<uint8_t>& replay) {
    return client.Post(path.c_str(),
                       httplib::MultipartFormDataItems{{"qhs", std::string(upload.begin(), upload.end()), "a.qhs", ""},
                                                       {"replay", std::string(replay.begin(), replay.end()), "", ""}});
}

TEST(ReplayProof, AProvedUploadIsMarkedAndItsReplayDownloadsWhileAnEmptyReplayFieldProvesNothing) {
    const auto& game = game_with_upload();
    RunningServer server;
    auto client = server.client();
    auto res = post(client, "/api/upload", game.upload, game.replay);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 202) << res->body;
    const auto queued = nlohmann::json::parse(res->body);
    EXPECT_EQ(queued["state"], "pending");
    const auto settled = settled_entry(client, queued["id"].get<int64_t>());
    EXPECT_EQ(settled["state"], "proved") << settled;
    EXPECT_EQ(settled["rank"], 1);
    // The form posts its replay field empty when no file was chosen.
    res = post(client, "/hochladen", upload_bytes("Plain", 700), {});
    EXPECT_EQ(res->status, 201);
    EXPECT_NE(res->body.find("unbewiesen"), std::string::npos);

    auto entries = server.store().page(bestenliste::Listing::Proved, 0, 10);
    const auto unproved = server.store().page(bestenliste::Listing::Unproved, 0, 10);
    entries.insert(entries.end(), unproved.begin(), unproved.end());
    ASSERT_EQ(entries.size(), 2u);
    for (const auto& entry : entries) {
        const std::string page = "/eintrag/" + std::to_string(entry.id);
        const auto replay = client.Get((page + "/aufzeichnung").c_str());
        if (entry.nickname == "Plain") {
            EXPECT_EQ(replay->status, 404);
            continue;
        }
        EXPECT_NE(client.Get(page.c_str())->body.find("Bestenliste</a>: bewiesen"), std::string::npos);
        EXPECT_EQ(replay->status, 200);
        const std::vector<uint8_t> published(replay->body.begin(), replay->body.end());
        EXPECT_EQ(replay::DecodeHeader(published).kind, replay::ReplayKind::GameOnly);
        EXPECT_EQ(replay->get_header_value("Content-Disposition"),
                  "attachment; filename=\"vorlanix-" + std::to_string(entry.id) + ".vxr\"");
    }
}

}  // namespace
