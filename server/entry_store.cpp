// SPDX-License-Identifier: GPL-3.0-or-later
// SOCI speaks to both databases through the same statements; only the schema's id column and the
// connection set-up differ. Every value reaches SQL as a bound parameter.
#include "server/entry_store.h"

#include <soci/postgresql/soci-postgresql.h>
#include <soci/soci.h>
#include <libpq-fe.h>
#include <soci/sqlite3/soci-sqlite3.h>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <optional>
#include <stdexcept>
#include <thread>

#include "base/cp1252.h"
#include "base/log.h"
#include "server/hex.h"
#include "server/schema.h"

namespace bestenliste {

namespace {

constexpr const char* sqlite_file_name = "bestenliste.sqlite";

bool starts_with_any(const std::string& text, std::initializer_list<const char*> prefixes) {
    for (const char* prefix : prefixes) {
        if (text.starts_with(prefix)) return true;
    }
    return false;
}

// The LIKE pattern that finds a nickname containing `search`; "!" escapes the wildcards.
std::string contains_pattern(const std::string& search) {
    std::string pattern = "%";
    for (const char c : search_key(search)) {
        if (c == '%' || c == '_' || c == '!') pattern += '!';
        pattern += c;
    }
    return pattern + "%";
}

const char* const listed_columns = "SELECT id, nickname, days, uploaded, proved FROM entries";

// The counters hold blocks of 256 ages (2^8).
constexpr int block_shift = 8;

// New entries go into SQLite's trigram table this many at a time; a search reads at most this
// many entries directly.
constexpr int64_t search_batch = 512;

// The value of the entries' `proved` column for a list.
int proved_value(Listing list) { return list == Listing::Proved ? 1 : 0; }

// What one request reads, it reads from one state of the list, even while others write.
class ReadSnapshot {
  public:
    ReadSnapshot(soci::session& sql, bool postgresql) : sql_(sql) {
        sql_ << (postgresql ? "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY" : "BEGIN");
    }
    ~ReadSnapshot() {
        try {
            sql_ << "COMMIT";
        } catch (const soci::soci_error&) {
            // Lost with the connection; nothing was written.
        }
    }
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

  private:
    soci::session& sql_;
};

// Several processes may open a new list at once (an MTA runs a delivery per message). Turning its
// file to WAL takes a lock that SQLite does not wait for, whatever the busy timeout says: "database
// is locked" at once while another process has the file open. So it is tried again here, for as
// long as a busy database is waited for.
void use_write_ahead_log(soci::session& sql) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (auto pause = std::chrono::milliseconds(1);; pause = std::min(pause * 2, std::chrono::milliseconds(100))) {
        try {
            std::string mode;
            sql << "PRAGMA journal_mode=WAL", soci::into(mode);
            if (mode == "wal" || std::chrono::steady_clock::now() > give_up) return;
        } catch (const soci::sqlite3_soci_error& error) {
            if ((error.result() & 0xFF) != SQLITE_BUSY || std::chrono::steady_clock::now() > give_up) throw;
        }
        std::this_thread::sleep_for(pause);
    }
}

}  // namespace

std::string search_key(const std::string& nickname_utf8) {
    std::string bytes = cp1252::from_utf8(nickname_utf8);
    for (char& c : bytes) {
        const auto b = static_cast<uint8_t>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) {
            c = static_cast<char>(b + 0x20);
        }
    }
    return cp1252::to_utf8(bytes);
}

std::string database_message(const std::exception& error) {
    if (const auto* failure = dynamic_cast<const soci::soci_error*>(&error)) return failure->get_error_message();
    return error.what();
}

bool names_postgresql(const std::string& database) {
    // libpq's URIs, or its key=value form ("host=... dbname=...").
    return starts_with_any(database, {"postgresql://", "postgres://"}) ||
           (!database.starts_with("sqlite:") && database.find('=') != std::string::npos);
}

