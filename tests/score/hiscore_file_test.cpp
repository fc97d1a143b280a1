// SPDX-License-Identifier: GPL-3.0-or-later
// hiscore.dat: the exact bytes, round trips, damaged files, ranking, entering, and safe saving.
#include "score/hiscore_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace {

using score::HiscoreData;

std::vector<uint8_t> new_file_bytes() {
    std::vector<uint8_t> bytes;
    for (int i = 1; i <= 8; ++i) {
        bytes.insert(bytes.end(), 8, ' ');
        bytes.insert(bytes.end(), {0x80, 0x70, 0x00, 0x00});
    }
    bytes.insert(bytes.end(), 8 + 320, ' ');
    bytes.insert(bytes.end(), 6, 0x00);
    return bytes;
}

// A list with something different in every field, so a field read from the wrong place shows.
HiscoreData filled_list() {
    HiscoreData data;
    for (int i = 1; i <= 8; ++i) {
        data.HSName[i] = "Name" + std::to_string(i) + "   ";
        data.HSTage[i] = 1000 * i + i;
        data.FeldText[i] = "Feld " + std::to_string(i);
    }
    data.SpielerName = "Spieler";
    data.NebelAn = 0;
    data.SoundAn = -1;
    data.MusikAn = 0;
    return data;
}

std::vector<uint8_t> with_bytes(std::vector<uint8_t> bytes, size_t offset, std::vector<uint8_t> patch) {
    std::copy(patch.begin(), patch.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return bytes;
}

void expect_same(const HiscoreData& a, const HiscoreData& b) {
    EXPECT_EQ(a.HSName, b.HSName);
    EXPECT_EQ(a.HSTage, b.HSTage);
    EXPECT_EQ(a.SpielerName, b.SpielerName);
    EXPECT_EQ(a.FeldText, b.FeldText);
    EXPECT_EQ(a.NebelAn, b.NebelAn);
    EXPECT_EQ(a.SoundAn, b.SoundAn);
    EXPECT_EQ(a.MusikAn, b.MusikAn);
}

TEST(HiscoreFile, MissingFileIsCreatedWithTheNewFileBytes) {
    TempDir dir;
    HiscoreData loaded = filled_list();
    const auto status = score::load_hiscore(dir / "hiscore.dat", loaded);
    ASSERT_TRUE(status.ok()) << status.error;
    EXPECT_EQ(read_bytes(dir / "hiscore.dat"), new_file_bytes());
    expect_same(loaded, HiscoreData{});
    EXPECT_EQ(loaded.NebelAn, -1);
    EXPECT_EQ(loaded.SoundAn, -1);
    EXPECT_EQ(loaded.MusikAn, -1);
    EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"hiscore.dat"});
}

TEST(HiscoreFile, TextsArePaddedOnSaveAndTrimmedOnLoad) {
    struct Case {
        std::string SpielerName, FeldText, stored_name, stored_field, loaded_name, loaded_field;
    };
    const std::vector<Case> cases = {
        {"Max", "Musterweg 1", "Max     ", "Musterweg 1", "Max", "Musterweg 1"},
        {"Abcdefgh", "   links", "Abcdefgh", "   links", "Abcdefgh", "links"},
        {"Abcdefghij", std::string(45, 'x'), "Abcdefgh", std::string(40, 'x'), "Abcdefgh", std::string(40, 'x')},
        {"J\xF6rg",
         "Stra\xDF"
         "e",
         "J\xF6rg    ",
         "Stra\xDF"
         "e",
         "J\xF6rg",
         "Stra\xDF"
         "e"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.SpielerName);
        TempDir dir;
        HiscoreData data = filled_list();
        data.SpielerName = c.SpielerName;
        data.FeldText[5] = c.FeldText;
        ASSERT_TRUE(score::save_hiscore(dir / "hiscore.dat", data).ok());

        const auto bytes = read_bytes(dir / "hiscore.dat");
        ASSERT_EQ(bytes.size(), 430u);
        EXPECT_EQ(std::string(bytes.begin() + 96, bytes.begin() + 104), c.stored_name);
        const auto field = std::string(bytes.begin() + 264, bytes.begin() + 304);
        EXPECT_EQ(field, c.stored_field + std::string(40 - c.stored_field.size(), ' '));

        HiscoreData loaded;
        ASSERT_TRUE(score::load_hiscore(dir / "hiscore.dat", loaded).ok());
        EXPECT_EQ(loaded.SpielerName, c.loaded_name);
        EXPECT_EQ(loaded.FeldText[5], c.loaded_field);
        data.SpielerName = c.loaded_name;
        data.FeldText[5] = c.loaded_field;
        expect_same(loaded, data);
    }
}

