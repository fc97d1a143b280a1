// SPDX-License-Identifier: GPL-3.0-or-later
// What the server tells its operator: /metrics in Prometheus' text format, counted from real
// requests and proofs, and refusals in the log, without who asked.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <thread>

#include "base/log.h"
#include "server/metrics.h"
#include "tests/server/proof_wait.h"
#include "tests/server/raw_http.h"
#include "tests/server/recorded_games.h"
#include "tests/server/running_server.h"
#include "tests/server/server_process.h"
#include "tests/server/upload_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

// Every sample of an exposition, by its name and labels as written ("name{a=\"b\"}"); a line that
// is neither a comment nor a sample fails the test, and so does a histogram whose buckets shrink.
std::map<std::string, double> samples_of(const std::string& text) {
    static const std::regex sample(R"(([a-z_]+(\{[a-z]+="[^"]*"(,[a-z]+="[^"]*")*\})?) ([0-9.e+-]+|NaN|\+Inf))");
    std::map<std::string, double> samples;
    std::istringstream lines(text);
    std::string line, last_bucket_series;
    double last_bucket = 0;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.starts_with("# HELP ") || line.starts_with("# TYPE ")) continue;
        std::smatch parts;
        if (!std::regex_match(line, parts, sample)) {
            ADD_FAILURE() << "line " << number << " is not a sample: " << line;
            continue;
        }
        const double value = std::stod(parts[4]);
        samples[parts[1]] = value;
        const std::string name = parts[1];
        if (name.find("_bucket{") != std::string::npos) {
            const std::string series = name.substr(0, name.find("le="));
            if (series == last_bucket_series) {
                EXPECT_GE(value, last_bucket) << line;
            }
            last_bucket_series = series;
            last_bucket = value;
        }
    }
    return samples;
}

double sample(const std::map<std::string, double>& samples, const std::string& name) {
    const auto found = samples.find(name);
    return found == samples.end() ? -1 : found->second;
}

httplib::Result upload(httplib::Client& client, const std::vector<uint8_t>& bytes,
                       const std::vector<uint8_t>& replay = {}) {
    httplib::MultipartFormDataItems items = {{"qhs", std::string(bytes.begin(), bytes.end()), "a.qhs", ""}};
    if (!replay.empty()) items.push_back({"replay", std::string(replay.begin(), replay.end()), "a.vxr", ""});
    return client.Post("/api/upload", items);
}

TEST(Metrics, RoutesAreAFixedSetThatNamesNoIdOrFile) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"GET /",                          "GET /"},
        {"HEAD /unbewiesen",               "GET /unbewiesen"},
        {"GET /eintrag/123",               "GET /eintrag/ID"},
        {"GET /eintrag/123/aufzeichnung",  "GET /eintrag/ID/aufzeichnung"},
        {"GET /eintrag/x1",                "other"},
        {"GET /eintrag//aufzeichnung",     "other"},
        {"GET /api/entry/7",               "GET /api/entry/ID"},
        {"GET /spielen/vorlanix.wasm",     "GET /spielen/FILE"},
        {"POST /hochladen",                "POST /hochladen"},
        {"POST /",                         "other"},
        {"DELETE /api/upload",             "other"},
        {"GET /Maximilian",                "other"},
    };
    // clang-format on
    for (const auto& [request_line, route] : cases) {
        const std::string request = request_line;
        const auto space = request.find(' ');
        EXPECT_EQ(bestenliste::route_of(request.substr(0, space), request.substr(space + 1)), route) << request;
    }
}

