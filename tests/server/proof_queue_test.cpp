// SPDX-License-Identifier: GPL-3.0-or-later
// Proofs run beside the requests, from jobs in the database: an upload with a replay is answered
// before its proof, addresses take turns, and the job of a worker killed mid-proof is finished by
// another. On SQLite and on PostgreSQL.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

#include "base/cp1252.h"
#include "server/proof_queue.h"
#include "tests/server/database_fixture.h"
#include "tests/server/proof_wait.h"
#include "tests/server/recorded_games.h"
#include "tests/server/running_server.h"
#include "tests/server/server_process.h"

namespace {

using ProofQueueTest = DatabaseTest;

// Posts an upload with its replay as a client at `address` (the server is behind a proxy) and
// returns the queued entry's id, or 0 when it was not answered 202.
int64_t queue_upload(httplib::Client& client, const std::vector<uint8_t>& upload, const std::vector<uint8_t>& replay,
                     const std::string& address) {
    const auto res = client.Post(
        "/api/upload", httplib::Headers{{"X-Forwarded-For", address}},
        httplib::MultipartFormDataItems{{"qhs", std::string(upload.begin(), upload.end()), "a.qhs", ""},
                                        {"replay", std::string(replay.begin(), replay.end()), "a.vxr", ""}});
    if (!res || res->status != 202) return 0;
    const auto answer = nlohmann::json::parse(res->body);
    EXPECT_EQ(answer["state"], "pending");
    return answer["id"].get<int64_t>();
}

// A replay that re-simulates in full and then proves nothing: the game under another nickname.
std::vector<uint8_t> costly_refusal(const std::string& nickname) {
    return with_nickname(game_with_upload().upload, nickname);
}

TEST_P(ProofQueueTest, AFloodFromOneAddressDelaysAnotherAddressesProofByTheRunningJobAtMost) {
    const auto& game = game_with_upload();
    bestenliste::ServeOptions options;
    options.behind_proxy = true;
    options.workers = 1;
    RunningServer server(options, database_);
    auto client = server.client();
    client.set_read_timeout(30);

    std::vector<int64_t> flood;
    for (int k = 0; k < 8; ++k) {
        flood.push_back(queue_upload(client, costly_refusal("Flut" + std::to_string(k)), game.replay, "10.0.0.1"));
        ASSERT_NE(flood.back(), 0);
    }
    const int64_t honest = queue_upload(client, game.upload, game.replay, "10.0.0.2");
    ASSERT_NE(honest, 0);
    // Answered before its proof: the one worker is busy with the flood.
    EXPECT_EQ(
        client.Get(("/api/entry/" + std::to_string(honest)).c_str())->body.find("\"pending\"") != std::string::npos,
        true);
    const auto page = client.Get(("/eintrag/" + std::to_string(honest)).c_str());
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("Wird geprüft"), std::string::npos);
    // Not ranked while it waits.
    EXPECT_EQ(server.store().total(), 0);

    bestenliste::ProofQueue queue(server.store());
    int done_when_queued = 0;
    for (const int64_t id : flood) done_when_queued += queue.status(id)->state != bestenliste::ProofState::Pending;

    const auto proved = settled_entry(client, honest);
    EXPECT_EQ(proved["state"], "proved") << proved;
    EXPECT_EQ(proved["rank"], 1);
    int flood_before = 0;
    const int64_t honest_done = queue.status(honest)->finished_ms;
    for (const int64_t id : flood) {
        const auto refused = settled_entry(client, id);
        EXPECT_EQ(refused["reason"], "replay_mismatch") << refused;
        flood_before += queue.status(id)->finished_ms <= honest_done;
    }
    // Those already proved, and the one that was running when it came.
    EXPECT_LE(flood_before, done_when_queued + 1);
    EXPECT_LT(flood_before, 8) << "the honest proof waited for the whole flood";
    EXPECT_EQ(queue.waiting(), 0);
    // A refused upload is not listed, its page says why, and its file may come again.
    const auto refused_page = client.Get(("/eintrag/" + std::to_string(flood[0])).c_str());
    EXPECT_NE(refused_page->body.find("replay_mismatch"), std::string::npos);
    EXPECT_EQ(server.store().total(), 1);
    EXPECT_NE(queue_upload(client, costly_refusal("Flut0"), game.replay, "10.0.0.1"), 0);
}

