// SPDX-License-Identifier: GPL-3.0-or-later
// The upload file: its name, layout and check sum, where it goes, and that a nickname can
// never steer it out of its directory.
#include "score/upload_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "score/upload_message.h"
#include "tests/support/temp_dir.h"

namespace {

using score::UploadEntry;

constexpr int32_t t_32_01_15 = 32 * 360 + 1 * 30 + 15;

UploadEntry form(const std::string& nickname, int32_t t, int32_t S = 987654) {
    UploadEntry entry;
    entry.S = S;
    entry.t = t;
    entry.FeldText = {"",
                      nickname,
                      "Mustermann",
                      "Erika",
                      "01.02.1970",
                      "Hauptstra\xDF"
                      "e 5",
                      "12345",
                      "K\xF6ln",
                      "erika@example.org"};
    return entry;
}

int32_t le32(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                static_cast<uint32_t>(bytes[at + 3]) << 24);
}

// The check sum written out from its definition, on the bytes as they lie in the file.
int32_t check_sum_of(const std::vector<uint8_t>& file) {
    const int32_t S = le32(file, 0);
    const int32_t t = le32(file, 4);
    const int32_t years = t / 360, months = (t % 360) / 30, days = t % 30;
    const int32_t Z[7] = {0, years / 10, years % 10, months / 10, months % 10, days / 10, days % 10};
    int32_t P = (S % 68) * (S % 956);
    for (int k = 1; k <= 8; ++k) {
        for (int j = 1; j <= 40; ++j) {
            P += (Z[((j + 40 * k) % 6) + 1] + 1) * file[8 + 40 * (k - 1) + (j - 1)];
        }
    }
    return P;
}

std::string padded40(const std::string& text) { return text + std::string(40 - text.size(), ' '); }

TEST(UploadFile, NameIsNicknameAndResult) {
    const std::vector<std::tuple<std::string, int32_t, std::string>> cases = {
        {"Max", t_32_01_15, "Max_32_01_15.qhs"},
        {"Max", 28800, "Max_80_00_00.qhs"},
        {"Max Muster", 0, "Max Muster_00_00_00.qhs"},
        {"J\xF6rg", 359, "J\xC3\xB6rg_00_11_29.qhs"},
        {"../x:y", 12872, ".._x_y_35_09_02.qhs"},
        {std::string("a\0b\x1F"
                     "c\\d*?\"<>|\x81",
                     14),
         10407, "a_b_c_d________28_10_27.qhs"},
    };
    for (const auto& [nickname, t, name] : cases) {
        EXPECT_EQ(score::upload_file_name(nickname, t), name);
    }
}

TEST(UploadFile, LayoutPutsGeborenLastAndTheCheckSumHoldsForEveryTick) {
    for (int32_t S : {987654, -98765, 0, INT32_MAX, INT32_MIN}) {
        SCOPED_TRACE(S);
        TempDir dir;
        const auto entry = form("Max", t_32_01_15, S);
        const auto written = score::write_upload_file(dir.path(), entry);
        ASSERT_TRUE(written.status.ok()) << written.status.error;
        EXPECT_EQ(written.path, dir / "Max_32_01_15.qhs");

        const auto file = read_bytes(written.path);
        ASSERT_EQ(file.size(), 332u);
        EXPECT_EQ(le32(file, 0), S);
        EXPECT_EQ(le32(file, 4), t_32_01_15);
        const std::vector<int> file_order = {1, 2, 3, 5, 6, 7, 8, 4};
        for (size_t k = 0; k < 8; ++k) {
            EXPECT_EQ(std::string(file.begin() + 8 + 40 * k, file.begin() + 48 + 40 * k),
                      padded40(entry.FeldText[file_order[k]]));
        }
        EXPECT_EQ(le32(file, 328), check_sum_of(file));
    }
}

