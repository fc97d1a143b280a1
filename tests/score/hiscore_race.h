// SPDX-License-Identifier: GPL-3.0-or-later
// Two games entering results into one hiscore.dat at the same moment: each writer loads the list,
// enters a result of its own and saves, round after round, and checks every list it reads. Shared
// by the test on this system and the test program run under Wine for the Windows build.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <span>
#include <string>
#include <thread>

#include "base/read_file.h"
#include "score/hiscore_file.h"

namespace hiscore_race {

// Round i of writer `tag` (A or B) enters the result 28000 - 2i (A) or 27999 - 2i (B) under the
// name "A0000042": every result beats the writer's earlier ones, and a name tells its result.
inline int32_t result_of(char tag, int round) { return 28000 - 2 * round - (tag == 'B' ? 1 : 0); }

inline std::string name_of(char tag, int round) {
    std::string digits = std::to_string(round);
    std::string name(1, tag);
    name.append(7 - digits.size(), '0');
    name.append(digits);
    return name;
}

struct Report {
    int saves = 0;
    int failures = 0;     // loads or saves that reported an error, torn or missing lists
    int others_seen = 0;  // rounds in which a new result of the other writer had appeared
    std::string first_failure;

    void fail(const std::string& what) {
        if (failures++ == 0) first_failure = what;
    }
};

// Whether `bytes` are a whole list that only the two writers' rounds can have made: 430 bytes,
// every entry empty or one of the written results under its own name, ordered, none twice.
// Returns the fault in words, or nothing; `latest` gets each writer's newest round in the list.
inline std::string check_list(std::span<const uint8_t> bytes, int rounds, int latest[2]) {
    if (bytes.size() != score::hiscore_file_size) {
        std::string fault = "the list has ";
        fault.append(std::to_string(bytes.size())).append(" bytes");
        return fault;
    }
    const score::HiscoreData list = score::decode_hiscore(bytes);
    std::set<std::string> names;
    latest[0] = latest[1] = -1;
    for (int i = 1; i <= 8; ++i) {
        const std::string& name = list.HSName[i];
        std::string where = "entry ";
        where.append(std::to_string(i)).append(" (").append(name).append(", ");
        where.append(std::to_string(list.HSTage[i])).append(")");
        if (i > 1 && list.HSTage[i] < list.HSTage[i - 1]) return where.append(" is out of order");
        if (name == std::string(8, ' ') && list.HSTage[i] == score::worst_age) continue;
        const char tag = name[0];
        int round = -1;
        if ((tag == 'A' || tag == 'B') && name.find_first_not_of("0123456789", 1) == std::string::npos) {
            round = std::stoi(name.substr(1));
        }
        if (round < 0 || round >= rounds || result_of(tag, round) != list.HSTage[i]) {
            return where.append(" was never written");
        }
        if (!names.insert(name).second) return where.append(" stands twice");
        int& newest = latest[tag == 'B' ? 1 : 0];
        if (round > newest) newest = round;
    }
    return {};
}

// Waits until both writers are there, so that their rounds overlap, then runs `rounds` rounds
// against dir/hiscore.dat as the game does: load, rank, enter, save.
inline Report write_results(const std::filesystem::path& dir, char tag, int rounds) {
    Report report;
    const char other = tag == 'A' ? 'B' : 'A';
    const auto file = dir / score::hiscore_file_name;
    // Writer A starts the list before it says it is there; from then on the file always exists.
    if (tag == 'A') {
        const base::FileStatus started = score::save_hiscore(file, score::HiscoreData());
        if (!started.ok()) {
            report.fail(started.error);
            return report;
        }
    }
    std::ofstream(dir / std::string("ready-").append(1, tag)).put('1');
    const auto give_up_at = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!std::filesystem::exists(dir / std::string("ready-").append(1, other))) {
        if (std::chrono::steady_clock::now() > give_up_at) {
            report.fail("the other writer never started");
            return report;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    int other_seen = -1;
    for (int round = 0; round < rounds; ++round) {
        // What a reader finds at any moment: a whole list, never a missing or torn one.
        const base::FileStart found = base::read_file_start(file, 1000);
        int latest[2];
        if (!found.status.ok()) {
            report.fail(found.status.error);
        } else {
            const std::string fault = check_list(found.bytes, rounds, latest);
            if (!fault.empty()) report.fail(fault);
            const int newest_other = latest[other == 'B' ? 1 : 0];
            if (newest_other > other_seen) {
                ++report.others_seen;
                other_seen = newest_other;
            }
        }

        score::HiscoreData list;
        const score::HiscoreLoad load = score::load_hiscore(file, list);
        if (!load.ok()) {
            report.fail(load.error);
            continue;
        }
        const int32_t result = result_of(tag, round);
        score::enter_result(list, score::rank_result(list, result), result, name_of(tag, round));
        const base::FileStatus saved = score::save_hiscore(file, list);
        if (saved.ok()) {
            ++report.saves;
        } else {
            report.fail(saved.error);
        }
        // A short and uneven pause, as between two clicks, lets the other writer have its turn.
        std::this_thread::sleep_for(std::chrono::microseconds(round % 7 * 300));
    }
    return report;
}

// The list both writers leave: whole, and holding the last result of whichever saved last.
inline std::string check_final_list(const std::filesystem::path& dir, int rounds) {
    const base::FileStart found = base::read_file_start(dir / score::hiscore_file_name, 1000);
    if (!found.status.ok()) return found.status.error;
    int latest[2];
    std::string fault = check_list(found.bytes, rounds, latest);
    if (fault.empty() && latest[0] != rounds - 1 && latest[1] != rounds - 1) {
        fault = "neither writer's last result is in the list";
    }
    return fault;
}

}  // namespace hiscore_race
