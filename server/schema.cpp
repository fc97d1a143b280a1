// SPDX-License-Identifier: GPL-3.0-or-later
// Files are kept as hex text, so that the uniqueness of the received bytes and the replays work
// alike in both databases. Entries are ranked by (days, id): the id grows with every upload.
#include "server/schema.h"

namespace bestenliste {

namespace {

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
    // Uploads waiting for their proof; the id is the one their entry gets. The file and the
    // replay sent are kept only until the proof is done. Jobs are proved in the order of their
    // turn, which each address counts on from the turn being proved when it queues.
    {3,
     {"CREATE TABLE proof_jobs (id INTEGER PRIMARY KEY, upload TEXT UNIQUE, replay TEXT, address TEXT NOT NULL, "
      "state INTEGER NOT NULL DEFAULT 0, reason TEXT, queued BIGINT NOT NULL, lease_until BIGINT NOT NULL DEFAULT 0, "
      "worker TEXT, attempts INTEGER NOT NULL DEFAULT 0, finished BIGINT, turn BIGINT NOT NULL DEFAULT 0)",
      "CREATE INDEX proof_jobs_by_turn ON proof_jobs (state, turn, id)",
      "CREATE INDEX proof_jobs_by_address ON proof_jobs (address, state, turn)"}},
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
    {3,
     {"CREATE TABLE proof_jobs (id BIGINT PRIMARY KEY, upload TEXT UNIQUE, replay TEXT, address TEXT NOT NULL, "
      "state INTEGER NOT NULL DEFAULT 0, reason TEXT, queued BIGINT NOT NULL, lease_until BIGINT NOT NULL DEFAULT 0, "
      "worker TEXT, attempts INTEGER NOT NULL DEFAULT 0, finished BIGINT, turn BIGINT NOT NULL DEFAULT 0)",
      "CREATE INDEX proof_jobs_by_turn ON proof_jobs (state, turn, id)",
      "CREATE INDEX proof_jobs_by_address ON proof_jobs (address, state, turn)"}},
};

}  // namespace

const std::vector<Migration>& migrations(bool postgresql) {
    return postgresql ? postgresql_migrations : sqlite_migrations;
}

}  // namespace bestenliste
