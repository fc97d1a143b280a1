// SPDX-License-Identifier: GPL-3.0-or-later
// The world-list server: uploads accepted per second (checks and a synced commit each, in process
// and over loopback HTTP), and what the list page costs at 100 000 entries on SQLite (p50/p99).
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <soci/soci.h>
#include <soci/sqlite3/soci-sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <ctime>
#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "score/upload_file.h"
#include "server/html_pages.h"
#include "server/world_list_server.h"

namespace {

struct BenchDir {
    BenchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vorlanix-bench-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~BenchDir() { std::filesystem::remove_all(path); }
    std::filesystem::path path;
};

std::vector<uint8_t> upload(int n) {
    score::UploadEntry e;
    e.S = n;
    e.t = n % 28801;
    e.FeldText = {"", "N" + std::to_string(n), "Name", "Vorname", "1.1.1980", "Weg 1", "10115", "Ort", "a@b.de"};
    const auto bytes = score::encode_upload(e);
    return {bytes.begin(), bytes.end()};
}

void BM_UploadAcceptedInProcess(benchmark::State& state) {
    BenchDir dir;
    bestenliste::EntryStore store("", dir.path, 1);
    bestenliste::UploadDesk desk(store);
    int n = 0;
    for (auto _ : state) {
        const auto bytes = upload(n++);
        if (desk.take(bytes).reason != bestenliste::Reason::Accepted) state.SkipWithError("refused");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UploadAcceptedInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_UploadAcceptedOverHttp(benchmark::State& state) {
    BenchDir dir;
    bestenliste::EntryStore store("", dir.path, 4);
    bestenliste::UploadDesk desk(store);
    bestenliste::ServeOptions options;
    options.port = 0;
    options.rate_limit = 0;
    bestenliste::WorldListServer server(store, desk, options);
    const int port = server.bind();
    std::thread serving([&] { server.run(); });
    httplib::Client client("127.0.0.1", port);
    int n = 0;
    for (auto _ : state) {
        const auto bytes = upload(n++);
        const auto res =
            client.Post("/api/upload",
                        httplib::MultipartFormDataItems{{"qhs", std::string(bytes.begin(), bytes.end()), "a.qhs", ""}});
        if (!res || res->status != 201) state.SkipWithError("refused");
    }
    state.SetItemsProcessed(state.iterations());
    server.stop();
    serving.join();
}
BENCHMARK(BM_UploadAcceptedOverHttp)->Unit(benchmark::kMillisecond)->UseRealTime();

// 100 000 entries written in one transaction, past the store (which commits each alone).
void fill(const std::filesystem::path& dir, int entries) {
    { bestenliste::EntryStore schema("", dir, 1); }
    soci::session sql(soci::sqlite3, "db=\"" + (dir / "bestenliste.sqlite").string() + "\"");
    soci::transaction filling(sql);
    std::string hex, nickname, key;
    int days = 0, proved = 0;
    long long uploaded = 0;
    soci::statement st =
        (sql.prepare << "INSERT INTO entries (upload, nickname, nickname_key, days, uploaded, "
                        "proved) VALUES (:u, :n, :k, :d, :t, :p)",
         soci::use(hex), soci::use(nickname), soci::use(key), soci::use(days), soci::use(uploaded), soci::use(proved));
    std::mt19937 random(7);
    for (int n = 0; n < entries; ++n) {
        hex = std::to_string(n);
        nickname = "Spieler" + std::to_string(n);
        key = "spieler" + std::to_string(n);
        days = static_cast<int>(random() % 28801);
        uploaded = 1'765'000'000'000LL + n;
        proved = n % 3 == 0;
        st.execute(true);
    }
    filling.commit();
}

double thread_cpu_micros() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

double percentile_ms(std::vector<double> micros, size_t p) {
    std::sort(micros.begin(), micros.end());
    return micros[std::min(micros.size() - 1, micros.size() * p / 100)] / 1000;
}

// What GET / does: count, fetch one page, render it. Arg 0: the first page; 1: any page at random.
void BM_ListPageAt100000(benchmark::State& state) {
    constexpr int entries = 100'000;
    static BenchDir dir;
    static const bool filled = (fill(dir.path, entries), true);
    (void)filled;
    bestenliste::EntryStore store("", dir.path, 1);
    std::mt19937 random(11);
    const int64_t pages = entries / 3 / bestenliste::entries_per_page;  // every third entry is proved
    std::vector<double> micros, cpu_micros;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double cpu_start = thread_cpu_micros();
        bestenliste::ListView view;
        view.page = state.range(0) == 0 ? 1 : 1 + static_cast<int64_t>(random() % pages);
        view.total = store.count(bestenliste::Listing::Proved);
        view.entries = store.page(bestenliste::Listing::Proved, (view.page - 1) * bestenliste::entries_per_page,
                                  bestenliste::entries_per_page);
        benchmark::DoNotOptimize(bestenliste::list_page(view));
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        cpu_micros.push_back(thread_cpu_micros() - cpu_start);
    }
    state.counters["p50_ms"] = percentile_ms(micros, 50);
    state.counters["p99_ms"] = percentile_ms(micros, 99);
    // On a shared machine the wall-clock tail is mostly other programs; the thread's own CPU time is not.
    state.counters["cpu_p50_ms"] = percentile_ms(cpu_micros, 50);
    state.counters["cpu_p99_ms"] = percentile_ms(cpu_micros, 99);
}
BENCHMARK(BM_ListPageAt100000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
