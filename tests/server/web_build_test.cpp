// SPDX-License-Identifier: GPL-3.0-or-later
// The browser game served at /spielen: types, gzip copies, caching by hashed names, the page's own
// security policy, and the "Ansehen" link on proved entries.
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>

#include "server/html_pages.h"
#include "server/web_build.h"
#include "tests/server/running_server.h"

namespace {

std::string gunzip(const std::string& packed) {
    z_stream z{};
    EXPECT_EQ(inflateInit2(&z, 15 + 16), Z_OK);
    std::string out(1 << 20, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    z.avail_in = static_cast<uInt>(packed.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    inflateEnd(&z);
    return out;
}

void write(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// A build as scripts/build-web.sh leaves it: the page, its helpers, the program under hashed names.
struct BuildDir {
    BuildDir() {
        write(dir.path() / "index.html", "<!DOCTYPE html><title>Spielen</title>" + std::string(2000, ' '));
        write(dir.path() / "page.js", "'use strict';" + std::string(2000, ';'));
        write(dir.path() / "vorlanix.0123456789ab.wasm", std::string("\0asm", 4) + std::string(50000, '\x01'));
        write(dir.path() / "vorlanix.0123456789ab.data", std::string(300, 'x'));
    }
    TempDir dir;
};

}  // namespace

TEST(WebBuild, FilesGoOutWithTheirTypeCachingAndGzipWhenTheBrowserTakesIt) {
    BuildDir build;
    const auto web = bestenliste::WebBuild::load(build.dir.path());
    struct Case {
        std::string name, accept, type, cache;
        bool gzip;
    };
    const std::string forever = "public, max-age=31536000, immutable";
    for (const Case& c : std::vector<Case>{
             {"", "gzip, deflate, br", "text/html; charset=utf-8", "no-cache", true},
             {"page.js", "", "text/javascript; charset=utf-8", "no-cache", false},
             {"vorlanix.0123456789ab.wasm", "deflate, gzip;q=1.0", "application/wasm", forever, true},
             {"vorlanix.0123456789ab.wasm", "gzip;q=0", "application/wasm", forever, false},
             {"vorlanix.0123456789ab.wasm", "identity, *;q=0.5", "application/wasm", forever, true},
             {"vorlanix.0123456789ab.data", "br", "application/octet-stream", forever, false},
         }) {
        SCOPED_TRACE(c.name + " / " + c.accept);
        const auto a = web->answer(c.name, c.accept);
        ASSERT_EQ(a.status, 200);
        EXPECT_EQ(a.type, c.type);
        EXPECT_EQ(a.cache_control, c.cache);
        EXPECT_EQ(a.gzip, c.gzip);
        const auto plain = web->answer(c.name, "");
        if (c.gzip) {
            EXPECT_LT(a.body.size(), plain.body.size());
            EXPECT_EQ(gunzip(std::string(a.body)), std::string(plain.body));
        }
    }
    EXPECT_EQ(web->answer("missing.js", "gzip").status, 404);
    EXPECT_FALSE(bestenliste::named_by_content("vorlanix.js"));
    EXPECT_FALSE(bestenliste::named_by_content("vorlanix.0123456789AB.js"));
}

TEST(WebBuild, AFolderWithoutThePageIsRefusedWithAClearMessage) {
    TempDir empty;
    EXPECT_THROW(
        {
            try {
                bestenliste::WebBuild::load(empty.path());
            } catch (const std::runtime_error& e) {
                EXPECT_NE(std::string(e.what()).find("index.html"), std::string::npos) << e.what();
                throw;
            }
        },
        std::runtime_error);
    EXPECT_THROW(bestenliste::WebBuild::load(empty.path() / "none"), std::runtime_error);
}

TEST(WebBuild, TheServerPlaysAtSpielenAndLinksProvedEntriesToWatching) {
    BuildDir build;
    bestenliste::ServeOptions options;
    options.web_dir = build.dir.path();
    RunningServer server(options);
    auto client = server.client();
    auto res = client.Get("/spielen");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 302);
    EXPECT_EQ(res->get_header_value("Location"), "/spielen/");
    res = client.Get("/spielen/vorlanix.0123456789ab.wasm", {{"Accept-Encoding", "gzip"}});
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(res->get_header_value("Content-Type"), "application/wasm");
    EXPECT_EQ(res->get_header_value("Content-Encoding"), "gzip");
    EXPECT_NE(res->get_header_value("Content-Security-Policy").find("'wasm-unsafe-eval'"), std::string::npos);
    EXPECT_EQ(client.Get("/spielen/../index.html")->status, 404);
    EXPECT_EQ(client.Get("/")->get_header_value("Content-Security-Policy").find("wasm"), std::string::npos);

    const bestenliste::ListedEntry proved{7, 1, "P", 11565, 1'765'000'000'000, true};
    const bestenliste::ListedEntry unproved{8, 1, "U", 11565, 1'765'000'000'000, false};
    EXPECT_NE(bestenliste::entry_page(proved, true).find("href=\"/spielen/?ansehen=7\">Ansehen<"), std::string::npos);
    EXPECT_EQ(bestenliste::entry_page(proved, false).find("Ansehen"), std::string::npos);
    EXPECT_EQ(bestenliste::entry_page(unproved, true).find("Ansehen"), std::string::npos);
}

TEST(WebBuild, WithoutAWebDirThereIsNoGamePage) {
    RunningServer server;
    EXPECT_EQ(server.client().Get("/spielen/")->status, 404);
}
