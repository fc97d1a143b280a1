// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows test program for two games saving hiscore.dat at once, started twice under Wine:
//   hiscore-race DIR A|B ROUNDS   one writer (A starts the list; each waits for the other)
//   hiscore-race DIR check ROUNDS the list both left is whole
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/score/hiscore_race.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: hiscore-race DIR A|B|check ROUNDS\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    const std::string mode = argv[2];
    const int rounds = std::atoi(argv[3]);
    if (mode == "check") {
        const std::string fault = hiscore_race::check_final_list(dir, rounds);
        if (!fault.empty()) std::fprintf(stderr, "the list left behind: %s\n", fault.c_str());
        return fault.empty() ? 0 : 1;
    }
    if (mode != "A" && mode != "B") return 2;
    const hiscore_race::Report report = hiscore_race::write_results(dir, mode[0], rounds);
    std::printf("%c: %d saves, %d failures, the other's results seen %d times%s%s\n", mode[0], report.saves,
                report.failures, report.others_seen, report.failures ? "; first: " : "", report.first_failure.c_str());
    // Both writers must have run at the same time, or the run proves nothing.
    return report.failures == 0 && report.others_seen > 0 ? 0 : 1;
}