std::string postgresql_key_values(const std::string& database) {
    char* failure = nullptr;
    PQconninfoOption* options = PQconninfoParse(database.c_str(), &failure);
    if (options == nullptr) {
        std::string message = failure ? failure : "cannot be read";
        PQfreemem(failure);
        while (!message.empty() && message.back() == '\n') message.pop_back();
        throw std::runtime_error("database address: " + message);
    }
    std::string text;
    for (const PQconninfoOption* option = options; option->keyword != nullptr; ++option) {
        if (option->val == nullptr) continue;
        std::string value;
        for (const char c : std::string(option->val)) {
            if (c == '\'' || c == '\\') value += '\\';
            value += c;
        }
        if (!text.empty()) text += ' ';
        text += std::string(option->keyword) + "='" + value + "'";
    }
    PQconninfoFree(options);
    return text;
}

std::filesystem::path sqlite_file(const std::string& database, const std::filesystem::path& data_dir) {
    if (database.empty()) return data_dir / sqlite_file_name;
    if (database.starts_with("sqlite:")) return database.substr(7);
    throw std::runtime_error("unknown database \"" + database + "\": use postgresql://... or sqlite:FILE");
}

EntryStore::EntryStore(const std::string& database, const std::filesystem::path& data_dir, size_t connections)
    : pool_(std::make_unique<soci::connection_pool>(connections)), connections_(connections) {
    postgresql_ = names_postgresql(database);
    try {
        if (postgresql_) {
            // SOCI reads its own options out of the address as key=value pairs, which breaks a URI
            // without a query string; libpq's own reading of any form it takes goes to SOCI as pairs.
            const std::string key_values = postgresql_key_values(database);
            for (size_t k = 0; k < connections_; ++k) {
                pool_->at(k).open(soci::postgresql, key_values);
                // "relation already exists, skipping" and the like are not worth a line in the log.
                pool_->at(k) << "SET client_min_messages TO WARNING";
            }
        } else {
            if (database.empty()) std::filesystem::create_directories(data_dir);
            const std::filesystem::path file = sqlite_file(database, data_dir);
            for (size_t k = 0; k < connections_; ++k) {
                auto& sql = pool_->at(k);
                sql.open(soci::sqlite3, "db=\"" + file.string() + "\" timeout=30");
                use_write_ahead_log(sql);
                // Every commit reaches the disk before the caller is answered.
                sql << "PRAGMA synchronous=FULL";
                // A large list's indexes are read at random places by every upload: 32 MiB of
                // pages in memory instead of SQLite's 2 MiB.
                sql << "PRAGMA cache_size=-32768";
            }
        }
        soci::session sql(*pool_);
        revive(sql);
        sql << "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)";
        // Several servers may share one PostgreSQL database and start at once. SQLite would not
        // wait to turn a reader into a writer while another process writes (it could deadlock),
        // so processes opening one list at once (a server, mail deliveries) take the write lock first.
        std::optional<soci::transaction> migrating;
        if (postgresql_) {
            migrating.emplace(sql);
            sql << "LOCK TABLE schema_version IN EXCLUSIVE MODE";
        } else {
            sql << "BEGIN IMMEDIATE";
        }
        int version = 0;
        soci::indicator seen = soci::i_null;
        sql << "SELECT max(version) FROM schema_version", soci::into(version, seen);
        if (seen != soci::i_ok) version = 0;
        for (const auto& migration : migrations(postgresql_)) {
            if (migration.version <= version) continue;
            for (const auto statement : migration.statements) {
                sql << std::string(statement);
            }
            sql << "INSERT INTO schema_version (version) VALUES (:v)", soci::use(migration.version);
        }
        if (migrating) {
            migrating->commit();
        } else {
            sql << "COMMIT";
        }
    } catch (const soci::soci_error& error) {
        throw std::runtime_error(std::string("database: ") + error.what());
    }
}

EntryStore::~EntryStore() = default;

void EntryStore::revive(soci::session& sql) {
    // A connection that a database restart broke is opened again before it is used; while the
    // database is away this throws, and the caller answers that storage is unavailable.
    if (postgresql_ && !sql.is_connected()) {
        sql.reconnect();
        sql << "SET client_min_messages TO WARNING";
    }
}

bool EntryStore::healthy() {
    try {
        soci::session sql(*pool_);
        revive(sql);
        int one = 0;
        sql << "SELECT 1", soci::into(one);
        return one == 1;
    } catch (const std::exception&) {
        return false;
    }
}

int EntryStore::schema_version() {
    soci::session sql(*pool_);
    revive(sql);
    int version = 0;
    sql << "SELECT max(version) FROM schema_version", soci::into(version);
    return version;
}

