// SPDX-License-Identifier: GPL-3.0-or-later
// The server as a process under load and under faults: 64 concurrent clients, a kill -9 in the
// middle of uploads, and a SIGTERM with requests in flight. VORLANIX_LOAD_UPLOADS raises the
// number of uploads for a run by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

#include "server/hex.h"
#include "tests/server/proof_wait.h"
#include "tests/server/recorded_games.h"
#include "tests/server/server_process.h"
#include "tests/server/upload_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;

int load_uploads() {
    const char* wanted = std::getenv("VORLANIX_LOAD_UPLOADS");
    return wanted ? std::max(64, std::atoi(wanted)) : 1200;
}

// Every upload file of a test has its own nickname, so the list shows each at most once.
std::vector<uint8_t> numbered_upload(int n) { return upload_bytes("L" + std::to_string(n), n % 28801, n); }

// The nicknames of both lists, the proved and the unproved one.
std::multiset<std::string> listed_nicknames(const ServerProcess& server) {
    std::multiset<std::string> names;
    for (const auto& entry : whole_list(server)) names.insert(entry["nickname"].get<std::string>());
    return names;
}

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<size_t>(p * static_cast<double>(values.size())))];
}

TEST(ServerUnderLoad, SixtyFourClientsLoseNoAcceptedUpload) {
    const auto& game = game_with_upload();
    TempDir dir;
    ServerProcess server(dir.path(), {"--threads", "16"});
    const int total = load_uploads();
    constexpr int clients = 64;
    std::atomic<int> accepted = 0, refused = 0, failed = 0, queued = 0;
    int expected_refusals = 0, expected_queued = 1;
    for (int n = 0; n < total; ++n) {
        expected_refusals += n % 10 == 9;
        expected_queued += n % 100 == 50;
    }
    std::mutex mutex;
    std::vector<double> latencies_ms;
    std::vector<int64_t> queued_ids;
    std::vector<std::thread> threads;
    const auto start = Clock::now();
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&, c] {
            auto client = server.client();
            std::vector<double> mine;
            const auto send = [&](const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& replay) {
                const auto sent = Clock::now();
                int64_t id = 0;
                const int status = post_upload(client, bytes, replay, &id);
                mine.push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
                (status == 201 ? accepted : status == 202 ? queued : status == 422 ? refused : failed)++;
                if (status == 202) {
                    std::lock_guard lock(mutex);
                    queued_ids.push_back(id);
                }
            };
            // One client uploads the recorded game's own file with its replay: proved.
            if (c == 0) send(game.upload, game.replay);
            for (int n = c; n < total; n += clients) {
                auto bytes = numbered_upload(n);
                // Every tenth file is damaged; now and then a file comes with a replay of another
                // game, which costs a whole re-simulation before it is refused.
                if (n % 10 == 9) bytes[50] ^= 1;
                send(bytes, n % 100 == 50 ? game.replay : std::vector<uint8_t>{});
            }
            std::lock_guard lock(mutex);
            latencies_ms.insert(latencies_ms.end(), mine.begin(), mine.end());
        });
    }
    for (auto& t : threads) t.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    // The replays are proved after their answers: the recorded game's own, and none of the others.
    int proved = 0, refused_by_proof = 0;
    auto client = server.client();
    for (const int64_t id : queued_ids) {
        const auto entry = settled_entry(client, id);
        proved += entry["state"] == "proved";
        refused_by_proof += entry["state"] == "refused" && entry["reason"] == "replay_mismatch";
    }
    const auto listed = listed_nicknames(server);
    const int lost = accepted + proved - static_cast<int>(listed.size());
    std::printf(
        "load: %d uploads (%d with a replay) from %d clients in %.2f s: accepted %d, queued %d (proved %d), "
        "refused %d, failed %d, lost %d; latency p50 %.1f ms, p99 %.1f ms, max %.1f ms\n",
        total + 1, expected_queued, clients, seconds, accepted.load(), queued.load(), proved, refused.load(),
        failed.load(), lost, percentile(latencies_ms, 0.5), percentile(latencies_ms, 0.99),
        percentile(latencies_ms, 1.0));
    EXPECT_EQ(accepted, total - expected_refusals - expected_queued + 1);
    EXPECT_EQ(queued, expected_queued);
    EXPECT_EQ(proved, 1);
    EXPECT_EQ(refused_by_proof, expected_queued - 1);
    EXPECT_EQ(refused, expected_refusals);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(lost, 0);
}

