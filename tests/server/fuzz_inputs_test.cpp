// SPDX-License-Identifier: GPL-3.0-or-later
// The upload fuzz target's corpus and every crasher it ever found, replayed in the normal suite,
// and the search fuzz target's kept texts on both databases.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "fuzz/search_check.h"
#include "tests/server/database_fixture.h"
#include "tests/support/temp_dir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

TEST(ServerUploadFuzzInputs, EveryKeptInputRunsCleanly) {
    int replayed = 0;
    for (const char* kept : {"fuzz/corpus/server_upload", "fuzz/regressions/server_upload"}) {
        const auto dir = std::filesystem::path(VORLANIX_SOURCE_DIR) / kept;
        if (!std::filesystem::is_directory(dir)) continue;
        for (const auto& file : std::filesystem::directory_iterator(dir)) {
            const auto bytes = read_bytes(file.path());
            EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0) << file.path();
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0);
}

namespace {

using SearchInputsTest = DatabaseTest;

TEST_P(SearchInputsTest, EveryKeptSearchFindsWhatReadingEveryNicknameFinds) {
    auto store = open_store();
    search_check::fill(*store);
    int searched = 0;
    // Before and after SQLite's trigram table took the new entries in.
    for (const char* when : {"read directly", "through the index"}) {
        for (const char* kept : {"fuzz/corpus/search", "fuzz/regressions/search"}) {
            const auto dir = std::filesystem::path(VORLANIX_SOURCE_DIR) / kept;
            if (!std::filesystem::is_directory(dir)) continue;
            for (const auto& file : std::filesystem::directory_iterator(dir)) {
                const auto bytes = read_bytes(file.path());
                const std::string text(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 40));
                if (text.empty()) continue;
                EXPECT_EQ(search_check::fault(*store, text), "") << file.path() << " " << when;
                ++searched;
            }
        }
        store->catch_up_search();
    }
    EXPECT_GT(searched, 0);
}

INSTANTIATE_TEST_SUITE_P(Databases, SearchInputsTest, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& case_info) { return case_info.param; });

}  // namespace
