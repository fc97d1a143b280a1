// SPDX-License-Identifier: GPL-3.0-or-later
// The replays kept in the data directory, as a player finds them: `--list-replays` prints them
// newest first, and `--replay` without a file watches the newest.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vorlanix {

struct KeptReplay {
    std::filesystem::path file;
    int64_t recordedAt = 0;  // seconds since 1970 (UTC), from the replay's header
    std::string unreadable;  // why the file is no replay, if it is none
};

// The .vxr files of the data directory's replays/, newest first (the last game's last.vxr before
// the dated copy of the same game). Creates nothing; empty when there are none.
std::vector<KeptReplay> FindKeptReplays(const std::filesystem::path& dataDir);

// One line per kept replay, newest first: its date (local time), its result and its file. The
// results are re-simulated, so a line never claims what the file does not hold.
// "2026-12-10 14:05  11565 days, 4200 points, rank 2  /home/max/.local/share/vorlanix/replays/last.vxr"
std::vector<std::string> DescribeKeptReplays(const std::vector<KeptReplay>& kept);

}  // namespace vorlanix