// Uploads are counted by outcome whether a handler or the limits before it answered; refusals are
// counted and logged by what was wrong; each route has its latency histogram; the log names
// neither the client's address nor a nickname.
TEST(Metrics, UploadsRefusalsAndRequestsAreCountedAndRefusalsLogged) {
    std::mutex mutex;
    std::string logged;
    base::SetLogSink([&](std::string_view line) {
        std::lock_guard lock(mutex);
        logged += std::string(line) + "\n";
    });
    {
        bestenliste::ServeOptions options;
        options.rate_limit = 2;
        options.search_limit = 1;
        RunningServer server(options);
        auto client = server.client();
        EXPECT_EQ(upload(client, upload_bytes("Maximilian", 1000))->status, 201);
        EXPECT_EQ(upload(client, upload_bytes("Maximilian", 1000))->status, 409);
        EXPECT_EQ(upload(client, upload_bytes("Maximilian", 1001))->status, 429);
        const auto too_large = raw_exchange(server.port(),
                                            "POST /api/upload HTTP/1.1\r\nHost: x\r\nContent-Length: 100000000\r\n"
                                            "Content-Type: multipart/form-data; boundary=b\r\n\r\n");
        EXPECT_TRUE(too_large.starts_with("HTTP/1.1 413")) << too_large;
        EXPECT_EQ(client.Get("/?suche=Max")->status, 200);
        EXPECT_EQ(client.Get("/?suche=Max")->status, 429);
        EXPECT_EQ(client.Get("/eintrag/987654")->status, 404);

        // clang-format off
        const std::pair<const char*, double> expected[] = {
            {R"(vorlanix_uploads_total{outcome="accepted"})",      1},
            {R"(vorlanix_uploads_total{outcome="duplicate"})",     1},
            {R"(vorlanix_uploads_total{outcome="rate_limited"})",  1},
            {R"(vorlanix_uploads_total{outcome="too_large"})",     1},
            {R"(vorlanix_refusals_total{reason="rate_limited"})",  1},
            {R"(vorlanix_refusals_total{reason="body_too_large"})", 1},
            {R"(vorlanix_refusals_total{reason="search_rate_limited"})", 1},
            {R"(vorlanix_proof_queue_length)",                     0},
            {R"(vorlanix_request_duration_seconds_count{method="POST",route="/api/upload"})", 4},
            {R"(vorlanix_request_duration_seconds_bucket{method="POST",route="/api/upload",le="+Inf"})", 4},
            {R"(vorlanix_request_duration_seconds_count{method="GET",route="/"})", 2},
            {R"(vorlanix_request_duration_seconds_count{method="GET",route="/eintrag/ID"})", 1},
            {R"(vorlanix_proof_duration_seconds_count)",           0},
        };
        // clang-format on
        // A request is counted just after its answer went out, and a refused one only after its
        // connection was drained and closed: wait until every count has arrived.
        std::string body, type;
        std::map<std::string, double> samples;
        for (int tries = 0; tries < 100; ++tries) {
            const auto res = client.Get("/metrics");
            ASSERT_EQ(res->status, 200);
            body = res->body;
            type = res->get_header_value("Content-Type");
            samples = samples_of(body);
            const bool arrived = std::all_of(std::begin(expected), std::end(expected), [&](const auto& count) {
                return sample(samples, count.first) == count.second;
            });
            if (arrived) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        EXPECT_EQ(type, "text/plain; version=0.0.4; charset=utf-8");
        for (const auto& [name, value] : expected) EXPECT_EQ(sample(samples, name), value) << name << "\n" << body;
        EXPECT_GT(sample(samples, R"(vorlanix_request_duration_seconds_sum{method="POST",route="/api/upload"})"), 0);
    }
    base::SetLogSink({});
    for (const char* line :
         {": refused: rate limited\n", ": refused: body too large\n", ": refused: search rate limited\n"}) {
        EXPECT_NE(logged.find(line), std::string::npos) << line << " not in\n" << logged;
    }
    for (const char* personal : {"127.0.0.1", "Maximilian", "Max"}) {
        EXPECT_EQ(logged.find(personal), std::string::npos) << personal << " in\n" << logged;
    }
}

TEST(Metrics, ProofsAreCountedWithTheirDurationAndTheQueueIsMeasured) {
    const auto& game = game_with_upload();
    RunningServer server;
    auto client = server.client();
    const auto queued = upload(client, game.upload, game.replay);
    ASSERT_EQ(queued->status, 202) << queued->body;
    const auto settled = settled_entry(client, nlohmann::json::parse(queued->body)["id"].get<int64_t>());
    ASSERT_EQ(settled["state"], "proved") << settled;
    // The worker counts its proof just after it stored the outcome.
    std::map<std::string, double> samples;
    for (int tries = 0; tries < 100; ++tries) {
        samples = samples_of(client.Get("/metrics")->body);
        if (sample(samples, "vorlanix_proof_duration_seconds_count") > 0) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(sample(samples, R"(vorlanix_uploads_total{outcome="pending"})"), 1);
    EXPECT_EQ(sample(samples, R"(vorlanix_proofs_total{outcome="accepted"})"), 1);
    EXPECT_EQ(sample(samples, "vorlanix_proof_duration_seconds_count"), 1);
    EXPECT_EQ(sample(samples, R"(vorlanix_proof_duration_seconds_bucket{le="+Inf"})"), 1);
    EXPECT_GT(sample(samples, "vorlanix_proof_duration_seconds_sum"), 0);
    EXPECT_EQ(sample(samples, "vorlanix_proof_queue_length"), 0);
}

// A `work` process of its own proves the upload; every server on the database shows its proof,
// and a second proof refused shows beside it by outcome.
TEST(Metrics, ProofsOfAWorkProcessAreShownByEveryServer) {
    const auto& game = game_with_upload();
    TempDir dir;
    ServerProcess server(dir.path(), {"--workers", "0"});
    ServerProcess worker(dir.path(), {}, {}, "work");
    auto client = server.client();
    const auto queued = upload(client, game.upload, game.replay);
    ASSERT_EQ(queued->status, 202) << queued->body;
    ASSERT_EQ(settled_entry(client, nlohmann::json::parse(queued->body)["id"].get<int64_t>())["state"], "proved");
    // The same replay again, with another file: the game proves one entry only.
    const auto reused = upload(client, upload_bytes("Zweiter", 1234), game.replay);
    ASSERT_EQ(reused->status, 202) << reused->body;
    ASSERT_EQ(settled_entry(client, nlohmann::json::parse(reused->body)["id"].get<int64_t>())["state"], "refused");

    const auto samples = samples_of(client.Get("/metrics")->body);
    EXPECT_EQ(sample(samples, R"(vorlanix_proofs_total{outcome="accepted"})"), 1);
    EXPECT_EQ(sample(samples, "vorlanix_proof_duration_seconds_count"), 2);
    EXPECT_EQ(sample(samples, R"(vorlanix_proof_duration_seconds_bucket{le="+Inf"})"), 2);
    EXPECT_GT(sample(samples, "vorlanix_proof_duration_seconds_sum"), 0);
    EXPECT_EQ(sample(samples, "vorlanix_proof_queue_length"), 0);
    double refused = 0;
    for (const auto& [name, value] : samples) {
        if (name.starts_with("vorlanix_proofs_total{") && name.find("accepted") == std::string::npos) refused += value;
    }
    EXPECT_EQ(refused, 1);
    // A second server that proved nothing itself shows the same figures. (The worker finished the
    // refused proof after the accepted one: its outcome is seen only once both are counted.)
    ServerProcess other(dir.path(), {"--workers", "0"});
    auto other_client = other.client();
    const auto proofs_only = [](std::map<std::string, double> all) {
        std::erase_if(all, [](const auto& s) { return !s.first.starts_with("vorlanix_proof"); });
        return all;
    };
    EXPECT_EQ(proofs_only(samples_of(other_client.Get("/metrics")->body)), proofs_only(samples));
}

}  // namespace
