// SPDX-License-Identifier: GPL-3.0-or-later
// backup and restore on both databases: a round trip while the list is open brings back exactly
// what was listed, and a file that is no backup of this kind of list changes nothing.
#include <gtest/gtest.h>

#include <fstream>

#include "server/database_backup.h"
#include "tests/server/database_fixture.h"
#include "tests/server/upload_fixture.h"

namespace {

using namespace bestenliste;

void add(EntryStore& store, const std::string& nickname, int32_t days,
         std::optional<std::vector<uint8_t>> replay = {}) {
    const auto bytes = upload_bytes(nickname, days);
    NewEntry entry;
    entry.upload = bytes;
    entry.nickname = nickname;
    entry.days = days;
    entry.uploaded_ms = 1'700'000'000'000 + days;
    if (replay) entry.replay = *replay;
    ASSERT_TRUE(store.insert(entry));
}

// Everything a backup must carry: rank, id, names, the files as received and the replays.
std::string snapshot(EntryStore& store) {
    std::string text;
    store.for_each_ranked([&](const ExportedEntry& e) {
        const auto replay = store.replay(e.listed.id);
        text += std::to_string(e.listed.rank) + " " + std::to_string(e.listed.id) + " " + e.listed.nickname + " " +
                std::string(e.upload.begin(), e.upload.end()) + " " +
                (replay ? std::string(replay->begin(), replay->end()) : "-") + "\n";
    });
    return text;
}

class BackupTest : public DatabaseTest {};

TEST_P(BackupTest, ARoundTripWhileTheListIsOpenBringsBackExactlyWhatWasListed) {
    auto store = open_store();
    add(*store, "Zweiter", 9000);
    add(*store, "Erster", 5000, std::vector<uint8_t>{0, 1, 2, 255, 0, 7});
    add(*store, "Jörg", 12000);
    const std::string before = snapshot(*store);
    const auto file = data_dir_ / "liste.backup";
    ASSERT_EQ(backup_database(database_, data_dir_.path(), file), "");
    EXPECT_FALSE(std::filesystem::exists(file.string() + ".partial"));

    add(*store, "Später", 100);
    EXPECT_EQ(store->delete_nickname("Erster"), 1);
    ASSERT_NE(snapshot(*store), before);
    ASSERT_EQ(restore_database(database_, data_dir_.path(), file), "");
    EXPECT_EQ(snapshot(*store), before);
    // Ids go on from the restored list: a new upload never takes a restored entry's id.
    add(*store, "Neu", 7000);
    EXPECT_EQ(store->total(), 4);
    EXPECT_EQ(snapshot(*open_store()), snapshot(*store));
}

TEST_P(BackupTest, AFileThatIsNoBackupOfThisListChangesNothing) {
    auto store = open_store();
    add(*store, "Bleibt", 5000);
    const std::string before = snapshot(*store);
    const auto junk = data_dir_ / "junk.backup";
    std::ofstream(junk) << "SQLite format 2 and PGDMP are not at the start of this";
    // The other database's backup is refused too (for SQLite, when PostgreSQL can be started).
    TempDir other_dir;
    const bool postgresql = GetParam() == "postgresql";
    const bool other_possible = postgresql || PostgresCluster::shared().running();
    const std::string other_database = postgresql || !other_possible ? "" : PostgresCluster::shared().fresh_database();
    const auto other = data_dir_ / "other.backup";
    if (other_possible) {
        EntryStore made(other_database, other_dir.path(), 1);
        ASSERT_EQ(backup_database(other_database, other_dir.path(), other), "");
    }
    for (const auto& file : {junk, other, data_dir_ / "missing.backup"}) {
        SCOPED_TRACE(file.filename().string());
        EXPECT_NE(restore_database(database_, data_dir_.path(), file), "");
        EXPECT_EQ(snapshot(*store), before);
    }
    // A backup that cannot be written leaves no half file behind.
    EXPECT_NE(backup_database(database_, data_dir_.path(), data_dir_ / "no/such/dir/liste.backup"), "");
    EXPECT_FALSE(std::filesystem::exists(data_dir_ / "no"));
}

INSTANTIATE_TEST_SUITE_P(Databases, BackupTest, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& case_info) { return case_info.param; });

}  // namespace
