// SPDX-License-Identifier: GPL-3.0-or-later
// Files are kept as hex text, so that the uniqueness of the received bytes and the replays work
// alike in both databases. Entries are ranked by (days, id): the id grows with every upload.
#include "server/schema.h"

namespace bestenliste {

namespace {

#define COUNT_ONE_MORE "ON CONFLICT (level, bucket, proved) DO UPDATE SET entries = rank_counts.entries + 1"
// Whether an entry is in the trigram table already (or goes into it now).
#define INDEXED(row) "WHERE " #row ".id <= (SELECT up_to FROM search_indexed)"

constexpr const char* rank_counts_table =
    "CREATE TABLE rank_counts (level INTEGER NOT NULL, bucket INTEGER NOT NULL, proved INTEGER NOT NULL, "
    "entries BIGINT NOT NULL, PRIMARY KEY (level, bucket, proved))";

// The proofs done by every worker, by outcome and by the bucket of their duration (as /metrics
// shows them), kept in the transaction that finishes each job.
constexpr const char* proof_tally_table =
    "CREATE TABLE proof_tally (outcome TEXT NOT NULL, bucket INTEGER NOT NULL, proofs BIGINT NOT NULL, "
    "microseconds BIGINT NOT NULL, PRIMARY KEY (outcome, bucket))";

const std::vector<Migration> sqlite_migrations = {
    {1,
     {"CREATE TABLE entries (id INTEGER PRIMARY KEY AUTOINCREMENT, upload TEXT NOT NULL UNIQUE, "
      "nickname TEXT NOT NULL, nickname_key TEXT NOT NULL, days INTEGER NOT NULL, uploaded BIGINT NOT NULL, "
      "proved INTEGER NOT NULL, replay TEXT)",
      "CREATE INDEX entries_by_rank ON entries (days, id)", "CREATE INDEX entries_by_nickname ON entries (nickname)"}},
    // A proved entry's game, by the key of its inputs: one game proves one entry. Replays stored
    // before hold their private part and are no longer offered.
    {2,
     {"ALTER TABLE entries ADD COLUMN game_key TEXT", "CREATE UNIQUE INDEX entries_by_game ON entries (game_key)",
      "UPDATE entries SET replay = NULL"}},
    // How many entries each age has, and each block of 256 ages, in the proved and the unproved
    // list, kept by triggers in the inserting or deleting transaction: a rank or a page's start
    // adds at most 113 blocks and 255 ages instead of counting the list. The trigram index finds
    // parts of nicknames.
    {4,
     {rank_counts_table, "INSERT INTO rank_counts SELECT 0, days, proved, count(*) FROM entries GROUP BY days, proved",
      "INSERT INTO rank_counts SELECT 1, days >> 8, proved, count(*) FROM entries GROUP BY days >> 8, proved",
      "CREATE VIRTUAL TABLE entries_search USING fts5(nickname_key, content='entries', content_rowid='id', "
      "tokenize='trigram case_sensitive 1')",
      "INSERT INTO entries_search (entries_search) VALUES ('rebuild')",
      "CREATE TRIGGER entries_counted AFTER INSERT ON entries BEGIN "
      "INSERT INTO rank_counts VALUES (0, new.days, new.proved, 1) " COUNT_ONE_MORE "; "
      "INSERT INTO rank_counts VALUES (1, new.days >> 8, new.proved, 1) " COUNT_ONE_MORE "; "
      "INSERT INTO entries_search (rowid, nickname_key) VALUES (new.id, new.nickname_key); END",
      "CREATE TRIGGER entries_uncounted AFTER DELETE ON entries BEGIN "
      "UPDATE rank_counts SET entries = entries - 1 WHERE level = 0 AND bucket = old.days AND proved = old.proved; "
      "UPDATE rank_counts SET entries = entries - 1 WHERE level = 1 AND bucket = old.days >> 8 AND proved = "
      "old.proved; "
      "INSERT INTO entries_search (entries_search, rowid, nickname_key) VALUES ('delete', old.id, old.nickname_key); "
      "END",
      "CREATE TRIGGER entries_recounted AFTER UPDATE OF days, proved, nickname_key ON entries BEGIN "
      "UPDATE rank_counts SET entries = entries - 1 WHERE level = 0 AND bucket = old.days AND proved = old.proved; "
      "UPDATE rank_counts SET entries = entries - 1 WHERE level = 1 AND bucket = old.days >> 8 AND proved = "
      "old.proved; "
      "INSERT INTO rank_counts VALUES (0, new.days, new.proved, 1) " COUNT_ONE_MORE "; "
      "INSERT INTO rank_counts VALUES (1, new.days >> 8, new.proved, 1) " COUNT_ONE_MORE "; "
      "INSERT INTO entries_search (entries_search, rowid, nickname_key) VALUES ('delete', old.id, old.nickname_key); "
      "INSERT INTO entries_search (rowid, nickname_key) VALUES (new.id, new.nickname_key); END"}},
    // Uploads waiting for their proof; the id is the one their entry gets. The file and the
    // replay sent are kept only until the proof is done. Jobs are proved in the order of their
    // turn, which each address counts on from the turn being proved when it queues.
    {5,
     {"CREATE TABLE proof_jobs (id INTEGER PRIMARY KEY, upload TEXT UNIQUE, replay TEXT, address TEXT NOT NULL, "
      "state INTEGER NOT NULL DEFAULT 0, reason TEXT, queued BIGINT NOT NULL, lease_until BIGINT NOT NULL DEFAULT 0, "
      "worker TEXT, attempts INTEGER NOT NULL DEFAULT 0, finished BIGINT, turn BIGINT NOT NULL DEFAULT 0)",
      "CREATE INDEX proof_jobs_by_turn ON proof_jobs (state, turn, id)",
      "CREATE INDEX proof_jobs_by_address ON proof_jobs (address, state, turn)"}},
    // Proved and unproved results are two lists, each ranked and paged on its own.
    {6, {"CREATE INDEX entries_by_list ON entries (proved, days, id)", "DROP INDEX entries_by_rank"}},
    // The trigram table takes new entries in batches (search_indexed tells up to which id): a
    // segment of its own for every upload would make it merge segments on every commit, about a
    // dozen pages at a million entries. A search reads the few entries after the last batch
    // directly. An entry stored later with an id below that mark (one that waited for its proof)
    // goes into the table at once.
    {7,
     {"CREATE TABLE search_indexed (up_to INTEGER NOT NULL)",
      "INSERT INTO search_indexed SELECT coalesce(max(id), 0) FROM entries", "DROP TRIGGER entries_counted",
      "DROP TRIGGER entries_uncounted", "DROP TRIGGER entries_recounted",
      "CREATE TRIGGER entries_counted AFTER INSERT ON entries BEGIN "
      "INSERT INTO rank_counts VALUES (0, new.days, new.proved, 1) " COUNT_ONE_MORE "; "
      "INSERT INTO rank_counts VALUES (1, new.days >> 8, new.proved, 1) " COUNT_ONE_MORE "; "
      "INSERT INTO entries_search (rowid, nickname_key) SELECT new.id, new.nickname_key " INDEXED(new) "; END",
      "CREATE TRIGGER entries_uncounted AFTER DELETE ON entries BEGIN "
      "UPDATE rank_counts SET entries = entries - 1 WHERE level = 0 AND bucket = old.days AND proved = old.proved; "
      "UPDATE rank_counts SET entries = entries - 1 WHERE level = 1 AND bucket = old.days >> 8 AND proved = "
      "old.proved; "
      "INSERT INTO entries_search (entries_search, rowid, nickname_key) SELECT 'delete', old.id, "
      "old.nickname_key " INDEXED(old) "; END",
      "CREATE TRIGGER entries_recounted AFTER UPDATE OF days, proved, nickname_key ON entries BEGIN "
      "UPDATE rank_counts SET entries = entries - 1 WHERE level = 0 AND bucket = old.days AND proved = old.proved; "
      "UPDATE rank_counts SET entries = entries - 1 WHERE level = 1 AND bucket = old.days >> 8 AND proved = "
      "old.proved; "
      "INSERT INTO rank_counts VALUES (0, new.days, new.proved, 1) " COUNT_ONE_MORE "; "
      "INSERT INTO rank_counts VALUES (1, new.days >> 8, new.proved, 1) " COUNT_ONE_MORE "; "
      "INSERT INTO entries_search (entries_search, rowid, nickname_key) SELECT 'delete', old.id, "
      "old.nickname_key " INDEXED(
          old) "; "
               "INSERT INTO entries_search (rowid, nickname_key) SELECT new.id, new.nickname_key " INDEXED(
                   new) "; END"}},
    {8, {proof_tally_table}},
};

const std::vector<Migration> postgresql_migrations = {
    {1,
     {"CREATE TABLE entries (id BIGSERIAL PRIMARY KEY, upload TEXT NOT NULL UNIQUE, "
      "nickname TEXT NOT NULL, nickname_key TEXT NOT NULL, days INTEGER NOT NULL, uploaded BIGINT NOT NULL, "
      "proved INTEGER NOT NULL, replay TEXT)",
      "CREATE INDEX entries_by_rank ON entries (days, id)", "CREATE INDEX entries_by_nickname ON entries (nickname)"}},
    {2,
     {"ALTER TABLE entries ADD COLUMN game_key TEXT", "CREATE UNIQUE INDEX entries_by_game ON entries (game_key)",
      "UPDATE entries SET replay = NULL"}},
    {4,
     {rank_counts_table, "INSERT INTO rank_counts SELECT 0, days, proved, count(*) FROM entries GROUP BY days, proved",
      "INSERT INTO rank_counts SELECT 1, days >> 8, proved, count(*) FROM entries GROUP BY days >> 8, proved",
      // pg_trgm is a trusted extension: the database's owner may create it.
      "CREATE EXTENSION IF NOT EXISTS pg_trgm",
      "CREATE INDEX entries_by_nickname_part ON entries USING gin (nickname_key gin_trgm_ops)",
      // The block's row is locked after the age's row in every writer, so two uploads never wait
      // for each other in a circle.
      "CREATE FUNCTION count_entries() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
      "IF TG_OP <> 'INSERT' THEN "
      "UPDATE rank_counts SET entries = entries - 1 WHERE level = 0 AND bucket = OLD.days AND proved = OLD.proved; "
      "UPDATE rank_counts SET entries = entries - 1 WHERE level = 1 AND bucket = OLD.days >> 8 AND proved = "
      "OLD.proved; "
      "END IF; "
      "IF TG_OP <> 'DELETE' THEN "
      "INSERT INTO rank_counts VALUES (0, NEW.days, NEW.proved, 1) " COUNT_ONE_MORE "; "
      "INSERT INTO rank_counts VALUES (1, NEW.days >> 8, NEW.proved, 1) " COUNT_ONE_MORE "; "
      "END IF; "
      "RETURN NULL; END $$",
      "CREATE TRIGGER entries_counted AFTER INSERT OR DELETE OR UPDATE OF days, proved ON entries "
      "FOR EACH ROW EXECUTE FUNCTION count_entries()"}},
    {5,
     {"CREATE TABLE proof_jobs (id BIGINT PRIMARY KEY, upload TEXT UNIQUE, replay TEXT, address TEXT NOT NULL, "
      "state INTEGER NOT NULL DEFAULT 0, reason TEXT, queued BIGINT NOT NULL, lease_until BIGINT NOT NULL DEFAULT 0, "
      "worker TEXT, attempts INTEGER NOT NULL DEFAULT 0, finished BIGINT, turn BIGINT NOT NULL DEFAULT 0)",
      "CREATE INDEX proof_jobs_by_turn ON proof_jobs (state, turn, id)",
      "CREATE INDEX proof_jobs_by_address ON proof_jobs (address, state, turn)"}},
    {6, {"CREATE INDEX entries_by_list ON entries (proved, days, id)", "DROP INDEX entries_by_rank"}},
    // A search looks in one list: one trigram index per list visits only that list's rows.
    {7,
     {"CREATE INDEX entries_by_nickname_part_proved ON entries USING gin (nickname_key gin_trgm_ops) "
      "WHERE proved = 1",
      "CREATE INDEX entries_by_nickname_part_unproved ON entries USING gin (nickname_key gin_trgm_ops) "
      "WHERE proved = 0",
      "DROP INDEX entries_by_nickname_part"}},
    {8, {proof_tally_table}},
};

}  // namespace

const std::vector<Migration>& migrations(bool postgresql) {
    return postgresql ? postgresql_migrations : sqlite_migrations;
}

}  // namespace bestenliste
