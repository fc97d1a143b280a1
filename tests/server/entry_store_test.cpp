// SPDX-License-Identifier: GPL-3.0-or-later
// The storage rules, run alike against SQLite and a real PostgreSQL.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <tuple>

#include "server/csv_export.h"
#include "server/schema.h"
#include "tests/server/database_fixture.h"
#include "tests/server/upload_fixture.h"

namespace {

using bestenliste::EntryStore;
using bestenliste::ListedEntry;
using bestenliste::Listing;
using bestenliste::NewEntry;

std::optional<int64_t> add(EntryStore& store, const std::vector<uint8_t>& bytes, const std::string& nickname,
                           int32_t days, int64_t when = 1'700'000'000'000, bool proved = false) {
    static const std::vector<uint8_t> replay = {1, 2, 3};
    NewEntry entry;
    entry.upload = bytes;
    entry.nickname = nickname;
    entry.days = days;
    entry.uploaded_ms = when;
    // An entry is proved when it comes with its replay.
    if (proved) entry.replay = std::span<const uint8_t>(replay);
    return store.insert(entry);
}

std::vector<std::string> nicknames(const std::vector<ListedEntry>& entries) {
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(std::to_string(e.rank) + ":" + e.nickname);
    return names;
}

TEST_P(DatabaseTest, RanksLowerAgeFirstAndEqualAgesByTheEarlierUpload) {
    auto store = open_store();
    // Upload order: B, A, C, D; A and C tie with B's later twin E.
    add(*store, upload_bytes("B", 9000), "B", 9000);
    add(*store, upload_bytes("A", 5000), "A", 5000);
    add(*store, upload_bytes("C", 9000, 1), "C", 9000);
    add(*store, upload_bytes("D", 28800), "D", 28800);
    const auto zero = add(*store, upload_bytes("Z", 0), "Z", 0);
    EXPECT_EQ(nicknames(store->page(Listing::Unproved, 0, 10)),
              (std::vector<std::string>{"1:Z", "2:A", "3:B", "4:C", "5:D"}));
    EXPECT_EQ(nicknames(store->page(Listing::Unproved, 2, 2)), (std::vector<std::string>{"3:B", "4:C"}));
    EXPECT_EQ(store->total(), 5);
    ASSERT_TRUE(zero);
    EXPECT_EQ(store->find(*zero)->rank, 1);
    EXPECT_FALSE(store->find(*zero + 100));
}

TEST_P(DatabaseTest, TheSameBytesAreStoredOnceAndOtherBytesOfTheSameNicknameToo) {
    auto store = open_store();
    const auto bytes = upload_bytes("Max", 11565);
    EXPECT_TRUE(add(*store, bytes, "Max", 11565));
    EXPECT_FALSE(add(*store, bytes, "Max", 11565));
    EXPECT_TRUE(add(*store, upload_bytes("Max", 11565, 7), "Max", 11565));
    EXPECT_EQ(store->total(), 2);
}

TEST_P(DatabaseTest, SearchFindsPartsOfNicknamesWithoutCaseAndTakesWildcardsLiterally) {
    auto store = open_store();
    add(*store, upload_bytes("Ann", 100), "Ann", 100);
    add(*store, upload_bytes("J\xC3\xB6rg", 200), "J\xC3\xB6rg", 200);
    add(*store, upload_bytes("Hanna_", 300), "Hanna_", 300);
    add(*store, upload_bytes("Bob", 400), "Bob", 400);
    EXPECT_EQ(nicknames(store->page(Listing::Unproved, 0, 10, "ANN")), (std::vector<std::string>{"1:Ann", "3:Hanna_"}));
    EXPECT_EQ(nicknames(store->page(Listing::Unproved, 0, 10, "J\xC3\x96R")),
              (std::vector<std::string>{"2:J\xC3\xB6rg"}));
    EXPECT_EQ(nicknames(store->page(Listing::Unproved, 0, 10, "_")), (std::vector<std::string>{"3:Hanna_"}));
    EXPECT_EQ(store->count(Listing::Unproved, "%"), 0);
    EXPECT_EQ(store->count(Listing::Unproved, "o"), 1);
}

// Pages start and ranks are counted from kept counters, not by reading the list: every page start,
// every rank and the totals must still be what each list in order says, across ties, the edges of
// the counters' blocks of 256 ages, deletions and the same entries added again. Proved and
// unproved entries are mixed in one table and ranked as two lists.
TEST_P(DatabaseTest, PagesAndRanksAreEachListInOrderAcrossTiesBlockEdgesAndDeletions) {
    auto store = open_store();
    struct Row {
        std::string nickname;
        int32_t days;
        int64_t id;
        bool proved;
    };
    std::vector<Row> rows;
    const auto add_row = [&](const std::string& nickname, int32_t days, int32_t S, bool proved) {
        const auto id = add(*store, upload_bytes(nickname, days, S), nickname, days, 1'700'000'000'000, proved);
        ASSERT_TRUE(id);
        rows.push_back({nickname, days, *id, proved});
    };
    const int32_t ages[] = {300, 0, 255, 256, 255, 28800, 511, 512, 0, 256, 300, 7, 255, 28799, 1, 256, 300};
    for (size_t k = 0; k < std::size(ages); ++k) {
        add_row("N" + std::to_string(k % 4), ages[k], static_cast<int32_t>(k), k % 3 != 1);
    }
    const auto check = [&](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(store->total(), static_cast<int64_t>(rows.size()));
        for (const Listing list : {Listing::Proved, Listing::Unproved}) {
            SCOPED_TRACE(list == Listing::Proved ? "proved" : "unproved");
            std::vector<Row> ordered;
            std::copy_if(rows.begin(), rows.end(), std::back_inserter(ordered),
                         [&](const Row& row) { return row.proved == (list == Listing::Proved); });
            std::sort(ordered.begin(), ordered.end(),
                      [](const Row& a, const Row& b) { return std::tie(a.days, a.id) < std::tie(b.days, b.id); });
            std::vector<std::string> expected;
            for (size_t k = 0; k < ordered.size(); ++k)
                expected.push_back(std::to_string(k + 1) + ":" + ordered[k].nickname);
            const auto size = static_cast<int64_t>(expected.size());
            EXPECT_EQ(store->count(list), size);
            for (int64_t limit : {1, 3}) {
                for (int64_t offset = 0; offset <= size; ++offset) {
                    const auto end = std::min<int64_t>(offset + limit, size);
                    EXPECT_EQ(nicknames(store->page(list, offset, limit)),
                              std::vector<std::string>(expected.begin() + std::min<int64_t>(offset, end),
                                                       expected.begin() + end))
                        << "offset " << offset << ", limit " << limit;
                }
            }
            for (size_t k = 0; k < ordered.size(); ++k) {
                const auto found = store->find(ordered[k].id);
                ASSERT_TRUE(found);
                EXPECT_EQ(found->proved, ordered[k].proved);
                EXPECT_EQ(found->rank, static_cast<int64_t>(k + 1)) << ordered[k].nickname << " at " << ordered[k].days;
            }
        }
    };
    check("filled");
    EXPECT_EQ(store->delete_nickname("N1"), 4);
    std::erase_if(rows, [](const Row& row) { return row.nickname == "N1"; });
    check("after a deletion");
    // Put back, as a restore would: later ids, so among equal ages they now come last.
    for (int32_t days : {255, 0, 28800}) add_row("N1", days, 1000 + days, days != 0);
    check("after adding again");
}

// A search looks in one list and shows each hit at its place there.
TEST_P(DatabaseTest, ASearchFindsOnlyTheEntriesOfItsList) {
    auto store = open_store();
    add(*store, upload_bytes("Maxi", 100), "Maxi", 100, 1'700'000'000'000, false);
    add(*store, upload_bytes("Max", 200), "Max", 200, 1'700'000'000'000, true);
    add(*store, upload_bytes("Maximilian", 300), "Maximilian", 300, 1'700'000'000'000, true);
    for (const std::string search : {"ma", "max"}) {
        EXPECT_EQ(nicknames(store->page(Listing::Proved, 0, 10, search)),
                  (std::vector<std::string>{"1:Max", "2:Maximilian"}))
            << search;
        EXPECT_EQ(nicknames(store->page(Listing::Unproved, 0, 10, search)), (std::vector<std::string>{"1:Maxi"}))
            << search;
        EXPECT_EQ(store->count(Listing::Proved, search), 2) << search;
        EXPECT_EQ(store->search(Listing::Proved, search, 1, 10).total, 2) << search;
        EXPECT_EQ(nicknames(store->search(Listing::Proved, search, 1, 10).entries),
                  (std::vector<std::string>{"2:Maximilian"}))
            << search;
    }
}

// The index behind the search must find what a look at every nickname finds: parts of any length,
// characters that are wildcards or quotes elsewhere, umlauts in either case, and nothing more.
TEST_P(DatabaseTest, SearchThroughTheIndexFindsWhatReadingEveryNicknameFinds) {
    auto store = open_store();
    const std::vector<std::string> names = {"100%Max",       "Max_1", "Ma\\x", "Ma\"x\"",           "\xC3\x84rger",
                                            "m\xC3\xA4RGEL", "Maxim", "axe",   "Qu\xC3\xBC\xC3\x9F"};
    for (size_t k = 0; k < names.size(); ++k) {
        add(*store, upload_bytes(names[k], static_cast<int32_t>(100 + k)), names[k], static_cast<int32_t>(100 + k));
    }
    struct Case {
        std::string search;
        std::vector<std::string> found;
    };
    // clang-format off
    const Case cases[] = {
        {"max",                    {"1:100%Max", "2:Max_1", "7:Maxim"}},
        {"0%m",                    {"1:100%Max"}},
        {"%",                      {"1:100%Max"}},
        {"x_1",                    {"2:Max_1"}},
        {"a\\x",                   {"3:Ma\\x"}},
        {"a\"x\"",                 {"4:Ma\"x\""}},
        {"\xC3\xA4rg",             {"5:\xC3\x84rger", "6:m\xC3\xA4RGEL"}},
        {"\xC3\x84RGE",            {"5:\xC3\x84rger", "6:m\xC3\xA4RGEL"}},
        {"\xC3\x9F",               {"9:Qu\xC3\xBC\xC3\x9F"}},
        {"\xC3\x9C\xC3\x9F",       {"9:Qu\xC3\xBC\xC3\x9F"}},
        {"axi",                    {"7:Maxim"}},
        {"axe",                    {"8:axe"}},
        {"a_x",                    {}},
        {"m%x",                    {}},
    };
    // clang-format on
    // New entries reach SQLite's trigram table in batches: the same hits before and after.
    for (const char* when : {"before the batch", "after the batch"}) {
        for (const auto& c : cases) {
            EXPECT_EQ(nicknames(store->page(Listing::Unproved, 0, 20, c.search)), c.found) << c.search << " " << when;
            EXPECT_EQ(store->count(Listing::Unproved, c.search), static_cast<int64_t>(c.found.size()))
                << c.search << " " << when;
            const auto found = store->search(Listing::Unproved, c.search, 0, 20);
            EXPECT_EQ(nicknames(found.entries), c.found) << c.search << " " << when;
            EXPECT_EQ(found.total, static_cast<int64_t>(c.found.size())) << c.search << " " << when;
        }
        store->catch_up_search();
    }
    // A page of hits further on keeps each hit's place in the whole list, and one past the last
    // hit still tells how many there are.
    EXPECT_EQ(nicknames(store->page(Listing::Unproved, 1, 1, "max")), (std::vector<std::string>{"2:Max_1"}));
    EXPECT_EQ(store->search(Listing::Unproved, "max", 5, 5).total, 3);
    store->delete_nickname("Maxim");
    EXPECT_EQ(nicknames(store->page(Listing::Unproved, 0, 20, "axi")), (std::vector<std::string>{}));
}

// Entries that change after the last batch, or arrive later with an id below it (an upload that
// waited for its proof), are found as exactly as the others.
TEST_P(DatabaseTest, SearchFollowsEntriesAroundTheIndexedMark) {
    auto store = open_store();
    add(*store, upload_bytes("Anna", 100), "Anna", 100);
    const auto later = add(*store, upload_bytes("Bernd", 200), "Bernd", 200);
    store->delete_nickname("Bernd");  // never indexed
    add(*store, upload_bytes("Carla", 300), "Carla", 300);
    store->catch_up_search();
    add(*store, upload_bytes("Dora", 400), "Dora", 400);
    NewEntry waited;
    const auto bytes = upload_bytes("Bernadette", 50);
    waited.upload = bytes;
    waited.nickname = "Bernadette";
    waited.days = 50;
    waited.id = *later;  // below the indexed mark
    ASSERT_TRUE(store->insert(waited));
    store->delete_nickname("Carla");  // indexed
    // clang-format off
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"ann", {"2:Anna"}},     {"ber", {"1:Bernadette"}}, {"rnd", {}},
        {"arl", {}},             {"ora", {"3:Dora"}},       {"a",   {"1:Bernadette", "2:Anna", "3:Dora"}},
    };
    // clang-format on
    for (int round = 0; round < 2; ++round) {
        for (const auto& [search, found] : cases) {
            EXPECT_EQ(nicknames(store->page(Listing::Unproved, 0, 10, search)), found) << search << " " << round;
            EXPECT_EQ(store->count(Listing::Unproved, search), static_cast<int64_t>(found.size())) << search;
        }
        store->catch_up_search();
    }
}