bool EntryStore::contains(std::span<const uint8_t> upload) {
    soci::session sql(*pool_);
    revive(sql);
    const std::string hex = to_hex(upload);
    long long id = 0;
    sql << "SELECT id FROM entries WHERE upload = :upload", soci::use(hex), soci::into(id);
    return sql.got_data();
}

bool EntryStore::holds_game(const std::string& game_key) {
    soci::session sql(*pool_);
    long long id = 0;
    sql << "SELECT id FROM entries WHERE game_key = :game", soci::use(game_key), soci::into(id);
    return sql.got_data();
}

std::optional<int64_t> EntryStore::insert(const NewEntry& entry) {
    std::unique_lock writer(sqlite_writer_, std::defer_lock);
    if (!postgresql_) writer.lock();
    soci::session sql(*pool_);
    revive(sql);
    const std::string upload = to_hex(entry.upload);
    const std::string key = search_key(entry.nickname);
    const int proved = entry.replay ? 1 : 0;
    const long long uploaded = entry.uploaded_ms;
    std::string replay;
    soci::indicator replay_given = soci::i_null;
    if (entry.replay) {
        replay = to_hex(*entry.replay);
        replay_given = soci::i_ok;
    }
    soci::indicator game_given = entry.game_key.empty() ? soci::i_null : soci::i_ok;
    long long id = 0, indexed_up_to = 0;
    bool inserted = false;
    // The row comes back before the statement is done, and a failing commit of an implicit
    // transaction (a full disk) would go unnoticed: the new entry counts only once COMMIT succeeded.
    sql << (postgresql_ ? "BEGIN" : "BEGIN IMMEDIATE");
    try {
        if (entry.id) {
            // An entry that waited for its proof keeps the id it was given when it was uploaded.
            const long long given = *entry.id;
            sql << "INSERT INTO entries (id, upload, nickname, nickname_key, days, uploaded, proved, replay, game_key) "
                   "VALUES (:id, :upload, :nickname, :key, :days, :uploaded, :proved, :replay, :game) "
                   "ON CONFLICT DO NOTHING RETURNING id",
                soci::use(given), soci::use(upload), soci::use(entry.nickname), soci::use(key), soci::use(entry.days),
                soci::use(uploaded), soci::use(proved), soci::use(replay, replay_given),
                soci::use(entry.game_key, game_given), soci::into(id);
        } else {
            sql << "INSERT INTO entries (upload, nickname, nickname_key, days, uploaded, proved, replay, game_key) "
                   "VALUES (:upload, :nickname, :key, :days, :uploaded, :proved, :replay, :game) "
                   "ON CONFLICT DO NOTHING RETURNING id",
                soci::use(upload), soci::use(entry.nickname), soci::use(key), soci::use(entry.days),
                soci::use(uploaded), soci::use(proved), soci::use(replay, replay_given),
                soci::use(entry.game_key, game_given), soci::into(id);
        }
        inserted = sql.got_data();
        if (inserted && !postgresql_) sql << "SELECT up_to FROM search_indexed", soci::into(indexed_up_to);
        sql << "COMMIT";
    } catch (...) {
        try {
            sql << "ROLLBACK";
        } catch (const soci::soci_error&) {
            // Lost with the connection; the transaction ends with it.
        }
        throw;
    }
    if (!inserted) return std::nullopt;
    if (!postgresql_ && id - indexed_up_to >= search_batch) {
        // The entry is stored; the search finds it whether or not this batch gets into the index.
        try {
            index_new_entries(sql, search_batch);
        } catch (const std::exception& error) {
            try {
                sql << "ROLLBACK";
            } catch (const soci::soci_error&) {
                // No transaction was open, or the connection is gone with it.
            }
            base::Log("indexing new entries for the search failed: %s", database_message(error).c_str());
        }
    }
    return id;
}

void EntryStore::index_new_entries(soci::session& sql, int64_t limit) {
    const long long most = limit;
    long long from = 0, to = 0;
    soci::indicator any = soci::i_null;
    sql << "BEGIN IMMEDIATE";
    sql << "SELECT up_to FROM search_indexed", soci::into(from);
    sql << "SELECT max(id) FROM (SELECT id FROM entries WHERE id > :from ORDER BY id LIMIT :most)", soci::use(from),
        soci::use(most), soci::into(to, any);
    if (any == soci::i_ok) {
        sql << "INSERT INTO entries_search (rowid, nickname_key) SELECT id, nickname_key FROM entries "
               "WHERE id > :from AND id <= :to",
            soci::use(from), soci::use(to);
        sql << "UPDATE search_indexed SET up_to = :to", soci::use(to);
    }
    sql << "COMMIT";
}