TEST(ServerUnderFaults, EveryAcknowledgedUploadSurvivesAKill9AndNoneIsStoredTwice) {
    TempDir dir;
    std::set<int> acknowledged;
    {
        ServerProcess server(dir.path());
        std::mutex mutex;
        std::atomic<int> next = 0;
        std::atomic<bool> stop = false;
        std::vector<std::thread> threads;
        for (int c = 0; c < 32; ++c) {
            threads.emplace_back([&] {
                auto client = server.client();
                while (!stop) {
                    const int n = next++;
                    if (post_upload(client, numbered_upload(n)) == 201) {
                        std::lock_guard lock(mutex);
                        acknowledged.insert(n);
                    }
                }
            });
        }
        // Kill while uploads are certainly in flight: after the first hundred answers.
        while (true) {
            {
                std::lock_guard lock(mutex);
                if (acknowledged.size() >= 100) break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        server.signal(SIGKILL);
        EXPECT_EQ(server.wait(), -SIGKILL);
        stop = true;
        for (auto& t : threads) t.join();
    }
    ServerProcess restarted(dir.path());
    const auto listed = listed_nicknames(restarted);
    std::set<std::string> distinct(listed.begin(), listed.end());
    EXPECT_EQ(distinct.size(), listed.size()) << "an upload is stored twice";
    int missing = 0;
    for (const int n : acknowledged) missing += distinct.count("L" + std::to_string(n)) == 0;
    std::printf("kill -9: %zu acknowledged, %zu stored, %d acknowledged but missing\n", acknowledged.size(),
                listed.size(), missing);
    EXPECT_EQ(missing, 0);
    EXPECT_GE(listed.size(), acknowledged.size());
}

// The disk fills up under the server: every file it writes is limited to 1 MiB (RLIMIT_FSIZE,
// which needs no privileges, where a small tmpfs would need root). An upload is acknowledged only
// once it is committed; the others are told that storing failed.
TEST(ServerUnderFaults, AFullDiskIsReportedAndLosesNoAcknowledgedUpload) {
    TempDir dir;
    std::set<std::string> acknowledged;
    int storage_failed = 0, other = 0;
    {
        ServerProcess server(dir.path(), {}, {"/usr/bin/prlimit", "--fsize=1048576", "--"});
        auto client = server.client();
        for (int n = 0; n < 4000 && storage_failed < 10; ++n) {
            const auto bytes = numbered_upload(n);
            const auto res = client.Post(
                "/api/upload",
                httplib::MultipartFormDataItems{{"qhs", std::string(bytes.begin(), bytes.end()), "u.qhs", ""}});
            if (res && res->status == 201) {
                acknowledged.insert("L" + std::to_string(n));
            } else if (res && res->status == 503 && nlohmann::json::parse(res->body)["reason"] == "storage_failed") {
                ++storage_failed;
            } else {
                ++other;
            }
        }
    }
    EXPECT_GT(acknowledged.size(), 10u);
    EXPECT_EQ(storage_failed, 10);
    EXPECT_EQ(other, 0);
    ServerProcess restarted(dir.path());
    const auto listed = listed_nicknames(restarted);
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), acknowledged);
    // The failure is logged, without the upload's bytes (they hold personal data).
    const std::string errors = ServerProcess::errors(dir.path());
    EXPECT_NE(errors.find("storing an upload failed"), std::string::npos) << errors;
    const std::string personal = "Geheimname";
    const std::string personal_hex =
        bestenliste::to_hex({reinterpret_cast<const uint8_t*>(personal.data()), personal.size()});
    EXPECT_EQ(errors.find(personal_hex), std::string::npos) << errors;
}

TEST(ServerUnderFaults, SigtermFinishesTheRequestsInFlightAndExitsCleanly) {
    TempDir dir;
    ServerProcess server(dir.path());
    std::atomic<int> answered = 0, accepted = 0;
    std::vector<std::thread> threads;
    for (int c = 0; c < 8; ++c) {
        threads.emplace_back([&, c] {
            auto client = server.client();
            const int status = post_upload(client, numbered_upload(c));
            answered += status > 0;
            accepted += status == 201;
        });
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    server.signal(SIGTERM);
    for (auto& t : threads) t.join();
    EXPECT_EQ(server.wait(), 0);
    EXPECT_NE(server.rest_of_output().find("stopped"), std::string::npos);
    ServerProcess restarted(dir.path());
    EXPECT_EQ(static_cast<int>(listed_nicknames(restarted).size()), accepted.load());
}

}  // namespace