// The world list ranks proved results only: a result sent without a replay, however good, and one
// still being proved stand on the unproved page, the waiting one apart from the ranked ones.
TEST_P(ProofQueueTest, TheWorldListRanksProvedResultsAndTheOthersStandOnTheirOwnPage) {
    const auto& game = game_with_upload();
    const std::string player = cp1252::to_utf8(score::check_upload(game.upload).entry.FeldText[1]);
    bestenliste::ServeOptions options;
    options.workers = 0;
    RunningServer server(options, database_);
    auto client = server.client();
    const auto plain = upload_bytes("Ohnebeweis", 0);
    const auto sent = client.Post(
        "/api/upload", httplib::MultipartFormDataItems{{"qhs", std::string(plain.begin(), plain.end()), "a.qhs", ""}});
    ASSERT_EQ(sent->status, 201);
    EXPECT_EQ(nlohmann::json::parse(sent->body)["rank"], 1);
    const int64_t waiting = queue_upload(client, game.upload, game.replay, "");
    ASSERT_NE(waiting, 0);

    const auto json = [&](const char* path) { return nlohmann::json::parse(client.Get(path)->body); };
    const auto page = [&](const char* path) { return client.Get(path)->body; };
    EXPECT_EQ(json("/api/list")["total"], 0);
    EXPECT_EQ(page("/").find("Ohnebeweis"), std::string::npos);
    auto unproved = json("/api/list?list=unproved");
    EXPECT_EQ(unproved["total"], 1);
    EXPECT_EQ(unproved["entries"][0]["nickname"], "Ohnebeweis");
    EXPECT_EQ(unproved["pending"]["total"], 1);
    EXPECT_EQ(unproved["pending"]["entries"][0]["nickname"], player);
    EXPECT_TRUE(unproved["pending"]["entries"][0]["rank"].is_null());
    auto html = page("/unbewiesen");
    EXPECT_LT(html.find("<h2>Wird geprüft</h2>"), html.find("/eintrag/" + std::to_string(waiting) + "\">"));
    EXPECT_LT(html.find("/eintrag/" + std::to_string(waiting) + "\">"), html.find("<h2>Ohne Aufzeichnung</h2>"));
    EXPECT_NE(html.find("Ohnebeweis"), std::string::npos);

    bestenliste::UploadDesk worker(server.store());
    ASSERT_TRUE(worker.prove_next("test", std::chrono::seconds(30)));
    const auto proved = json("/api/list");
    EXPECT_EQ(proved["total"], 1);
    EXPECT_EQ(proved["entries"][0]["nickname"], player);
    EXPECT_EQ(proved["entries"][0]["rank"], 1);
    EXPECT_NE(page("/").find(player), std::string::npos);
    unproved = json("/api/list?list=unproved");
    EXPECT_EQ(unproved["pending"]["total"], 0);
    EXPECT_EQ(unproved["entries"][0]["rank"], 1);
    EXPECT_EQ(page("/unbewiesen").find("Wird geprüft"), std::string::npos);
    EXPECT_EQ(client.Get("/api/list?list=alle")->status, 400);
}

TEST_P(ProofQueueTest, TheJobOfAKilledWorkProcessIsFinishedByAnother) {
    const auto& game = game_with_upload();
    std::vector<std::string> database;
    if (!database_.empty()) database = {"--database", database_};
    auto with = [&database](std::vector<std::string> args) {
        args.insert(args.end(), database.begin(), database.end());
        return args;
    };
    ServerProcess server(data_dir_.path(), with({"--workers", "0"}));
    auto client = server.client();
    std::vector<int64_t> jobs;
    for (int k = 0; k < 6; ++k) {
        jobs.push_back(queue_upload(client, costly_refusal("Job" + std::to_string(k)), game.replay, ""));
    }
    jobs.push_back(queue_upload(client, game.upload, game.replay, ""));
    for (const int64_t id : jobs) ASSERT_NE(id, 0);

    auto store = open_store(1);
    bestenliste::ProofQueue queue(*store);
    const auto claimed_by = [&](const std::string& worker) {
        std::set<int64_t> held;
        for (const int64_t id : jobs) {
            const auto status = queue.status(id);
            if (status->state == bestenliste::ProofState::Pending && status->worker.starts_with(worker)) {
                held.insert(id);
            }
        }
        return held;
    };
    std::set<int64_t> orphaned;
    {
        ServerProcess first(data_dir_.path(), with({"--lease", "2"}), {}, "work");
        const std::string name = ":" + std::to_string(first.pid()) + "/";
        std::string prefix;
        // Killed in the middle of a proof: once a job is claimed and not yet finished.
        for (int k = 0; k < 2000 && prefix.empty(); ++k) {
            for (const int64_t id : jobs) {
                const auto status = queue.status(id);
                if (status->state == bestenliste::ProofState::Pending &&
                    status->worker.find(name) != std::string::npos) {
                    prefix = status->worker.substr(0, status->worker.find(name) + name.size());
                }
            }
            if (!prefix.empty()) {
                first.signal(SIGKILL);
                EXPECT_EQ(first.wait(), -SIGKILL);
                orphaned = claimed_by(prefix);
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
    }
    ASSERT_EQ(orphaned.size(), 1u) << "the worker was not caught in the middle of a proof";
    ServerProcess second(data_dir_.path(), with({"--lease", "2"}), {}, "work");
    for (const int64_t id : jobs) {
        const auto settled = settled_entry(client, id);
        EXPECT_NE(settled["state"], "pending") << id;
    }
    for (const int64_t id : orphaned) {
        EXPECT_NE(queue.status(id)->worker.find(":" + std::to_string(second.pid()) + "/"), std::string::npos);
    }
    EXPECT_EQ(settled_entry(client, jobs.back())["state"], "proved");
    EXPECT_EQ(store->total(), 1);
}

INSTANTIATE_TEST_SUITE_P(Databases, ProofQueueTest, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& case_info) { return case_info.param; });

}  // namespace
