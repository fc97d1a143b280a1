// SPDX-License-Identifier: GPL-3.0-or-later
// The database's own tools do the copying: nothing here reads or writes rows, so a backup holds
// exactly what the database held, indexes and schema version included.
#include "server/database_backup.h"

#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

#include "server/entry_store.h"

extern char** environ;

namespace bestenliste {

namespace {

struct SqliteClose {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Sqlite = std::unique_ptr<sqlite3, SqliteClose>;

std::string open_sqlite(const std::filesystem::path& file, int flags, Sqlite& db) {
    sqlite3* handle = nullptr;
    const int result = sqlite3_open_v2(file.c_str(), &handle, flags, nullptr);
    db.reset(handle);
    if (result != SQLITE_OK) return file.string() + ": " + (handle ? sqlite3_errmsg(handle) : sqlite3_errstr(result));
    // Servers writing at the same moment make the copy wait for them, not fail.
    sqlite3_busy_timeout(handle, 30'000);
    return {};
}

// Copies all of `from` into `to`, in one step so that writers to `from` cannot make it restart.
std::string copy_sqlite(sqlite3* from, sqlite3* to) {
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (backup == nullptr) return sqlite3_errmsg(to);
    int result = SQLITE_OK;
    do {
        result = sqlite3_backup_step(backup, -1);
        if (result == SQLITE_BUSY || result == SQLITE_LOCKED) sqlite3_sleep(50);
    } while (result == SQLITE_OK || result == SQLITE_BUSY || result == SQLITE_LOCKED);
    sqlite3_backup_finish(backup);
    return result == SQLITE_DONE ? std::string() : std::string(sqlite3_errstr(result));
}

std::string first_bytes(const std::filesystem::path& file, size_t count) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes(count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

bool is_sqlite_file(const std::filesystem::path& file) {
    return first_bytes(file, 16) == std::string("SQLite format 3\0", 16);
}

bool is_pg_dump_file(const std::filesystem::path& file) { return first_bytes(file, 5) == "PGDMP"; }

// Runs a program found on PATH, without a shell; its messages go to our standard error.
std::string run(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = -1;
    const int spawned = posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ);
    if (spawned != 0) return "cannot run " + args[0] + ": " + std::strerror(spawned);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {};
    return args[0] + " failed";
}

std::filesystem::path partial_name(const std::filesystem::path& file) { return file.string() + ".partial"; }

std::string finish(const std::filesystem::path& partial, const std::filesystem::path& file) {
    std::error_code error;
    std::filesystem::rename(partial, file, error);
    if (error) {
        std::filesystem::remove(partial, error);
        return file.string() + ": " + error.message();
    }
    return {};
}

}  // namespace

std::string backup_database(const std::string& database, const std::filesystem::path& data_dir,
                            const std::filesystem::path& file) {
    const auto partial = partial_name(file);
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    if (names_postgresql(database)) {
        const std::string failure =
            run({"pg_dump", "--format=custom", "--no-owner", "--file=" + partial.string(), "--dbname=" + database});
        if (!failure.empty()) {
            std::filesystem::remove(partial, ignored);
            return failure;
        }
        return finish(partial, file);
    }
    Sqlite live, copy;
    std::string failure = open_sqlite(sqlite_file(database, data_dir), SQLITE_OPEN_READONLY, live);
    if (failure.empty()) failure = open_sqlite(partial, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, copy);
    if (failure.empty()) failure = copy_sqlite(live.get(), copy.get());
    // A backup is one self-contained file, not a file with a write-ahead log beside it.
    if (failure.empty() &&
        sqlite3_exec(copy.get(), "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        failure = sqlite3_errmsg(copy.get());
    }
    copy.reset();
    if (!failure.empty()) {
        std::filesystem::remove(partial, ignored);
        return failure;
    }
    return finish(partial, file);
}

std::string restore_database(const std::string& database, const std::filesystem::path& data_dir,
                             const std::filesystem::path& file) {
    if (!std::filesystem::is_regular_file(file)) return file.string() + ": no such file";
    if (names_postgresql(database)) {
        if (!is_pg_dump_file(file))
            return file.string() + ": not a backup of a PostgreSQL list (pg_dump custom format)";
        // --clean drops what the backup holds before creating it anew; one transaction makes the
        // whole exchange visible at once, or leaves the list as it was.
        return run({"pg_restore", "--clean", "--if-exists", "--no-owner", "--single-transaction", "--exit-on-error",
                    "--dbname=" + database, file.string()});
    }
    if (!is_sqlite_file(file)) return file.string() + ": not a backup of an SQLite list";
    Sqlite backup, live;
    std::string failure = open_sqlite(file, SQLITE_OPEN_READONLY, backup);
    if (failure.empty()) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(backup.get(),
                           "SELECT count(*) FROM sqlite_schema WHERE name IN ('entries', 'schema_version')", -1,
                           &statement, nullptr);
        const bool ours = statement && sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_int(statement, 0) == 2;
        sqlite3_finalize(statement);
        if (!ours) failure = file.string() + ": not a backup of the list";
    }
    if (failure.empty()) {
        std::filesystem::create_directories(data_dir);
        failure = open_sqlite(sqlite_file(database, data_dir), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, live);
    }
    if (failure.empty()) failure = copy_sqlite(backup.get(), live.get());
    return failure;
}

}  // namespace bestenliste