TEST_P(DatabaseTest, DeleteRemovesEveryEntryOfExactlyThatNickname) {
    auto store = open_store();
    add(*store, upload_bytes("Max", 100), "Max", 100);
    add(*store, upload_bytes("Max", 200), "Max", 200);
    add(*store, upload_bytes("Maxi", 300), "Maxi", 300);
    EXPECT_EQ(store->delete_nickname("Max"), 2);
    EXPECT_EQ(nicknames(store->page(Listing::Unproved, 0, 10)), (std::vector<std::string>{"1:Maxi"}));
}

TEST_P(DatabaseTest, AReplayIsKeptOnlyWithAProvedEntry) {
    auto store = open_store();
    const auto plain = add(*store, upload_bytes("Plain", 100), "Plain", 100);
    const std::vector<uint8_t> replay = {0, 1, 2, 255, 0};
    NewEntry proved;
    const auto bytes = upload_bytes("Proved", 200);
    proved.upload = bytes;
    proved.nickname = "Proved";
    proved.days = 200;
    proved.replay = replay;
    const auto id = store->insert(proved);
    ASSERT_TRUE(plain && id);
    EXPECT_FALSE(store->find(*plain)->proved);
    EXPECT_FALSE(store->replay(*plain));
    EXPECT_TRUE(store->find(*id)->proved);
    EXPECT_EQ(store->replay(*id), replay);
}

