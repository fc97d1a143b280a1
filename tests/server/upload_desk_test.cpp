// SPDX-License-Identifier: GPL-3.0-or-later
// Every way the desk accepts or refuses a file, each once.
#include <gtest/gtest.h>

#include <set>

#include "server/upload_desk.h"
#include "tests/server/upload_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

using bestenliste::Reason;

std::vector<uint8_t> with_field(int field, const std::string& text, int32_t t = 1000) {
    auto entry = upload_entry("Max", t);
    entry.FeldText[field] = text;
    return upload_bytes(entry);
}

struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    Reason reason;
    int status;
};

TEST(UploadDesk, AcceptsOrRefusesEachFileForItsReason) {
    TempDir dir;
    bestenliste::EntryStore store("", dir.path(), 1);
    bestenliste::UploadDesk desk(store, [] { return int64_t{1'765'000'000'000}; });

    auto short_file = upload_bytes("Max", 1000);
    short_file.pop_back();
    auto long_file = upload_bytes("Max", 1000);
    long_file.push_back(0);
    auto changed = upload_bytes("Max", 1000);
    changed[20] ^= 1;
    const std::vector<Case> cases = {
        {"a file of the game", upload_bytes("Max", 1000), Reason::Accepted, 201},
        {"the same file again", upload_bytes("Max", 1000), Reason::Duplicate, 409},
        {"the best result, 0 days", upload_bytes("Null", 0), Reason::Accepted, 201},
        {"the worst result, 28800 days", upload_bytes("Worst", 28800), Reason::Accepted, 201},
        {"one byte short", short_file, Reason::WrongSize, 422},
        {"one byte long", long_file, Reason::WrongSize, 422},
        {"nothing", {}, Reason::WrongSize, 422},
        {"a changed byte", changed, Reason::BadCheckSum, 422},
        {"28801 days with its check sum", upload_bytes("Late", 28801), Reason::OutOfRange, 422},
        {"-1 days with its check sum", upload_bytes("Early", -1), Reason::OutOfRange, 422},
        {"a control code in a personal entry", with_field(5, "Weg\x01"), Reason::BadEncoding, 422},
        {"a byte code page 1252 leaves undefined", with_field(1, "M\x81x"), Reason::BadEncoding, 422},
        {"a nickname of blanks", with_field(1, "   "), Reason::EmptyNickname, 422},
        {"a nickname of non-breaking spaces", with_field(1, "\xA0 \xA0"), Reason::EmptyNickname, 422},
    };
    for (const auto& c : cases) {
        const auto outcome = desk.take(c.bytes);
        EXPECT_EQ(outcome.reason, c.reason) << c.what;
        EXPECT_EQ(bestenliste::describe(outcome.reason).status, c.status) << c.what;
    }
    EXPECT_EQ(store.total(), 3);
}

TEST(UploadDesk, TellsTheRankAnAcceptedFileTakes) {
    TempDir dir;
    bestenliste::EntryStore store("", dir.path(), 1);
    bestenliste::UploadDesk desk(store);
    EXPECT_EQ(desk.take(upload_bytes("Mid", 5000)).rank, 1);
    EXPECT_EQ(desk.take(upload_bytes("Best", 100)).rank, 1);
    EXPECT_EQ(desk.take(upload_bytes("Tie", 5000)).rank, 3);
    const auto text = desk.take(upload_bytes("Umlaut\xC4", 4000));
    EXPECT_EQ(text.rank, 2);
    EXPECT_EQ(store.find(text.id)->nickname, "Umlaut\xC3\x84");
}

TEST(UploadDesk, EveryRefusalHasItsOwnCodeAndOneGermanSentence) {
    std::set<std::string_view> codes;
    for (int k = 0; k <= static_cast<int>(Reason::ReplayReused); ++k) {
        const auto& text = bestenliste::describe(static_cast<Reason>(k));
        EXPECT_TRUE(codes.insert(text.code).second) << text.code;
        EXPECT_TRUE(text.sentence.ends_with(".")) << text.code;
        EXPECT_EQ(text.sentence.find(". "), std::string_view::npos) << text.code;
    }
}

}  // namespace
