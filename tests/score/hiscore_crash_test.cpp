// SPDX-License-Identifier: GPL-3.0-or-later
// A save killed at any instant leaves hiscore.dat whole: a child process saves two different
// lists in turn as fast as it can, and is killed at a random moment, a few hundred times.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "score/hiscore_file.h"
#include "tests/support/temp_dir.h"

namespace {

score::HiscoreData list_with(int32_t first_age, const char* name) {
    score::HiscoreData data;
    score::enter_result(data, 1, first_age, name);
    data.SpielerName = name;
    return data;
}

}  // namespace

TEST(HiscoreCrash, AKilledSaveLeavesTheOldFileOrTheNewOneWhole) {
    TempDir dir;
    const auto file = dir / "hiscore.dat";
    const auto old_list = score::encode_hiscore(list_with(5000, "Alt"));
    const auto new_list = score::encode_hiscore(list_with(7000, "Neu"));
    ASSERT_TRUE(score::save_hiscore(file, score::decode_hiscore(old_list)).ok());

    std::mt19937 random(17);
    int saw_old = 0, saw_new = 0;
    for (int kill = 0; kill < 300; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int k = 0;; ++k) score::save_hiscore(file, score::decode_hiscore(k % 2 ? old_list : new_list));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 3000)(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        const auto bytes = read_bytes(file);
        const bool is_old = bytes == std::vector<uint8_t>(old_list.begin(), old_list.end());
        const bool is_new = bytes == std::vector<uint8_t>(new_list.begin(), new_list.end());
        ASSERT_TRUE(is_old || is_new) << "after kill " << kill << ": " << bytes.size() << " bytes";
        saw_old += is_old;
        saw_new += is_new;
        score::HiscoreData loaded;
        ASSERT_TRUE(score::load_hiscore(file, loaded).ok());
        EXPECT_EQ(loaded.SpielerName, is_old ? "Alt" : "Neu");
    }
    // Both lists were seen, so the kills did land in the middle of saving.
    EXPECT_GT(saw_old, 0);
    EXPECT_GT(saw_new, 0);
}
