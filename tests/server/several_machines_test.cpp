// SPDX-License-Identifier: GPL-3.0-or-later
// Several machines on one PostgreSQL database: two servers and two proving processes, one of each
// killed in the middle of the uploads. Every acknowledged upload is listed once, every waiting
// one is settled by its proof, and every server shows the same ranking.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

#include "tests/server/database_fixture.h"
#include "tests/server/proof_wait.h"
#include "tests/server/recorded_games.h"
#include "tests/server/server_process.h"
#include "tests/server/upload_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(SeveralMachines, TwoServersAndTwoWorkersLoseNothingWhenOneOfEachIsKilled) {
    auto& cluster = PostgresCluster::shared();
    if (!cluster.running()) GTEST_SKIP() << "PostgreSQL tests skipped: " << cluster.why_not();
    const std::vector<std::string> shared = {"--database", cluster.fresh_database(), "--lease", "2"};
    TempDir dirs[4];
    auto first_server = std::make_unique<ServerProcess>(dirs[0].path(), shared);
    ServerProcess second_server(dirs[1].path(), shared);
    auto first_worker = std::make_unique<ServerProcess>(dirs[2].path(), shared, std::vector<std::string>{}, "work");
    ServerProcess second_worker(dirs[3].path(), shared, std::vector<std::string>{}, "work");
    const int ports[2] = {first_server->port(), second_server.port()};

    const auto& game = game_with_upload();
    std::mutex mutex;
    std::set<std::string> listed_at_once;  // nicknames answered 201
    std::vector<int64_t> waiting;          // ids answered 202
    int64_t proving_id = 0;
    std::atomic<int> next = 0, answered = 0;
    std::vector<std::thread> clients;
    for (int c = 0; c < 8; ++c) {
        clients.emplace_back([&, c] {
            httplib::Client client("127.0.0.1", ports[c % 2]);
            client.set_read_timeout(30);
            while (true) {
                const int n = next++;
                if (n >= 400) return;
                // Every tenth upload comes with a replay that costs a whole re-simulation; one
                // is the recorded game's own and proves.
                const std::string nickname = "M" + std::to_string(n);
                const bool with_replay = n % 10 == 5;
                const auto upload = n == 5        ? game.upload
                                    : with_replay ? with_nickname(game.upload, nickname)
                                                  : upload_bytes(nickname, n % 28801, n);
                int64_t queued = 0;
                const int status =
                    post_upload(client, upload, with_replay ? game.replay : std::vector<uint8_t>{}, &queued);
                if (status < 0) continue;  // a killed server's client
                std::lock_guard lock(mutex);
                ++answered;
                if (status == 201) listed_at_once.insert(nickname);
                if (status == 202) {
                    waiting.push_back(queued);
                    if (n == 5) proving_id = waiting.back();
                }
            }
        });
    }
    while (answered < 150) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    first_server->signal(SIGKILL);
    first_worker->signal(SIGKILL);
    EXPECT_EQ(first_server->wait(), -SIGKILL);
    EXPECT_EQ(first_worker->wait(), -SIGKILL);
    for (auto& t : clients) t.join();

    auto client = second_server.client();
    ASSERT_NE(proving_id, 0);
    int proved = 0;
    for (const int64_t id : waiting) {
        const auto entry = settled_entry(client, id);
        EXPECT_NE(entry["state"], "pending") << entry;
        if (id == proving_id) {
            EXPECT_EQ(entry["state"], "proved") << entry;
        } else {
            EXPECT_EQ(entry["reason"], "replay_mismatch") << entry;
        }
        proved += entry["state"] == "proved";
    }
    EXPECT_EQ(proved, 1);

    // The killed server's machine comes back: it shows the very same list.
    ServerProcess restarted(dirs[0].path(), shared);
    const auto here = whole_list(second_server), there = whole_list(restarted);
    EXPECT_EQ(here, there);
    std::multiset<std::string> names;
    for (const auto& entry : here) names.insert(entry["nickname"].get<std::string>());
    EXPECT_EQ(names.size(), std::set<std::string>(names.begin(), names.end()).size()) << "an entry is listed twice";
    for (const auto& nickname : listed_at_once) EXPECT_EQ(names.count(nickname), 1u) << nickname;
    // Uploads in flight when their server was killed may be stored without an answer.
    EXPECT_GE(here.size(), listed_at_once.size() + 1);
    std::printf("several machines: %zu answered 201, %zu answered 202, %zu listed\n", listed_at_once.size(),
                waiting.size(), here.size());
}

}  // namespace