TEST(HiscoreFile, SettingsAreStoredInvertedAndOnlyFFFFMeansOff) {
    struct Case {
        std::vector<uint8_t> stored;
        int16_t loaded;
    };
    const std::vector<Case> cases = {
        {{0xFF, 0xFF}, 0}, {{0x00, 0x00}, -1}, {{0x01, 0x00}, -1}, {{0xFE, 0xFF}, -1}, {{0x34, 0x12}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.stored));
        TempDir dir;
        for (size_t setting = 0; setting < 3; ++setting) {
            write_bytes(dir / "hiscore.dat", with_bytes(new_file_bytes(), 424 + 2 * setting, c.stored));
            HiscoreData loaded;
            ASSERT_TRUE(score::load_hiscore(dir / "hiscore.dat", loaded).ok());
            const std::array<int16_t, 3> settings = {loaded.NebelAn, loaded.SoundAn, loaded.MusikAn};
            for (size_t other = 0; other < 3; ++other) {
                EXPECT_EQ(settings[other], other == setting ? c.loaded : -1) << "setting " << other;
            }
        }
    }

    TempDir dir;
    HiscoreData data;
    data.NebelAn = 0;
    data.SoundAn = -1;
    data.MusikAn = 0;
    ASSERT_TRUE(score::save_hiscore(dir / "hiscore.dat", data).ok());
    const auto bytes = read_bytes(dir / "hiscore.dat");
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 424, bytes.end()),
              (std::vector<uint8_t>{0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF}));
}

TEST(HiscoreFile, DayCountsOutsideOneTo28800LoadAsEmpty) {
    const std::vector<std::pair<int32_t, int32_t>> cases = {
        {0, 28800}, {-5, 28800}, {28801, 28800}, {INT32_MIN, 28800}, {1, 1}, {12345, 12345}, {28800, 28800},
    };
    for (const auto& [stored, loaded_age] : cases) {
        SCOPED_TRACE(stored);
        TempDir dir;
        const auto u = static_cast<uint32_t>(stored);
        const std::vector<uint8_t> le = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8),
                                         static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 24)};
        write_bytes(dir / "hiscore.dat", with_bytes(new_file_bytes(), 8 + 12 * 2, le));
        HiscoreData loaded;
        ASSERT_TRUE(score::load_hiscore(dir / "hiscore.dat", loaded).ok());
        EXPECT_EQ(loaded.HSTage[3], loaded_age);
        EXPECT_EQ(loaded.HSTage[2], 28800);
    }
}

TEST(HiscoreFile, ShortAndLongFilesKeepWhatIsThereAndDefaultTheRest) {
    const HiscoreData full = filled_list();
    const auto encoded = score::encode_hiscore(full);
    const std::vector<uint8_t> whole(encoded.begin(), encoded.end());
    const HiscoreData fresh;

    struct Case {
        size_t length;
        HiscoreData expected;
    };
    std::vector<Case> cases;
    cases.push_back({0, fresh});
    {
        // Four whole entries, then two bytes of the fifth name; its age is cut off.
        HiscoreData e = fresh;
        for (int i = 1; i <= 4; ++i) {
            e.HSName[i] = full.HSName[i];
            e.HSTage[i] = full.HSTage[i];
        }
        e.HSName[5] = "Na      ";
        cases.push_back({50, e});
    }
    {
        // The age of entry 8 has only three of its four bytes.
        HiscoreData e = full;
        e.HSTage[8] = 28800;
        e.SpielerName = "";
        e.FeldText = fresh.FeldText;
        e.NebelAn = e.SoundAn = e.MusikAn = -1;
        cases.push_back({95, e});
    }
    {
        // The first setting is whole, the second has one byte.
        HiscoreData e = full;
        e.SoundAn = e.MusikAn = -1;
        cases.push_back({427, e});
    }
    cases.push_back({430, full});

    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        TempDir dir;
        write_bytes(dir / "hiscore.dat", std::vector<uint8_t>(whole.begin(), whole.begin() + c.length));
        HiscoreData loaded = filled_list();
        const auto status = score::load_hiscore(dir / "hiscore.dat", loaded);
        ASSERT_TRUE(status.ok()) << status.error;
        expect_same(loaded, c.expected);
    }

    TempDir dir;
    std::vector<uint8_t> oversized = whole;
    oversized.insert(oversized.end(), 5000, 0xAB);
    write_bytes(dir / "hiscore.dat", oversized);
    HiscoreData loaded;
    ASSERT_TRUE(score::load_hiscore(dir / "hiscore.dat", loaded).ok());
    expect_same(loaded, full);
    ASSERT_TRUE(score::save_hiscore(dir / "hiscore.dat", loaded).ok());
    EXPECT_EQ(read_bytes(dir / "hiscore.dat"), whole);
}