void EntryStore::catch_up_search() {
    if (postgresql_) return;
    std::lock_guard writer(sqlite_writer_);
    soci::session sql(*pool_);
    try {
        index_new_entries(sql, std::numeric_limits<int64_t>::max());
    } catch (...) {
        try {
            sql << "ROLLBACK";
        } catch (const soci::soci_error&) {
            // No transaction was open, or the connection is gone with it.
        }
        throw;
    }
}

std::vector<ListedEntry> EntryStore::page(Listing list, int64_t offset, int64_t limit, const std::string& search) {
    soci::session sql(*pool_);
    revive(sql);
    ReadSnapshot snapshot(sql, postgresql_);
    const int proved = proved_value(list);
    if (search.empty()) return ranked_page(sql, proved, offset, limit);
    return found_page(sql, proved, offset, limit, search).entries;
}

EntryStore::Found EntryStore::search(Listing list, const std::string& search, int64_t offset, int64_t limit) {
    soci::session sql(*pool_);
    revive(sql);
    ReadSnapshot snapshot(sql, postgresql_);
    const int proved = proved_value(list);
    Found found = found_page(sql, proved, offset, limit, search);
    // Past the last hit no row tells how many there are.
    if (found.entries.empty()) found.total = found_count(sql, proved, search);
    return found;
}

std::vector<ListedEntry> EntryStore::ranked_page(soci::session& sql, int proved, int64_t offset, int64_t limit) {
    std::vector<ListedEntry> entries;
    if (offset < 0 || limit <= 0) return entries;
    // The page's first entry is the k-th entry of some age: the block counters find its block,
    // the age counters its age, and the rank index skips only the k entries of that age before it.
    long long bucket = 0, entries_in = 0;
    int64_t before = 0;
    std::optional<long long> block;
    {
        soci::statement st = (sql.prepare << "SELECT bucket, entries FROM rank_counts "
                                             "WHERE level = 1 AND proved = :proved AND entries > 0 ORDER BY bucket",
                              soci::use(proved), soci::into(bucket), soci::into(entries_in));
        st.execute();
        while (st.fetch()) {
            if (before + entries_in > offset) {
                block = bucket;
                break;
            }
            before += entries_in;
        }
    }
    if (!block) return entries;
    long long first_age = *block << block_shift;
    {
        const long long lowest = *block << block_shift, highest = lowest + (1 << block_shift);
        soci::statement st =
            (sql.prepare << "SELECT bucket, entries FROM rank_counts WHERE level = 0 AND proved = "
                            ":proved AND bucket >= :lowest AND bucket < :highest AND entries > 0 "
                            "ORDER BY bucket",
             soci::use(proved), soci::use(lowest), soci::use(highest), soci::into(bucket), soci::into(entries_in));
        st.execute();
        while (st.fetch()) {
            first_age = bucket;
            if (before + entries_in > offset) break;
            before += entries_in;
        }
    }
    ListedEntry row;
    long long id = 0, uploaded = 0, count = limit, skip = offset - before;
    int listed_proved = 0;
    soci::statement st =
        (sql.prepare << listed_columns + std::string(" WHERE proved = :proved AND days >= :age "
                                                     "ORDER BY days, id LIMIT :limit OFFSET :skip"),
         soci::into(id), soci::into(row.nickname), soci::into(row.days), soci::into(uploaded),
         soci::into(listed_proved), soci::use(proved), soci::use(first_age), soci::use(count), soci::use(skip));
    st.execute();
    int64_t position = offset;
    while (st.fetch()) {
        row.id = id;
        row.uploaded_ms = uploaded;
        row.proved = listed_proved != 0;
        row.rank = ++position;
        entries.push_back(row);
    }
    return entries;
}

