// SPDX-License-Identifier: GPL-3.0-or-later
// The world list at a million entries, on SQLite and on PostgreSQL (bench/list_scale.sh starts a
// throw-away cluster and names it in VORLANIX_BENCH_POSTGRESQL): what the list page, the JSON API
// and a search cost (p50/p99, wall clock and this thread's CPU), and uploads per second at a
// million entries against the same on an empty list, measured in one run.
#include <benchmark/benchmark.h>
#include <soci/postgresql/soci-postgresql.h>
#include <soci/soci.h>
#include <soci/sqlite3/soci-sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <optional>
#include <random>
#include <string>

#include "score/upload_file.h"
#include "server/html_pages.h"
#include "server/json_answers.h"
#include "server/upload_desk.h"

namespace {

constexpr int64_t million = 1'000'000;

struct ScratchDir {
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vorlanix-scale-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~ScratchDir() { std::filesystem::remove_all(path); }
    std::filesystem::path path;
};

// A fresh list: an SQLite file in `dir`, or a new database in the cluster the script started.
std::string fresh_database(bool postgresql, const std::string& name) {
    if (!postgresql) return {};
    const char* cluster = std::getenv("VORLANIX_BENCH_POSTGRESQL");
    soci::session admin(soci::postgresql, bestenliste::postgresql_key_values(std::string(cluster) + "/postgres"));
    admin << "DROP DATABASE IF EXISTS " + name;
    admin << "CREATE DATABASE " + name;
    return std::string(cluster) + "/" + name;
}

// The rows are made by the database itself in one statement: nicknames of eight pseudo-random hex
// digits after "Sp", ages spread over 80 years, every third entry proved.
void fill(bestenliste::EntryStore& store, const std::string& database, const std::filesystem::path& dir,
          int64_t entries) {
    const std::string last = std::to_string(entries - 1);
    if (store.is_postgresql()) {
        soci::session sql(soci::postgresql, bestenliste::postgresql_key_values(database));
        // In batches: one transaction updating the same counters a million times would keep every
        // old version of their rows, which makes each update slower than the last.
        constexpr int64_t batch = 20'000;
        for (int64_t first = 0; first < entries; first += batch) {
            sql << "INSERT INTO entries (upload, nickname, nickname_key, days, uploaded, proved) "
                   "SELECT n::text, 'Sp' || lpad(to_hex((n * 2654435761) % 4294967296), 8, '0'), "
                   "'sp' || lpad(to_hex((n * 2654435761) % 4294967296), 8, '0'), (n * 7919) % 28801, "
                   "1765000000000 + n, (n % 3 = 0)::int FROM generate_series(" +
                       std::to_string(first) + "::bigint, " + std::to_string(std::min(entries, first + batch) - 1) +
                       ") AS n";
        }
        sql << "ANALYZE";
    } else {
        soci::session sql(soci::sqlite3, "db=\"" + (dir / "bestenliste.sqlite").string() + "\"");
        sql << "WITH RECURSIVE seq(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM seq WHERE n < " + last +
                   ") INSERT INTO entries (upload, nickname, nickname_key, days, uploaded, proved) "
                   "SELECT n, printf('Sp%08x', (n * 2654435761) % 4294967296), "
                   "printf('sp%08x', (n * 2654435761) % 4294967296), (n * 7919) % 28801, 1765000000000 + n, "
                   "n % 3 = 0 FROM seq";
        sql << "ANALYZE";
        sql.close();
        // A list that grew by uploads has its entries in the search index.
        store.catch_up_search();
        sql.open(soci::sqlite3, "db=\"" + (dir / "bestenliste.sqlite").string() + "\"");
        // The fill went through the write-ahead log; copied into the file now, not by the first
        // measured upload.
        sql << "PRAGMA wal_checkpoint(TRUNCATE)";
    }
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

// Times `work` `times` times and reports wall and CPU percentiles under `name`.
template <typename Work>
void measure(benchmark::State& state, const std::string& name, int times, Work work) {
    std::vector<double> wall, cpu;
    for (int k = 0; k < times; ++k) {
        const auto start = std::chrono::steady_clock::now();
        const double cpu_start = thread_cpu_micros();
        work(k);
        wall.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        cpu.push_back(thread_cpu_micros() - cpu_start);
    }
    state.counters[name + "_p50_ms"] = percentile_ms(wall, 50);
    state.counters[name + "_p99_ms"] = percentile_ms(wall, 99);
    state.counters[name + "_cpu_p99_ms"] = percentile_ms(cpu, 99);
}

std::vector<uint8_t> upload(int64_t n) {
    score::UploadEntry e;
    e.S = static_cast<int32_t>(n);
    e.t = static_cast<int32_t>(n * 7919 % 28801);  // ages all over the list, as the filled rows have
    e.FeldText = {"", "N" + std::to_string(n), "Name", "Vorname", "1.1.1980", "Weg 1", "10115", "Ort", "a@b.de"};
    const auto bytes = score::encode_upload(e);
    return {bytes.begin(), bytes.end()};
}

// Seconds taken by `count` uploads (checks, a synced commit and the new entry's rank each), or
// nothing when one was refused.
std::optional<double> upload_seconds(bestenliste::UploadDesk& desk, int64_t first, int count) {
    const auto start = std::chrono::steady_clock::now();
    for (int64_t n = first; n < first + count; ++n) {
        if (desk.take(upload(n)).reason != bestenliste::Reason::Accepted) return std::nullopt;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Arg 0: SQLite, 1: PostgreSQL.
void BM_ListAtAMillion(benchmark::State& state) {
    const bool postgresql = state.range(0) == 1;
    if (postgresql && std::getenv("VORLANIX_BENCH_POSTGRESQL") == nullptr) {
        state.SkipWithError("no PostgreSQL cluster: run bench/list_scale.sh");
        for (auto _ : state) {
        }
        return;
    }
    for (auto _ : state) {
        ScratchDir empty_dir, full_dir;
        const std::string empty_db = fresh_database(postgresql, "leer");
        const std::string full_db = fresh_database(postgresql, "voll");
        bestenliste::EntryStore empty(empty_db, empty_dir.path, 2);
        bestenliste::EntryStore full(full_db, full_dir.path, 2);
        fill(full, full_db, full_dir.path, million);

        std::mt19937 random(11);
        // The world list at / is the proved one, every third entry of the fill.
        constexpr auto proved = bestenliste::Listing::Proved;
        const int64_t total = full.count(proved);
        const int64_t pages = total / bestenliste::entries_per_page;
        measure(state, "page", 300, [&](int k) {
            bestenliste::ListView view;
            // Every third visit is the first page, the others anywhere in the list.
            view.page = k % 3 == 0 ? 1 : 1 + static_cast<int64_t>(random() % pages);
            view.total = full.count(proved);
            view.entries =
                full.page(proved, (view.page - 1) * bestenliste::entries_per_page, bestenliste::entries_per_page);
            benchmark::DoNotOptimize(bestenliste::list_page(view));
        });
        measure(state, "api", 300, [&](int) {
            const int64_t offset = static_cast<int64_t>(random() % (total - bestenliste::api_list_limit));
            benchmark::DoNotOptimize(bestenliste::list_answer(proved, full.count(proved),
                                                              full.page(proved, offset, bestenliste::api_list_limit)));
        });
        // Parts of nicknames as players type them: three to six characters of one.
        // VORLANIX_BENCH_SEARCHES: fewer searches where each one scans the list.
        const char* searches = std::getenv("VORLANIX_BENCH_SEARCHES");
        measure(state, "search", searches ? std::atoi(searches) : 100, [&](int k) {
            char name[16];
            std::snprintf(name, sizeof name, "sp%08llx",
                          static_cast<unsigned long long>((random() % million) * 2654435761ULL % 4294967296ULL));
            const size_t length = 3 + k % 4;
            const std::string search = std::string(name).substr(2 + random() % (9 - length), length);
            bestenliste::ListView view;
            view.search = search;
            auto found = full.search(proved, search, 0, bestenliste::entries_per_page);
            view.total = found.total;
            view.entries = std::move(found.entries);
            benchmark::DoNotOptimize(bestenliste::list_page(view));
        });
        // In turns of 50, so that whatever else the machine does falls on both lists alike; 1000
        // each, so that the uploads include the batches that take new entries into the search index.
        bestenliste::UploadDesk empty_desk(empty), full_desk(full);
        double empty_seconds = 0, full_seconds = 0;
        constexpr int turn = 50, uploads = 1000;
        for (int first = 0; first < uploads; first += turn) {
            const auto on_empty = upload_seconds(empty_desk, first, turn);
            const auto on_full = upload_seconds(full_desk, first, turn);
            if (!on_empty || !on_full) {
                state.SkipWithError("an upload was refused");
                break;
            }
            empty_seconds += *on_empty;
            full_seconds += *on_full;
        }
        state.counters["uploads_empty_per_s"] = uploads / empty_seconds;
        state.counters["uploads_full_per_s"] = uploads / full_seconds;
        state.counters["uploads_ratio"] = empty_seconds / full_seconds;
    }
}
BENCHMARK(BM_ListAtAMillion)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
