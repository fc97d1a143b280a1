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
};

}  // namespace

const std::vector<Migration>& migrations(bool postgresql) {
    return postgresql ? postgresql_migrations : sqlite_migrations;
}

}  // namespace bestenliste