EntryStore::Found EntryStore::found_page(soci::session& sql, int proved, int64_t offset, int64_t limit,
                                         const std::string& search) {
    Found found;
    if (offset < 0 || limit <= 0) return found;
    // The list is a number of ours, written into the statement so that PostgreSQL picks that
    // list's trigram index. Every hit is counted, so the hits are gathered through that index and
    // sorted ("days + 0"): walking the rank index instead, which the planner may think cheaper for
    // one page, reads the whole list. Each hit's rank is counted as rank_of counts it, in the same
    // statement.
    const std::string list = std::to_string(proved);
    const SearchQuery query = search_query(search);
    const std::string text =
        "SELECT e.id, e.nickname, e.days, e.uploaded, e.hits, CAST((SELECT coalesce(sum(r.entries), 0) "
        "FROM rank_counts r WHERE r.proved = " +
        list +
        " AND ((r.level = 1 AND r.bucket < e.days >> 8) OR (r.level = 0 AND r.bucket >= (e.days >> 8) << 8 "
        "AND r.bucket < e.days))) + (SELECT count(*) FROM entries o WHERE o.proved = " +
        list +
        " AND o.days = e.days AND o.id < e.id) + 1 AS BIGINT) FROM (SELECT id, nickname, days, uploaded, "
        "count(*) OVER () AS hits FROM entries WHERE " +
        query.condition + " AND proved = " + list +
        " ORDER BY days + 0, id LIMIT :limit OFFSET :offset) e ORDER BY e.days, e.id";
    static_assert(block_shift == 8, "the statement above shifts by 8");
    ListedEntry row;
    long long id = 0, uploaded = 0, hits = 0, rank = 0, count = limit, first = offset;
    soci::details::prepare_temp_type prepared = (sql.prepare << text);
    prepared, soci::use(query.value);
    if (query.second) prepared, soci::use(*query.second);
    prepared, soci::use(count), soci::use(first), soci::into(id), soci::into(row.nickname), soci::into(row.days),
        soci::into(uploaded), soci::into(hits), soci::into(rank);
    soci::statement st = prepared;
    st.execute();
    while (st.fetch()) {
        row.id = id;
        row.uploaded_ms = uploaded;
        row.proved = proved != 0;
        row.rank = rank;
        found.total = hits;
        found.entries.push_back(row);
    }
    return found;
}

int64_t EntryStore::found_count(soci::session& sql, int proved, const std::string& search) {
    const SearchQuery query = search_query(search);
    long long n = 0;
    soci::details::prepare_temp_type prepared =
        (sql.prepare << "SELECT count(*) FROM entries WHERE " + query.condition +
                            " AND proved = " + std::to_string(proved));
    prepared, soci::use(query.value);
    if (query.second) prepared, soci::use(*query.second);
    prepared, soci::into(n);
    soci::statement st = prepared;
    st.execute(true);
    return n;
}

EntryStore::SearchQuery EntryStore::search_query(const std::string& search) const {
    const std::string key = search_key(search);
    // No nickname holds a NUL, and neither the databases' text parameters nor the trigram
    // table's phrases can carry one: such a search finds nothing, without asking.
    if (key.find('\0') != std::string::npos) return {"nickname_key = :pattern AND 1 = 0", std::string()};
    size_t characters = 0;
    for (const char c : key) characters += (static_cast<uint8_t>(c) & 0xC0) != 0x80;
    if (postgresql_) {
        // The trigram index serves LIKE; its default escape is the backslash.
        std::string pattern = "%";
        for (const char c : key) {
            if (c == '%' || c == '_' || c == '\\') pattern += '\\';
            pattern += c;
        }
        return {"nickname_key LIKE :pattern", pattern + "%"};
    }
    if (characters >= 3) {
        // In the trigram table a quoted phrase matches exactly where the text holds it.
        std::string phrase = "\"";
        for (const char c : key) {
            if (c == '"') phrase += '"';
            phrase += c;
        }
        // Entries after the trigram table's last batch are read directly.
        return {
            "id IN (SELECT rowid FROM entries_search WHERE entries_search MATCH :phrase UNION ALL "
            "SELECT id FROM entries WHERE id > (SELECT up_to FROM search_indexed) AND nickname_key LIKE "
            ":pattern ESCAPE '!')",
            phrase + "\"", contains_pattern(search)};
    }
    // One or two characters hold no trigram: they are looked for in every nickname.
    return {"nickname_key LIKE :pattern ESCAPE '!'", contains_pattern(search)};
}

