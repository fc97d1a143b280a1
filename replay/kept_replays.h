// SPDX-License-Identifier: GPL-3.0-or-later
// The replays kept in the data directory's replays/ folder: the last game always (last.vxr), and
// every game whose result entered the local list under its date and result, pruned to the newest
// 20 of those plus the ones whose result still stands on the list.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <span>
#include <string>

namespace replay {

inline constexpr const char* kReplayFolder = "replays";
inline constexpr const char* kLastReplay = "last.vxr";
inline constexpr size_t kKeptNewest = 20;

struct FinishedGame {
    std::time_t playedAt = 0;
    bool entersList = false;  // the result went into the local list
    int32_t days = 0;
};

// "2026-12-10_14-05-33_11565-days.vxr" (UTC).
std::string ReplayNameFor(const FinishedGame& game);

// Writes the replay (whole files only) and prunes; false with the reason when a write failed.
// `listDays` are the ages on the local list now, index 1..8.
bool KeepReplay(const std::filesystem::path& dataDir, std::span<const uint8_t> file, const FinishedGame& game,
                std::span<const int32_t> listDays, std::string& error);

}  // namespace replay
