// SPDX-License-Identifier: GPL-3.0-or-later
// SOCI speaks to both databases through the same statements; only the schema's id column and the
// connection set-up differ. Every value reaches SQL as a bound parameter.
#include "server/entry_store.h"

#include <soci/postgresql/soci-postgresql.h>
#include <soci/soci.h>
#include <libpq-fe.h>
#include <soci/sqlite3/soci-sqlite3.h>

#include <optional>
#include <stdexcept>

#include "base/cp1252.h"
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
                std::string mode;
                sql << "PRAGMA journal_mode=WAL", soci::into(mode);
                // Every commit reaches the disk before the caller is answered.
                sql << "PRAGMA synchronous=FULL";
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
    long long id = 0;
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
    return id;
}

std::vector<ListedEntry> EntryStore::page(int64_t offset, int64_t limit, const std::string& search) {
    std::vector<ListedEntry> entries = listed_in_order(offset, limit, search);
    // A search shows each entry at its place in the whole list.
    if (!search.empty()) {
        for (auto& entry : entries) entry.rank = rank_of(entry.days, entry.id);
    }
    return entries;
}

std::vector<ListedEntry> EntryStore::listed_in_order(int64_t offset, int64_t limit, const std::string& search) {
    soci::session sql(*pool_);
    revive(sql);
    std::vector<ListedEntry> entries;
    ListedEntry row;
    long long id = 0, uploaded = 0;
    int proved = 0;
    long long first = offset, count = limit;
    const std::string pattern = contains_pattern(search);
    const std::string order = " ORDER BY days, id LIMIT :limit OFFSET :offset";
    // The rows before the page are skipped in the (days, id) index alone; only the page's own
    // rows are read from the table.
    const std::string page_of_ids =
        "SELECT id, nickname, days, uploaded, proved FROM entries WHERE id IN "
        "(SELECT id FROM entries" +
        order + ") ORDER BY days, id";
    soci::statement st =
        search.empty()
            ? (sql.prepare << page_of_ids, soci::into(id), soci::into(row.nickname), soci::into(row.days),
               soci::into(uploaded), soci::into(proved), soci::use(count), soci::use(first))
            : (sql.prepare << listed_columns + std::string(" WHERE nickname_key LIKE :pattern ESCAPE '!'") + order,
               soci::into(id), soci::into(row.nickname), soci::into(row.days), soci::into(uploaded), soci::into(proved),
               soci::use(pattern), soci::use(count), soci::use(first));
    st.execute();
    int64_t position = offset;
    while (st.fetch()) {
        row.id = id;
        row.uploaded_ms = uploaded;
        row.proved = proved != 0;
        row.rank = ++position;
        entries.push_back(row);
    }
    return entries;
}

int64_t EntryStore::count(const std::string& search) {
    soci::session sql(*pool_);
    revive(sql);
    long long n = 0;
    if (search.empty()) {
        sql << "SELECT count(*) FROM entries", soci::into(n);
    } else {
        const std::string pattern = contains_pattern(search);
        sql << "SELECT count(*) FROM entries WHERE nickname_key LIKE :pattern ESCAPE '!'", soci::use(pattern),
            soci::into(n);
    }
    return n;
}

int64_t EntryStore::rank_of(int32_t days, int64_t id) {
    soci::session sql(*pool_);
    revive(sql);
    long long better = 0, earlier = 0;
    const long long entry_id = id;
    sql << "SELECT count(*) FROM entries WHERE days < :days", soci::use(days), soci::into(better);
    sql << "SELECT count(*) FROM entries WHERE days = :days AND id < :id", soci::use(days), soci::use(entry_id),
        soci::into(earlier);
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
    entry.rank = rank_of(entry.days, entry.id);
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
    int proved = 0;
    std::string upload;
    soci::statement st = (sql.prepare << "SELECT id, nickname, days, uploaded, proved, upload FROM entries "
                                         "ORDER BY days, id",
                          soci::into(id), soci::into(row.listed.nickname), soci::into(row.listed.days),
                          soci::into(uploaded), soci::into(proved), soci::into(upload));
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

}  // namespace bestenliste
