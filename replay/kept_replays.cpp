// SPDX-License-Identifier: GPL-3.0-or-later
// Naming, writing and pruning the replays kept beside hiscore.dat.
#include "replay/kept_replays.h"

#include <algorithm>
#include <cstdio>
#include <regex>
#include <vector>

#include "base/replace_file.h"
#include "base/utf8_path.h"

namespace replay {

namespace fs = std::filesystem;

std::string ReplayNameFor(const FinishedGame& game) {
    std::tm utc{};
    gmtime_r(&game.playedAt, &utc);
    char name[64];
    std::snprintf(name, sizeof name, "%04d-%02d-%02d_%02d-%02d-%02d_%d-days.vxr", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, game.days);
    return name;
}

bool KeepReplay(const fs::path& dataDir, std::span<const uint8_t> file, const FinishedGame& game,
                std::span<const int32_t> listDays, std::string& error) {
    const fs::path dir = dataDir / kReplayFolder;
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        error = "cannot make " + base::Utf8FromPath(dir) + ": " + ec.message();
        return false;
    }
    if (auto status = base::replace_file(dir, kLastReplay, file); !status.ok()) {
        error = status.error;
        return false;
    }
    if (!game.entersList) return true;
    if (auto status = base::replace_file(dir, ReplayNameFor(game), file); !status.ok()) {
        error = status.error;
        return false;
    }

    // The names sort by date; the newest 20 stay, older ones only while their result is listed.
    const std::regex dated(R"(\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d_(\d{1,5})-days\.vxr)");
    std::vector<std::pair<std::string, int32_t>> kept;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::smatch m;
        const std::string name = it->path().filename().string();
        if (std::regex_match(name, m, dated)) kept.emplace_back(name, std::stoi(m[1].str()));
    }
    std::sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (size_t k = kKeptNewest; k < kept.size(); ++k) {
        if (std::find(listDays.begin(), listDays.end(), kept[k].second) == listDays.end())
            fs::remove(dir / kept[k].first, ec);
    }
    return true;
}

}  // namespace replay
