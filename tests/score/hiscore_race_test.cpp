// SPDX-License-Identifier: GPL-3.0-or-later
// Two processes entering results into one hiscore.dat at once never leave it torn or missing,
// and neither one's save fails for the other's sake.
#include "tests/score/hiscore_race.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "tests/support/temp_dir.h"

TEST(HiscoreRace, TwoGamesSavingAtOnceLeaveAWholeList) {
    TempDir dir;
    constexpr int rounds = 150;
    pid_t writers[2];
    for (int k = 0; k < 2; ++k) {
        writers[k] = ::fork();
        ASSERT_GE(writers[k], 0);
        if (writers[k] == 0) {
            const char tag = k == 0 ? 'A' : 'B';
            const hiscore_race::Report report = hiscore_race::write_results(dir.path(), tag, rounds);
            std::fprintf(stderr, "%c: %d saves, %d failures, the other's results seen %d times%s%s\n", tag,
                         report.saves, report.failures, report.others_seen, report.failures ? "; first: " : "",
                         report.first_failure.c_str());
            // Both writers must have run at the same time, or the test proves nothing.
            ::_exit(report.failures == 0 && report.others_seen > 0 ? 0 : 1);
        }
    }
    for (const pid_t writer : writers) {
        int status = 0;
        ASSERT_EQ(::waitpid(writer, &status, 0), writer);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer failed; its line above says why";
    }
    EXPECT_EQ(hiscore_race::check_final_list(dir.path(), rounds), "");
}
