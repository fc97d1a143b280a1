// SPDX-License-Identifier: GPL-3.0-or-later
// The server over real HTTP on loopback: the API's answers and codes, the limits that act before a
// body is read, and the form.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <nlohmann/json.hpp>

#include "tests/server/raw_http.h"
#include "tests/server/running_server.h"
#include "tests/server/upload_fixture.h"

namespace {

httplib::Result upload(httplib::Client& client, const std::vector<uint8_t>& bytes,
                       const std::string& path = "/api/upload", const httplib::Headers& headers = {}) {
    const httplib::MultipartFormDataItems items = {
        {"qhs", std::string(bytes.begin(), bytes.end()), "Max_03_01_10.qhs", "application/octet-stream"}};
    return client.Post(path.c_str(), headers, items);
}

TEST(HttpApi, UploadsAnswerWithTheDocumentedCodesAndTheListShowsNoPersonalData) {
    RunningServer server;
    auto client = server.client();
    auto res = upload(client, upload_bytes("Max", 1000));
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 201);
    auto json = nlohmann::json::parse(res->body);
    EXPECT_EQ(json["accepted"], true);
    EXPECT_EQ(json["rank"], 1);
    EXPECT_EQ(json["proved"], false);

    res = upload(client, upload_bytes("Max", 1000));
    EXPECT_EQ(res->status, 409);
    EXPECT_EQ(nlohmann::json::parse(res->body)["reason"], "duplicate");
    res = upload(client, {1, 2, 3});
    EXPECT_EQ(res->status, 422);
    EXPECT_EQ(nlohmann::json::parse(res->body)["reason"], "wrong_size");
    res = client.Post("/api/upload", httplib::MultipartFormDataItems{{"other", "x", "", ""}});
    EXPECT_EQ(nlohmann::json::parse(res->body)["reason"], "missing_file");
    EXPECT_EQ(upload(client, upload_bytes("Best", 10))->status, 201);

    // Without a replay, both are in the unproved list.
    res = client.Get("/api/list?list=unproved&offset=0&limit=500");
    ASSERT_TRUE(res);
    json = nlohmann::json::parse(res->body);
    EXPECT_EQ(json["total"], 2);
    EXPECT_EQ(json["entries"][0], nlohmann::json::parse(R"({"rank": 1, "nickname": "Best", "days": 10, "years": 0,
        "months": 0, "day": 10, "uploaded": ")" + json["entries"][0]["uploaded"].get<std::string>() +
                                                        R"(", "proved": false})"));
    EXPECT_EQ(
        nlohmann::json::parse(client.Get("/api/list?list=unproved&offset=1&limit=1")->body)["entries"][0]["nickname"],
        "Max");

    std::string everything = res->body;
    std::vector<std::string> paths = {"/", "/unbewiesen", "/hochladen"};
    for (const auto& entry : server.store().page(bestenliste::Listing::Unproved, 0, 10))
        paths.push_back("/eintrag/" + std::to_string(entry.id));
    for (const auto& path : paths) {
        res = client.Get(path);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 200) << path;
        everything += res->body;
    }
    for (const auto& personal : personal_texts) {
        EXPECT_EQ(everything.find(personal), std::string::npos) << personal;
    }
    EXPECT_EQ(client.Get("/eintrag/99")->status, 404);
    EXPECT_EQ(client.Get(paths.back() + "/aufzeichnung")->status, 404);
}

