// SPDX-License-Identifier: GPL-3.0-or-later
// The server on PostgreSQL as operators address and run it: every form of address libpq takes,
// and a database that restarts under a running server.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "tests/server/database_fixture.h"
#include "tests/server/running_server.h"
#include "tests/server/upload_fixture.h"

namespace {

using PostgresService = DatabaseTest;

httplib::Result upload(httplib::Client& client, const std::vector<uint8_t>& bytes) {
    return client.Post("/api/upload",
                       httplib::MultipartFormDataItems{{"qhs", std::string(bytes.begin(), bytes.end()), "u.qhs", ""}});
}

TEST_P(PostgresService, EveryFormOfAddressLibpqTakesReachesTheDatabase) {
    auto& cluster = PostgresCluster::shared();
    cluster.fresh_database("bestenliste");
    const std::string dir = cluster.socket_dir(), port = std::to_string(cluster.port());
    std::string encoded_dir;
    for (const char c : dir) encoded_dir += c == '/' ? std::string("%2F") : std::string(1, c);
    // The README's address names no port: libpq takes it from PGPORT, as it would take 5432.
    ::setenv("PGPORT", port.c_str(), 1);
    const std::vector<std::string> addresses = {
        "postgresql://bestenliste@localhost/bestenliste",
        "postgres://bestenliste@127.0.0.1:" + port + "/bestenliste",
        "postgresql://bestenliste@" + encoded_dir + "/bestenliste",
        "postgresql:///bestenliste?host=" + dir + "&user=bestenliste&connect_timeout=5",
        "host=localhost port=" + port + " user=bestenliste dbname=bestenliste",
        "host=" + dir + " user = bestenliste dbname='bestenliste'",
    };
    int64_t stored = 0;
    for (const auto& address : addresses) {
        try {
            bestenliste::EntryStore store(address, data_dir_.path(), 1);
            bestenliste::NewEntry entry;
            const auto bytes = upload_bytes("N" + std::to_string(stored), 100);
            entry.upload = bytes;
            entry.nickname = "N" + std::to_string(stored);
            EXPECT_TRUE(store.insert(entry)) << address;
            EXPECT_EQ(store.total(), ++stored) << address;
        } catch (const std::exception& error) {
            ADD_FAILURE() << address << ": " << error.what();
        }
    }
    ::unsetenv("PGPORT");
    EXPECT_THROW(bestenliste::EntryStore("postgresql://[", data_dir_.path(), 1), std::runtime_error);
}

TEST_P(PostgresService, TheServerComesBackByItselfAfterTheDatabaseRestarts) {
    auto& cluster = PostgresCluster::shared();
    RunningServer server({}, database_);
    auto client = server.client();
    auto res = client.Get("/healthz");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(nlohmann::json::parse(res->body), nlohmann::json::parse(R"({"database":"ok"})"));
    EXPECT_EQ(upload(client, upload_bytes("Vorher", 10))->status, 201);

    ASSERT_TRUE(cluster.stop());
    EXPECT_EQ(client.Get("/healthz")->status, 503);
    EXPECT_EQ(client.Get("/")->status, 503);
    res = upload(client, upload_bytes("Nachher", 20));
    EXPECT_EQ(res->status, 503);
    EXPECT_EQ(nlohmann::json::parse(res->body)["reason"], "storage_failed");

    ASSERT_TRUE(cluster.start());
    // Connections broken by the restart are opened again as they are next used.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (client.Get("/healthz")->status != 200 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(client.Get("/healthz")->status, 200);
    for (int k = 0; k < 8; ++k) EXPECT_EQ(client.Get("/")->status, 200) << k;
    EXPECT_EQ(upload(client, upload_bytes("Nachher", 20))->status, 201);
    EXPECT_EQ(server.store().total(), 2);
}

INSTANTIATE_TEST_SUITE_P(Databases, PostgresService, ::testing::Values("postgresql"),
                         [](const auto& case_info) { return case_info.param; });

}  // namespace
