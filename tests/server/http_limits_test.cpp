// SPDX-License-Identifier: GPL-3.0-or-later
// What a hostile or broken client can make the server do: slow clients, too many connections,
// requests framed two ways at once or with endless headers, and a body sent on after a refusal.
#include <fcntl.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <thread>

#include "tests/server/raw_http.h"
#include "tests/server/running_server.h"
#include "tests/server/upload_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

bestenliste::ServeOptions quick_limits() {
    bestenliste::ServeOptions options;
    options.limits.per_address = 4;
    options.limits.header_time = 1500ms;
    options.limits.request_time = 2500ms;
    return options;
}

// Reads what has come; true once the server has closed its end.
bool closed_by_server(int fd) {
    char buffer[4096];
    while (true) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got > 0) continue;
        return got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
    }
}

TEST(HttpLimits, SlowClientsHoldNeitherTheServerNorTheirConnectionForLong) {
    RunningServer server(quick_limits());
    // Eight clients from one address trickle a header, one more its body, a byte every 100 ms.
    std::vector<int> slow;
    for (int k = 0; k < 8; ++k) {
        slow.push_back(connect_from("127.0.0.2", server.port()));
        ASSERT_GE(slow.back(), 0);
        send_all(slow.back(), "GET / HTTP/1.1\r\n");
    }
    const int trickling_body = connect_from("127.0.0.3", server.port());
    send_all(trickling_body,
             "POST /api/upload HTTP/1.1\r\nHost: x\r\nContent-Length: 1000\r\n"
             "Content-Type: multipart/form-data; boundary=b\r\n\r\n");
    slow.push_back(trickling_body);

    std::this_thread::sleep_for(200ms);
    const auto asked = Clock::now();
    auto client = server.client();
    const auto page = client.Get("/");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_LT(Clock::now() - asked, 500ms);

    // Beyond four connections from one address, the server answers 503 at once.
    std::vector<bool> open(slow.size(), true);
    int still_open = static_cast<int>(slow.size());
    for (size_t k = 0; k < slow.size(); ++k) {
        char start[13] = {};
        if (::recv(slow[k], start, 12, MSG_DONTWAIT) == 12 && std::string(start) == "HTTP/1.1 503") {
            open[k] = false;
            --still_open;
        }
    }
    EXPECT_EQ(still_open, 5);

    // The others are dropped at their deadlines however they trickle.
    const auto trickle_start = Clock::now();
    while (still_open > 0 && Clock::now() - trickle_start < 6s) {
        for (size_t k = 0; k < slow.size(); ++k) {
            if (!open[k]) continue;
            if (closed_by_server(slow[k]) || !send_all(slow[k], "X")) {
                open[k] = false;
                --still_open;
            }
        }
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_EQ(still_open, 0);
    EXPECT_LT(Clock::now() - trickle_start, 4s);
    for (const int fd : slow) ::close(fd);
}

TEST(HttpLimits, FramingAndHeadersAreStrict) {
    RunningServer server;
    std::string many_fields, long_header;
    for (int k = 0; k < 100; ++k) many_fields += "X-F" + std::to_string(k) + ": v\r\n";
    for (int k = 0; k < 1000; ++k) long_header += "X-L" + std::to_string(k) + ": vvvvvvvvvvvvvvvvvvvv\r\n";
    const std::string form = "Content-Type: multipart/form-data; boundary=b\r\n";
    const std::string broken_form = "--b\r\nContent-Disposition: form-data; name=\"qhs\"; filename=\"a\"\r\n\r\nxx";
    struct Case {
        const char* what;
        std::string request;
        const char* status;
        const char* reason;  // the upload's reason code, where the answer is an upload's
    };
    const std::vector<Case> cases = {
        {"both framings",
         "POST /api/upload HTTP/1.1\r\nHost: x\r\nContent-Length: 332\r\n"
         "Transfer-Encoding: chunked\r\n" +
             form + "\r\n",
         "HTTP/1.1 400", "bad_request"},
        {"a chunked upload", "POST /hochladen HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n" + form + "\r\n",
         "HTTP/1.1 411", nullptr},
        {"a chunked body elsewhere", "POST / HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n", "HTTP/1.1 411",
         nullptr},
        {"a body where none belongs", "POST / HTTP/1.1\r\nHost: x\r\nContent-Length: 100\r\n\r\n", "HTTP/1.1 413",
         nullptr},
        {"two lengths",
         "POST /api/upload HTTP/1.1\r\nHost: x\r\nContent-Length: 3\r\nContent-Length: 4\r\n" + form + "\r\n",
         "HTTP/1.1 400", "bad_request"},
        {"a hundred header fields", "GET / HTTP/1.1\r\nHost: x\r\n" + many_fields + "\r\n", "HTTP/1.1 431", nullptr},
        {"a header of 28 KiB", "GET / HTTP/1.1\r\nHost: x\r\n" + long_header + "\r\n", "HTTP/1.1 431", nullptr},
        {"a broken form",
         "POST /api/upload HTTP/1.1\r\nHost: x\r\nContent-Length: " + std::to_string(broken_form.size()) + "\r\n" +
             form + "\r\n" + broken_form,
         "HTTP/1.1 400", "bad_request"},
    };
    for (const auto& c : cases) {
        const auto start = Clock::now();
        const std::string answer = raw_exchange(server.port(), c.request);
        EXPECT_TRUE(answer.starts_with(c.status)) << c.what << ": " << answer.substr(0, 40);
        EXPECT_LT(Clock::now() - start, 2s) << c.what;
        if (c.reason) {
            const auto body = nlohmann::json::parse(answer.substr(answer.find("\r\n\r\n") + 4), nullptr, false);
            EXPECT_EQ(body.value("reason", ""), c.reason) << c.what;
            EXPECT_EQ(body.value("accepted", true), false) << c.what;
        }
    }
    EXPECT_EQ(server.client().Get("/")->status, 200);
}

TEST(HttpLimits, AClientStillSendingItsOversizedBodyReadsTheRefusal) {
    RunningServer server;
    const int fd = connect_from("127.0.0.1", server.port());
    const std::string body(2 << 20, 'x');
    EXPECT_TRUE(send_all(fd, "POST /api/upload HTTP/1.1\r\nHost: x\r\nContent-Length: " + std::to_string(body.size()) +
                                 "\r\nContent-Type: multipart/form-data; boundary=b\r\n\r\n"));
    EXPECT_TRUE(send_all(fd, body)) << "reset while sending: " << std::strerror(errno);
    const std::string answer = read_answer(fd);
    ::close(fd);
    EXPECT_TRUE(answer.starts_with("HTTP/1.1 413")) << answer.substr(0, 40);
    EXPECT_NE(answer.find("\"too_large\""), std::string::npos);
}

TEST(HttpLimits, ASecondServerOnTheSamePortDoesNotStart) {
    RunningServer first;
    TempDir dir;
    bestenliste::EntryStore store("", dir.path(), 1);
    bestenliste::UploadDesk desk(store);
    bestenliste::ServeOptions options;
    options.port = first.port();
    bestenliste::WorldListServer second(store, desk, options);
    EXPECT_EQ(second.bind(), -1);
}

TEST(HttpLimits, TheAccessLogTellsWhatWasAskedButNotWho) {
    TempDir dir;
    bestenliste::ServeOptions options;
    options.access_log = dir / "access.log";
    {
        RunningServer server(options);
        auto client = server.client();
        const auto bytes = upload_bytes("Maximilian", 1000);
        EXPECT_EQ(
            client
                .Post("/api/upload",
                      httplib::MultipartFormDataItems{{"qhs", std::string(bytes.begin(), bytes.end()), "u.qhs", ""}})
                ->status,
            201);
        EXPECT_EQ(client.Get("/?suche=Maximilian")->status, 200);
        const auto id = server.store().page(bestenliste::Listing::Unproved, 0, 1).at(0).id;
        EXPECT_EQ(client.Get(("/eintrag/" + std::to_string(id)).c_str())->status, 200);
        EXPECT_EQ(client.Get("/eintrag/424242")->status, 404);
    }
    std::ifstream in(dir / "access.log");
    const std::string log{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(log.find(" POST /api/upload 201 "), std::string::npos) << log;
    EXPECT_NE(log.find(" GET / 200 "), std::string::npos) << log;
    EXPECT_NE(log.find(" GET /eintrag/ID 200 "), std::string::npos) << log;
    EXPECT_NE(log.find(" GET /eintrag/ID 404 "), std::string::npos) << log;
    for (const char* personal : {"127.0.0.1", "Maximilian", "suche", "424242"}) {
        EXPECT_EQ(log.find(personal), std::string::npos) << personal << " in " << log;
    }
}

}  // namespace

// Reads one whole answer (its header and Content-Length bytes of body) without waiting for the close.
std::string one_answer(int fd) {
    std::string answer;
    char c = 0;
    while (answer.find("\r\n\r\n") == std::string::npos && ::recv(fd, &c, 1, 0) == 1) answer += c;
    const auto length = answer.find("Content-Length: ");
    size_t left = length == std::string::npos ? 0 : std::stoul(answer.substr(length + 16));
    while (left > 0 && ::recv(fd, &c, 1, 0) == 1) {
        answer += c;
        --left;
    }
    return answer;
}

// A client may ask again on its connection; an idle one is closed at its deadline, counts against
// the caps while it waits, and is not kept when most connections are taken.
TEST(HttpLimits, AConnectionServesSeveralRequestsWithinTheCaps) {
    auto options = quick_limits();
    options.limits.per_address = 2;
    options.limits.total = 4;
    options.limits.keep_alive_idle = 1500ms;
    RunningServer server(options);
    const std::string ask = "GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n";

    const int kept = connect_from("127.0.0.2", server.port());
    ASSERT_GE(kept, 0);
    for (int k = 0; k < 2; ++k) {
        ASSERT_TRUE(send_all(kept, ask));
        const auto answer = one_answer(kept);
        EXPECT_TRUE(answer.starts_with("HTTP/1.1 200")) << answer;
        EXPECT_NE(answer.find("Keep-Alive: timeout=1, max=100"), std::string::npos) << answer;
        EXPECT_NE(answer.find(R"({"database":"ok"})"), std::string::npos) << answer;
    }
    // A second kept connection from the address fills its share: a third is refused, another
    // address is served.
    const int second = connect_from("127.0.0.2", server.port());
    ASSERT_TRUE(send_all(second, ask));
    EXPECT_TRUE(one_answer(second).starts_with("HTTP/1.1 200"));
    const int refused = connect_from("127.0.0.2", server.port());
    EXPECT_TRUE(read_answer(refused).starts_with("HTTP/1.1 503"));
    ::close(refused);
    // All four taken (three idle, one asking): its answer closes the connection.
    const int third = connect_from("127.0.0.3", server.port());
    ASSERT_TRUE(send_all(third, ask));
    EXPECT_NE(one_answer(third).find("Keep-Alive:"), std::string::npos);
    const int fourth = connect_from("127.0.0.4", server.port());
    ASSERT_TRUE(send_all(fourth, ask));
    const auto crowded = one_answer(fourth);
    EXPECT_NE(crowded.find("Connection: close"), std::string::npos) << crowded;

    // "Connection: close" is heeded; an idle connection is closed after its time.
    const int closing = connect_from("127.0.0.5", server.port());
    ASSERT_TRUE(send_all(closing, "GET /healthz HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n"));
    EXPECT_TRUE(read_answer(closing).starts_with("HTTP/1.1 200"));
    const auto idle_since = Clock::now();
    EXPECT_EQ(read_answer(kept), "");
    EXPECT_LT(Clock::now() - idle_since, 3s);
    for (const int fd : {kept, second, third, fourth, closing}) ::close(fd);
}