TEST(HttpApi, ATooLargeOrUnmeasuredBodyIsRefusedWithoutWaitingForIt) {
    RunningServer server;
    const auto start = std::chrono::steady_clock::now();
    // The body never comes: a server that tried to read it would wait for its read timeout.
    auto answer = raw_exchange(server.port(),
                               "POST /api/upload HTTP/1.1\r\nHost: x\r\nContent-Length: 100000000\r\n"
                               "Content-Type: multipart/form-data; boundary=b\r\n\r\n");
    EXPECT_TRUE(answer.starts_with("HTTP/1.1 413")) << answer;
    EXPECT_NE(answer.find("\"too_large\""), std::string::npos) << answer;
    answer = raw_exchange(server.port(),
                          "POST /hochladen HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n"
                          "Content-Type: multipart/form-data; boundary=b\r\n\r\n");
    EXPECT_TRUE(answer.starts_with("HTTP/1.1 411")) << answer;
    EXPECT_NE(answer.find("Die Anfrage muss ihre Länge angeben."), std::string::npos) << answer;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

TEST(HttpApi, UploadsPerAddressAreLimitedAndAProxysAddressCountsOnlyWhenTrusted) {
    bestenliste::ServeOptions options;
    options.rate_limit = 2;
    options.behind_proxy = true;
    RunningServer server(options);
    auto client = server.client();
    const httplib::Headers first = {{"X-Forwarded-For", "10.0.0.9, 192.0.2.1"}};
    const httplib::Headers second = {{"X-Forwarded-For", "192.0.2.2"}};
    EXPECT_EQ(upload(client, upload_bytes("A", 1), "/api/upload", first)->status, 201);
    EXPECT_EQ(upload(client, upload_bytes("B", 2), "/api/upload", first)->status, 201);
    const auto limited = upload(client, upload_bytes("C", 3), "/api/upload", first);
    EXPECT_EQ(limited->status, 429);
    EXPECT_EQ(nlohmann::json::parse(limited->body)["reason"], "rate_limited");
    EXPECT_EQ(upload(client, upload_bytes("C", 3), "/api/upload", second)->status, 201);
}

TEST(HttpApi, SearchesPerAddressAreLimitedWhileTheListStaysOpen) {
    bestenliste::ServeOptions options;
    options.search_limit = 2;
    RunningServer server(options);
    auto client = server.client();
    EXPECT_EQ(client.Get("/?suche=abc")->status, 200);
    EXPECT_EQ(client.Get("/?suche=xyz")->status, 200);
    const auto limited = client.Get("/?suche=abc");
    EXPECT_EQ(limited->status, 429);
    EXPECT_NE(limited->body.find("zu viele Suchen"), std::string::npos);
    EXPECT_EQ(client.Get("/")->status, 200);
    EXPECT_EQ(client.Get("/?seite=2")->status, 200);
}

// A client that holds the current copy of a list page, the list's JSON or a replay is told so
// without the body; once the list changes, the old fingerprint gets the new page.
TEST(HttpApi, UnchangedPagesAreAnswered304AndChangedOnesInFull) {
    RunningServer server;
    auto client = server.client();
    for (const char* path : {"/unbewiesen", "/api/list?list=unproved", "/unbewiesen?suche=Ann"}) {
        SCOPED_TRACE(path);
        const auto first = client.Get(path);
        ASSERT_EQ(first->status, 200);
        const std::string tag = first->get_header_value("ETag");
        EXPECT_FALSE(tag.empty());
        EXPECT_NE(first->get_header_value("Cache-Control").find("max-age"), std::string::npos);
        const auto again = client.Get(path, {{"If-None-Match", tag}});
        EXPECT_EQ(again->status, 304);
        EXPECT_TRUE(again->body.empty());
        EXPECT_EQ(again->get_header_value("ETag"), tag);
        EXPECT_EQ(client.Get(path, {{"If-None-Match", "\"0000000000000000\""}})->status, 200);
    }
    const std::string before = client.Get("/unbewiesen")->get_header_value("ETag");
    ASSERT_EQ(upload(client, upload_bytes("Ann", 5), "/api/upload")->status, 201);
    const auto changed = client.Get("/unbewiesen", {{"If-None-Match", before}});
    EXPECT_EQ(changed->status, 200);
    EXPECT_NE(changed->body.find("Ann"), std::string::npos);
}

TEST(HttpApi, TheFormAnswersWithAPageThatSaysWhy) {
    RunningServer server;
    auto client = server.client();
    auto bytes = upload_bytes("Max", 1000);
    bytes[100] ^= 4;
    const auto res = upload(client, bytes, "/hochladen");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 422);
    EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=utf-8");
    EXPECT_NE(res->body.find("Die Prüfsumme der Datei stimmt nicht"), std::string::npos);
    EXPECT_EQ(server.store().total(), 0);
}

}  // namespace