TEST_P(DatabaseTest, ReopeningKeepsTheEntriesAndTheSchemaVersion) {
    const int newest = bestenliste::migrations(GetParam() == "postgresql").back().version;
    {
        auto store = open_store();
        add(*store, upload_bytes("Kept", 100), "Kept", 100);
        EXPECT_EQ(store->schema_version(), newest);
    }
    auto store = open_store();
    EXPECT_EQ(store->schema_version(), newest);
    EXPECT_EQ(nicknames(store->page(Listing::Unproved, 0, 10)), (std::vector<std::string>{"1:Kept"}));
}

TEST_P(DatabaseTest, TheExportHasThePersonalDataInTheOrderOfBothLists) {
    auto store = open_store();
    auto second = upload_entry("=cmd", 900);
    second.FeldText[7] = "Berlin, Mitte";
    add(*store, upload_bytes(second), "=cmd", 900, 1'765'000'000'000);
    add(*store, upload_bytes("First", 30), "First", 30, 1'765'000'000'000);
    // The proved list comes first and is ranked on its own.
    add(*store, upload_bytes("Proved", 2000), "Proved", 2000, 1'765'000'000'000, true);
    char* text = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    bestenliste::export_csv(*store, out);
    std::fclose(out);
    const std::string csv(text, size);
    std::free(text);
    EXPECT_EQ(csv,
              "rank,nickname,years,months,days,result_days,uploaded,proved,name,vorname,geboren,strasse,plz,ort,email\n"
              "1,Proved,5,6,20,2000,2025-12-06T05:46:40Z,1,Geheimname,Vorgeheim,01.02.1980,Heimweg 7,10115,Heimstadt,"
              "geheim@mail.example\n"
              "1,First,0,1,0,30,2025-12-06T05:46:40Z,0,Geheimname,Vorgeheim,01.02.1980,Heimweg 7,10115,Heimstadt,"
              "geheim@mail.example\n"
              "2,'=cmd,2,6,0,900,2025-12-06T05:46:40Z,0,Geheimname,Vorgeheim,01.02.1980,Heimweg 7,10115,"
              "\"Berlin, Mitte\",geheim@mail.example\n");
}

INSTANTIATE_TEST_SUITE_P(Databases, DatabaseTest, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& case_info) { return case_info.param; });

}  // namespace