TEST(HiscoreFile, ZeroFilledAndRandomFilesLoadAsUsableValues) {
    TempDir dir;
    write_bytes(dir / "hiscore.dat", std::vector<uint8_t>(430, 0x00));
    HiscoreData zeros;
    ASSERT_TRUE(score::load_hiscore(dir / "hiscore.dat", zeros).ok());
    expect_same(zeros, HiscoreData{});

    uint32_t state = 12345;
    for (int round = 0; round < 50; ++round) {
        std::vector<uint8_t> noise(430);
        for (auto& byte : noise) {
            state = state * 1664525u + 1013904223u;
            byte = static_cast<uint8_t>(state >> 24);
        }
        write_bytes(dir / "hiscore.dat", noise);
        HiscoreData loaded;
        ASSERT_TRUE(score::load_hiscore(dir / "hiscore.dat", loaded).ok());
        for (int i = 1; i <= 8; ++i) {
            EXPECT_GE(loaded.HSTage[i], 1);
            EXPECT_LE(loaded.HSTage[i], 28800);
            EXPECT_EQ(loaded.HSName[i].size(), 8u);
            EXPECT_LE(loaded.FeldText[i].size(), 40u);
        }
        EXPECT_LE(loaded.SpielerName.size(), 8u);
        for (int16_t setting : {loaded.NebelAn, loaded.SoundAn, loaded.MusikAn}) {
            EXPECT_TRUE(setting == -1 || setting == 0);
        }
    }
}

TEST(HiscoreFile, UnreadableFileLeavesTheListInMemory) {
    TempDir dir;
    const HiscoreData before = filled_list();
    struct Case {
        std::filesystem::path file;
        bool make_directory;
    };
    for (const auto& c : {Case{dir / "hiscore.dat", true}, Case{dir / "missing" / "hiscore.dat", false}}) {
        SCOPED_TRACE(c.file.string());
        if (c.make_directory) {
            std::filesystem::create_directory(c.file);
        }
        HiscoreData kept = before;
        const auto status = score::load_hiscore(c.file, kept);
        EXPECT_FALSE(status.ok());
        EXPECT_NE(status.error.find(c.file.string()), std::string::npos) << status.error;
        expect_same(kept, before);
    }
}

HiscoreData list_of_ages(std::vector<int32_t> ages) {
    HiscoreData data;
    for (size_t i = 0; i < ages.size(); ++i) {
        data.HSTage[i + 1] = ages[i];
    }
    return data;
}

TEST(HiscoreRanking, AResultGoesBelowEqualEntriesAndMustBeatTheEighth) {
    struct Case {
        std::vector<int32_t> ages;
        int32_t t;
        int32_t rank;
    };
    const std::vector<Case> cases = {
        {{5000, 10000, 12000}, 10000, 3},
        {{5000, 10000, 12000}, 4999, 1},
        {{5000, 10000, 12000}, 12000, 4},
        {{}, 28800, 80},
        {{}, 28799, 1},
        {{100, 200, 300, 400, 500, 600, 700, 800}, 800, 80},
        {{100, 200, 300, 400, 500, 600, 700, 800}, 799, 8},
        {{100, 100, 100, 100, 100, 100, 100, 100}, 99, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.ages) + " t=" + std::to_string(c.t));
        EXPECT_EQ(score::rank_result(list_of_ages(c.ages), c.t), c.rank);
    }
}