TEST(UploadFile, GoesIntoUpLoadOnlyWhenItHoldsAnOrdinaryFile) {
    struct Case {
        const char* what;
        void (*prepare)(const std::filesystem::path& upload);
        bool into_upload;
    };
    const std::vector<Case> cases = {
        {"no UpLoad", [](const std::filesystem::path&) {}, false},
        {"empty UpLoad", [](const std::filesystem::path& u) { std::filesystem::create_directory(u); }, false},
        {"only a sub-directory", [](const std::filesystem::path& u) { std::filesystem::create_directories(u / "alt"); },
         false},
        {"only a hidden file",
         [](const std::filesystem::path& u) {
             std::filesystem::create_directory(u);
             write_bytes(u / ".keep", {});
         },
         false},
        {"an ordinary file",
         [](const std::filesystem::path& u) {
             std::filesystem::create_directory(u);
             write_bytes(u / "liesmich.txt", {'x'});
         },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        c.prepare(dir / "UpLoad");
        const auto expected_dir = c.into_upload ? dir / "UpLoad" : dir.path();
        EXPECT_EQ(score::upload_directory(dir.path()), expected_dir);
        const auto written = score::write_upload_file(dir.path(), form("Max", 28800));
        ASSERT_TRUE(written.status.ok()) << written.status.error;
        EXPECT_EQ(written.path, expected_dir / "Max_80_00_00.qhs");
        EXPECT_EQ(read_bytes(written.path).size(), 332u);
    }
}

TEST(UploadFile, AnUpLoadLinkIsFollowedOnlyInsideTheDataDirectory) {
    struct Case {
        const char* what;
        std::filesystem::path link_target;  // relative to the data directory's parent
        bool into_upload;
    };
    for (const Case& c :
         {Case{"a link to a directory inside", "data/sammeln", true}, Case{"a link leading out", "elsewhere", false},
          Case{"a link leading out through ..", "data/../elsewhere", false}}) {
        SCOPED_TRACE(c.what);
        TempDir root;
        const auto data_dir = root / "data";
        for (const char* d : {"data/sammeln", "elsewhere"}) {
            std::filesystem::create_directories(root / d);
            write_bytes(root / d / "liesmich.txt", {'x'});
        }
        std::filesystem::create_directory_symlink(root.path() / c.link_target, data_dir / "UpLoad");
        const auto written = score::write_upload_file(data_dir, form("Max", 28800));
        ASSERT_TRUE(written.status.ok()) << written.status.error;
        EXPECT_EQ(written.path, (c.into_upload ? data_dir / "UpLoad" : data_dir) / "Max_80_00_00.qhs");
        EXPECT_EQ(names_in(root / "elsewhere"), std::vector<std::string>{"liesmich.txt"});
    }
}

TEST(UploadFile, ASecondUploadReplacesTheFirstWhole) {
    TempDir dir;
    write_bytes(dir / "Max_80_00_00.qhs", std::vector<uint8_t>(1000, 'x'));
    const auto written = score::write_upload_file(dir.path(), form("Max", 28800));
    ASSERT_TRUE(written.status.ok()) << written.status.error;
    EXPECT_TRUE(score::check_upload_file(written.path).ok());
    EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"Max_80_00_00.qhs"});
}

TEST(UploadFile, ANicknameCannotLeaveTheDataDirectory) {
    TempDir root;
    const auto data_dir = root / "data";
    std::filesystem::create_directory(data_dir);
    const auto written = score::write_upload_file(data_dir, form("../x:y", 28800));
    ASSERT_TRUE(written.status.ok()) << written.status.error;
    EXPECT_EQ(written.path, data_dir / ".._x_y_80_00_00.qhs");
    EXPECT_EQ(names_in(data_dir), std::vector<std::string>{".._x_y_80_00_00.qhs"});
    EXPECT_EQ(names_in(root.path()), std::vector<std::string>{"data"});

    const auto check = score::check_upload_file(written.path);
    ASSERT_TRUE(check.ok()) << check.error;
    EXPECT_EQ(check.entry.FeldText[1], "../x:y");
}