int64_t EntryStore::count(Listing list, const std::string& search) {
    soci::session sql(*pool_);
    revive(sql);
    const int proved = proved_value(list);
    long long n = 0;
    if (search.empty()) {
        sql << "SELECT CAST(coalesce(sum(entries), 0) AS BIGINT) FROM rank_counts WHERE level = 1 AND proved = :proved",
            soci::use(proved), soci::into(n);
    } else {
        n = found_count(sql, proved, search);
    }
    return n;
}

int64_t EntryStore::total() {
    soci::session sql(*pool_);
    revive(sql);
    long long n = 0;
    sql << "SELECT CAST(coalesce(sum(entries), 0) AS BIGINT) FROM rank_counts WHERE level = 1", soci::into(n);
    return n;
}

int64_t EntryStore::rank_of(soci::session& sql, int proved, int32_t days, int64_t id) {
    const long long block = static_cast<long long>(days) >> block_shift, lowest = block << block_shift;
    const long long age = days, entry_id = id;
    long long better = 0, earlier = 0;
    sql << "SELECT CAST(coalesce(sum(entries), 0) AS BIGINT) FROM rank_counts WHERE proved = :proved AND "
           "((level = 1 AND bucket < :block) OR (level = 0 AND bucket >= :lowest AND bucket < :age))",
        soci::use(proved), soci::use(block), soci::use(lowest), soci::use(age), soci::into(better);
    sql << "SELECT count(*) FROM entries WHERE proved = :proved AND days = :age AND id < :id", soci::use(proved),
        soci::use(age), soci::use(entry_id), soci::into(earlier);
    return better + earlier + 1;
}

std::optional<ListedEntry> EntryStore::find(int64_t id) {
    ListedEntry entry;
    {
        soci::session sql(*pool_);
        revive(sql);
        long long wanted = id, uploaded = 0;
        int proved = 0;
        sql << listed_columns + std::string(" WHERE id = :id"), soci::use(wanted), soci::into(wanted),
            soci::into(entry.nickname), soci::into(entry.days), soci::into(uploaded), soci::into(proved);
        if (!sql.got_data()) return std::nullopt;
        entry.id = wanted;
        entry.uploaded_ms = uploaded;
        entry.proved = proved != 0;
    }
    soci::session sql(*pool_);
    revive(sql);
    entry.rank = rank_of(sql, entry.proved ? 1 : 0, entry.days, entry.id);
    return entry;
}

std::optional<std::vector<uint8_t>> EntryStore::replay(int64_t id) {
    soci::session sql(*pool_);
    revive(sql);
    const long long wanted = id;
    std::string hex;
    soci::indicator stored = soci::i_null;
    sql << "SELECT replay FROM entries WHERE id = :id", soci::use(wanted), soci::into(hex, stored);
    if (!sql.got_data() || stored != soci::i_ok) return std::nullopt;
    return from_hex(hex);
}

int64_t EntryStore::delete_nickname(const std::string& nickname) {
    std::unique_lock writer(sqlite_writer_, std::defer_lock);
    if (!postgresql_) writer.lock();
    soci::session sql(*pool_);
    revive(sql);
    soci::statement st = (sql.prepare << "DELETE FROM entries WHERE nickname = :nickname", soci::use(nickname));
    st.execute(true);
    return st.get_affected_rows();
}

void EntryStore::for_each_ranked(const std::function<void(const ExportedEntry&)>& visit) {
    soci::session sql(*pool_);
    revive(sql);
    ExportedEntry row;
    long long id = 0, uploaded = 0;
    std::string upload;
    for (const Listing list : {Listing::Proved, Listing::Unproved}) {
        const int proved = proved_value(list);
        soci::statement st = (sql.prepare << "SELECT id, nickname, days, uploaded, upload FROM entries "
                                             "WHERE proved = :proved ORDER BY days, id",
                              soci::use(proved), soci::into(id), soci::into(row.listed.nickname),
                              soci::into(row.listed.days), soci::into(uploaded), soci::into(upload));
        st.execute();
        int64_t rank = 0;
        while (st.fetch()) {
            row.listed.id = id;
            row.listed.rank = ++rank;
            row.listed.uploaded_ms = uploaded;
            row.listed.proved = proved != 0;
            row.upload = from_hex(upload).value_or(std::vector<uint8_t>{});
            visit(row);
        }
    }
}

}  // namespace bestenliste