TEST(HiscoreRanking, EnteringMovesTheRestDownAndDropsTheEighth) {
    HiscoreData data;
    for (int i = 1; i <= 8; ++i) {
        data.HSName[i] = std::string(1, static_cast<char>('A' + i - 1)) + "       ";
        data.HSTage[i] = 1000 * i;
    }
    HiscoreData at_one = data;
    score::enter_result(at_one, 1, 500, "Max");
    EXPECT_EQ(at_one.HSName[1], "Max     ");
    EXPECT_EQ(at_one.HSTage[1], 500);
    for (int i = 2; i <= 8; ++i) {
        EXPECT_EQ(at_one.HSName[i], data.HSName[i - 1]);
        EXPECT_EQ(at_one.HSTage[i], data.HSTage[i - 1]);
    }

    HiscoreData at_eight = data;
    score::enter_result(at_eight, 8, 7999, "Langername");
    EXPECT_EQ(at_eight.HSName[8], "Langerna");
    EXPECT_EQ(at_eight.HSTage[8], 7999);
    for (int i = 1; i <= 7; ++i) {
        EXPECT_EQ(at_eight.HSTage[i], data.HSTage[i]);
    }

    HiscoreData unranked = data;
    score::enter_result(unranked, 80, 9000, "Max");
    expect_same(unranked, data);
}

TEST(HiscoreSave, ReplacesTheFileAsAWhole) {
    TempDir dir;
    write_bytes(dir / "hiscore.dat", std::vector<uint8_t>(600, 'x'));
    const HiscoreData data = filled_list();
    ASSERT_TRUE(score::save_hiscore(dir / "hiscore.dat", data).ok());
    const auto encoded = score::encode_hiscore(data);
    EXPECT_EQ(read_bytes(dir / "hiscore.dat"), std::vector<uint8_t>(encoded.begin(), encoded.end()));
    EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"hiscore.dat"});
}

TEST(HiscoreSave, AFailedSaveLeavesTheOldFileWhole) {
    TempDir dir;
    const auto old_bytes = score::encode_hiscore(filled_list());
    const std::vector<uint8_t> old_file(old_bytes.begin(), old_bytes.end());
    write_bytes(dir / "hiscore.dat", old_file);

    // The temporary file cannot even be created: a directory stands in its place.
    std::filesystem::create_directory(dir / "hiscore.dat.tmp");
    const auto status = score::save_hiscore(dir / "hiscore.dat", HiscoreData{});
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.error.find("hiscore.dat"), std::string::npos) << status.error;
    EXPECT_EQ(read_bytes(dir / "hiscore.dat"), old_file);
    std::filesystem::remove(dir / "hiscore.dat.tmp");

    // The disk fills up midway: a file size limit of 100 bytes holds even for root. Run in a
    // child process so the limit cannot touch the rest of the tests.
    EXPECT_EXIT(
        {
            ::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 100;
            ::setrlimit(RLIMIT_FSIZE, &limit);
            const auto midway = score::save_hiscore(dir / "hiscore.dat", HiscoreData{});
            std::fprintf(stderr, "%s\n", midway.error.c_str());
            std::_Exit(midway.ok() ? 1 : 0);
        },
        testing::ExitedWithCode(0), "cannot write hiscore.dat.tmp: File too large");
    EXPECT_EQ(read_bytes(dir / "hiscore.dat"), old_file);
    EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"hiscore.dat"});
}

TEST(HiscoreSave, SavesThroughASymbolicLinkAndKeepsTheLink) {
    TempDir dir;
    std::filesystem::create_directory(dir / "lists");
    write_bytes(dir / "lists" / "mine.dat", std::vector<uint8_t>(430, ' '));
    // A relative link, and a link to that link: both lead to lists/mine.dat.
    std::filesystem::create_symlink("lists/mine.dat", dir / "direct.dat");
    std::filesystem::create_symlink(dir / "direct.dat", dir / "hiscore.dat");
    const HiscoreData data = filled_list();
    ASSERT_TRUE(score::save_hiscore(dir / "hiscore.dat", data).ok());
    const auto encoded = score::encode_hiscore(data);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "hiscore.dat"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "direct.dat"));
    EXPECT_EQ(read_bytes(dir / "lists" / "mine.dat"), std::vector<uint8_t>(encoded.begin(), encoded.end()));
    EXPECT_EQ(names_in(dir / "lists"), std::vector<std::string>{"mine.dat"});
}

}  // namespace