TEST(UploadFile, AFailedWriteIsReportedOnTheMessagePage) {
    TempDir dir;
    // A directory of the file's name cannot be replaced by the file, even by root.
    std::filesystem::create_directory(dir / "Max_80_00_00.qhs");
    const auto written = score::write_upload_file(dir.path(), form("Max", 28800));
    EXPECT_FALSE(written.status.ok());
    EXPECT_EQ(written.path, dir / "Max_80_00_00.qhs");
    EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"Max_80_00_00.qhs"});

    const auto lines = score::upload_message(written, [](std::string_view s) { return int32_t(8 * s.size()); });
    EXPECT_EQ(lines[1], "Die High-Score-Upload-Datei konnte");
    EXPECT_EQ(lines[2], "nicht gespeichert werden:");
    EXPECT_EQ(lines[10], "Ein Verzeichnis hat diesen Namen.");
    EXPECT_EQ(lines[11], "Deine Eingaben bleiben erhalten.");
}

TEST(UploadCheck, AcceptsWhatTheGameWroteAndRejectsAnyChange) {
    TempDir dir;
    const auto written = score::write_upload_file(dir.path(), form("Max", t_32_01_15));
    ASSERT_TRUE(written.status.ok());
    const auto good = read_bytes(written.path);
    const auto check = score::check_upload(good);
    ASSERT_TRUE(check.ok()) << check.error;
    EXPECT_EQ(check.entry.S, 987654);
    EXPECT_EQ(check.entry.t, t_32_01_15);
    EXPECT_EQ(check.entry.FeldText, form("Max", t_32_01_15).FeldText);

    // One byte of the tick, of the result, of an entry and of the check sum itself.
    for (size_t at : {0u, 5u, 8u, 200u, 327u, 330u}) {
        SCOPED_TRACE(at);
        auto bad = good;
        bad[at] ^= 0x01;
        EXPECT_FALSE(score::check_upload(bad).ok());
    }
    auto far_future = good;
    far_future[6] = 0x10;
    EXPECT_NE(score::check_upload(far_future).error.find("outside"), std::string::npos);
    for (size_t size : {0u, 331u, 333u}) {
        auto resized = good;
        resized.resize(size, ' ');
        EXPECT_NE(score::check_upload(resized).error.find("bytes instead of 332"), std::string::npos);
    }
}

TEST(UploadMessage, ShowsThePathInLinesOfAbout290Pixels) {
    // Ten pixels per character: every line but the last is exactly 29 characters.
    const score::TextWidth ten_per_character = [](std::string_view s) { return int32_t(10 * s.size()); };
    const std::string text(29 * 9 + 5, 'a');
    const auto lines = score::break_into_lines(text, ten_per_character);
    ASSERT_EQ(lines.size(), 8u);
    for (const auto& line : lines) {
        EXPECT_EQ(line.size(), 29u);
    }
    EXPECT_EQ(score::break_into_lines("kurz", ten_per_character), std::vector<std::string>{"kurz"});

    TempDir dir;
    const auto deep = dir / std::string(60, 'd') / std::string(60, 'e') / std::string(60, 'f');
    std::filesystem::create_directories(deep);
    const auto written = score::write_upload_file(deep, form("Max", 28800));
    ASSERT_TRUE(written.status.ok());
    const auto page = score::upload_message(written, ten_per_character);
    EXPECT_EQ(page[1], "Deine High-Score-Upload-Datei wurde ");
    EXPECT_EQ(page[2], "unter folgendem Pfad gespeichert:");
    EXPECT_EQ(page[3], "");
    const auto path = written.path.string();
    for (size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(page[4 + k], path.substr(29 * k, 29));
    }
    EXPECT_EQ(page[10], "Schicke sie als E-Mail-Anhang an:");
    EXPECT_EQ(page[11], score::upload_address);
    EXPECT_EQ(page[12], "");
}

}  // namespace
