// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the kept replays and saying what each holds.
#include "shell/kept_replay_list.h"

#include <algorithm>
#include <chrono>
#include <ctime>

#include "base/read_file.h"
#include "base/utf8_path.h"
#include "replay/format.h"
#include "replay/kept_replays.h"
#include "replay/limits.h"
#include "replay/play_replay.h"
#include "replay/stop.h"

namespace vorlanix {

namespace fs = std::filesystem;

std::vector<KeptReplay> FindKeptReplays(const fs::path& dataDir) {
    std::vector<KeptReplay> kept;
    std::error_code ec;
    for (fs::directory_iterator it(dataDir / replay::kReplayFolder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() != ".vxr" || !it->is_regular_file(ec)) continue;
        KeptReplay k;
        k.file = it->path();
        const auto read = base::read_file_start(k.file, replay::kLargestReplay);
        try {
            if (!read.status.ok()) throw replay::ReplayStop{replay::StopKind::Unreadable, read.status.error};
            k.recordedAt = replay::DecodeHeader(read.bytes).recordedAt;
        } catch (const replay::ReplayStop& stop) {
            k.unreadable = stop.message;
        }
        kept.push_back(std::move(k));
    }
    std::sort(kept.begin(), kept.end(), [](const KeptReplay& a, const KeptReplay& b) {
        if (a.recordedAt != b.recordedAt) return a.recordedAt > b.recordedAt;
        const bool aLast = a.file.filename() == replay::kLastReplay, bLast = b.file.filename() == replay::kLastReplay;
        if (aLast != bLast) return aLast;
        return a.file.filename() > b.file.filename();
    });
    return kept;
}

std::vector<std::string> DescribeKeptReplays(const std::vector<KeptReplay>& kept) {
    std::vector<std::string> lines;
    for (const KeptReplay& k : kept) {
        std::string result = k.unreadable;
        char date[32] = "(no date)";
        if (k.unreadable.empty()) {
            const std::time_t at = static_cast<std::time_t>(k.recordedAt);
            std::tm local{};
            if (localtime_r(&at, &local)) std::strftime(date, sizeof date, "%Y-%m-%d %H:%M", &local);
            const auto read = base::read_file_start(k.file, replay::kLargestReplay);
            replay::PlayOptions options;
            options.deadline = std::chrono::steady_clock::now() + replay::kReplayTimeLimit;
            const replay::ReplayOutcome outcome = replay::PlayReplay(read.bytes, options);
            result.clear();
            for (size_t g = 0; g < outcome.games.size(); ++g) {
                // "game 1: 11565 days, ..." without its number: a kept replay holds one game.
                const std::string line = replay::DescribeGame(g + 1, outcome.games[g]);
                if (!result.empty()) result += "; ";
                result += line.substr(line.find(": ") + 2);
            }
            if (outcome.games.empty()) result = "no game";
            if (outcome.kind != replay::StopKind::Ended) result += " (" + outcome.message + ")";
        }
        lines.push_back(std::string(date) + "  " + result + "  " + base::Utf8FromPath(k.file));
    }
    return lines;
}

}  // namespace vorlanix
