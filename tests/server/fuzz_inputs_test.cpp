// SPDX-License-Identifier: GPL-3.0-or-later
// The upload fuzz target's corpus and every crasher it ever found, replayed in the normal suite.
#include <gtest/gtest.h>

#include <filesystem>

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
