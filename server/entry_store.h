// SPDX-License-Identifier: GPL-3.0-or-later
// The list's storage: one access layer over SQLite (one file, the default) and PostgreSQL.
// Every call commits before it returns, so what a caller was told is stored survives a crash.
#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace soci {
class connection_pool;
class session;
}  // namespace soci

namespace bestenliste {

struct NewEntry {
    std::span<const uint8_t> upload;  // the 332 bytes, unique in the list
    std::string nickname;             // UTF-8
    int32_t days = 0;
    int64_t uploaded_ms = 0;                         // milliseconds since 1970, UTC
    std::optional<std::span<const uint8_t>> replay;  // stored only with a proved entry: its public game
    std::string game_key;       // the proved game's key (hex), unique in the list; empty when unproved
    std::optional<int64_t> id;  // given to an entry that waited for its proof; otherwise the next one
};

struct ListedEntry {
    int64_t id = 0;
    int64_t rank = 0;
    std::string nickname;  // UTF-8
    int32_t days = 0;
    int64_t uploaded_ms = 0;
    bool proved = false;
};

// The two lists: results proved by their replay, and results that came without one (the form a
// mailed result takes). Each is ranked on its own, so an unproved result never stands above a
// proved one.
enum class Listing { Proved, Unproved };

struct ExportedEntry {
    ListedEntry listed;
    std::vector<uint8_t> upload;  // the file as received, with the personal entries
};

class ProofQueue;

class EntryStore {
  public:
    // `database` is empty (SQLite file in data_dir), "sqlite:PATH", or a postgresql:// URL.
    // Creates or migrates the schema; throws std::runtime_error when the database cannot be used.
    EntryStore(const std::string& database, const std::filesystem::path& data_dir, size_t connections);
    ~EntryStore();
    EntryStore(const EntryStore&) = delete;
    EntryStore& operator=(const EntryStore&) = delete;

    bool is_postgresql() const { return postgresql_; }
    int schema_version();

    // Whether the database answers now (a connection lost to a restart is opened again).
    bool healthy();

    bool contains(std::span<const uint8_t> upload);
    // Whether an entry is already proved by the game of this key.
    bool holds_game(const std::string& game_key);
    // The new entry's id, or nothing when the same bytes are already stored.
    std::optional<int64_t> insert(const NewEntry& entry);
    // Ranked as the game ranks: lower age first, equal ages by the earlier upload.
    std::vector<ListedEntry> page(Listing list, int64_t offset, int64_t limit, const std::string& search = {});
    int64_t count(Listing list, const std::string& search = {});
    // One page of a search's hits in one list, each at its place in the whole list, and how many
    // hits there are, from one reading of the index.
    struct Found {
        int64_t total = 0;
        std::vector<ListedEntry> entries;
    };
    Found search(Listing list, const std::string& search, int64_t offset, int64_t limit);
    // Puts every entry not yet in SQLite's trigram table into it (uploads do so in batches, and
    // a search reads the entries after the last batch directly). Nothing to do on PostgreSQL.
    void catch_up_search();
    // Entries in both lists.
    int64_t total();
    // With its rank in its own list.
    std::optional<ListedEntry> find(int64_t id);
    std::optional<std::vector<uint8_t>> replay(int64_t id);
    // Removes every entry of that nickname (UTF-8, exact); returns how many.
    int64_t delete_nickname(const std::string& nickname);
    // The proved list, then the unproved one, each ranked on its own.
    void for_each_ranked(const std::function<void(const ExportedEntry&)>& visit);

  private:
    friend class ProofQueue;
    // Each public call leases its own connection; helpers never hold one while calling another.
    struct SearchQuery {
        std::string condition;  // on entries, with one parameter, or two when `second` is given
        std::string value;
        std::optional<std::string> second;
    };
    SearchQuery search_query(const std::string& search) const;
    std::vector<ListedEntry> ranked_page(soci::session& sql, int proved, int64_t offset, int64_t limit);
    Found found_page(soci::session& sql, int proved, int64_t offset, int64_t limit, const std::string& search);
    int64_t found_count(soci::session& sql, int proved, const std::string& search);
    void index_new_entries(soci::session& sql, int64_t limit);
    int64_t rank_of(soci::session& sql, int proved, int32_t days, int64_t id);
    void revive(soci::session& sql);

    std::unique_ptr<soci::connection_pool> pool_;
    size_t connections_;
    bool postgresql_ = false;
    // SQLite takes one writer at a time; queueing writers here spares them its busy-wait back-off.
    std::mutex sqlite_writer_;
};

// What a database error says, without the statement and its values (which hold personal data).
std::string database_message(const std::exception& error);

// Which database a --database value names, and the file of an SQLite one.
bool names_postgresql(const std::string& database);
// Any address libpq takes (URI or key=value) as the key=value pairs SOCI passes on unchanged.
std::string postgresql_key_values(const std::string& database);
std::filesystem::path sqlite_file(const std::string& database, const std::filesystem::path& data_dir);

// The lower-case form of a nickname used by the search (ASCII and the Latin-1 letters).
std::string search_key(const std::string& nickname_utf8);

}  // namespace bestenliste
