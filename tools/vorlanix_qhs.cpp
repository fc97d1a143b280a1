// SPDX-License-Identifier: GPL-3.0-or-later
// vorlanix-qhs: for whoever collects the players' upload files. Checks each file's size and
// check sum, and ranks the valid ones as the game ranks its list (lower age first); with replays,
// proves that a file's result was really played.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp1252.h"
#include "base/csv.h"
#include "base/licence_notice.h"
#include "base/log.h"
#include "replay/limits.h"
#include "replay/prove.h"
#include "base/read_file.h"
#include "score/upload_file.h"

namespace {

constexpr const char* usage =
    "Usage: vorlanix-qhs verify FILE...\n"
    "       vorlanix-qhs verify --replay REPLAY FILE\n"
    "       vorlanix-qhs rank [--csv] [--replay-dir DIR] FILE...\n"
    "\n"
    "Checks Vorlanix high-score upload files (.qhs).\n"
    "\n"
    "  verify   prints, for each file, the nickname, the result as years/months/days\n"
    "           and OK, or the reason the file is invalid\n"
    "  rank     prints the valid files ranked as the game ranks them: the lower age\n"
    "           first, equal ages in the order given; invalid files are reported on\n"
    "           standard error\n"
    "  --replay REPLAY\n"
    "           verify: accept FILE only when re-simulating REPLAY writes exactly\n"
    "           FILE's bytes at its upload\n"
    "  --replay-dir DIR\n"
    "           rank: mark each entry proved when a replay (*.vxr) in DIR writes it\n"
    "  --csv    rank as comma-separated values with every form entry (UTF-8)\n"
    "  --help   shows this text\n"
    "  --version  shows the version and the licence\n"
    "\n"
    "Exit status: 0 when every file is valid, 1 when any is not, 2 for a usage error.\n";

// Form entries as UTF-8, with control codes (which the game never lets a player type) made
// harmless for a terminal.
std::string printable(const std::string& text) {
    std::string safe = text;
    for (char& c : safe) {
        if (cp1252::is_control(static_cast<uint8_t>(c))) {
            c = '?';
        }
    }
    return cp1252::to_utf8(safe);
}

std::string years_months_days(int32_t t) {
    char text[40];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d", t / 360, (t % 360) / 30, t % 30);
    return text;
}

// Pads to a width in characters, not bytes, so that umlauts keep the columns straight.
std::string padded(const std::string& utf8, size_t width) {
    const auto characters = static_cast<size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<uint8_t>(c) & 0xC0) != 0x80; }));
    return characters >= width ? utf8 : utf8 + std::string(width - characters, ' ');
}

struct Checked {
    std::string file;
    score::UploadCheck check;
    bool proved = false;
};

constexpr auto proof_time_limit = replay::kReplayTimeLimit;
constexpr auto largest_replay = replay::kLargestReplay;

std::vector<uint8_t> whole_file(const std::string& file, std::size_t limit, std::string& error) {
    auto read = base::read_file_start(file, limit);
    if (!read.status.ok()) {
        error = read.status.error;
        return {};
    }
    if (read.size > limit) {
        error = file + " is too large";
        return {};
    }
    return std::move(read.bytes);
}

int verify_by_replay(const std::string& replay_file, const std::string& file) {
    std::string error;
    const auto replay = whole_file(replay_file, largest_replay, error);
    const auto upload = error.empty() ? whole_file(file, score::upload_file_size + 1, error) : std::vector<uint8_t>{};
    if (!error.empty()) {
        std::printf("%s: not proved: %s\n", file.c_str(), error.c_str());
        return 1;
    }
    const auto proof = replay::ProveUpload(replay, upload, proof_time_limit);
    if (proof.verdict == replay::Verdict::Proved) {
        std::printf("%s: proved by %s: %s\n", file.c_str(), replay_file.c_str(), proof.message.c_str());
        return 0;
    }
    std::printf("%s: not proved by %s: %s\n", file.c_str(), replay_file.c_str(), proof.message.c_str());
    return 1;
}

// Marks each entry proved when one of the replays of `dir` writes exactly its bytes.
void prove_all(std::vector<Checked>& entries, const std::string& dir) {
    std::vector<std::vector<uint8_t>> replays;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() != ".vxr") continue;
        std::string error;
        auto bytes = whole_file(it->path().string(), largest_replay, error);
        if (error.empty()) replays.push_back(std::move(bytes));
    }
    if (ec) base::Log("cannot list %s: %s", dir.c_str(), ec.message().c_str());
    for (auto& entry : entries) {
        std::string error;
        const auto upload = whole_file(entry.file, score::upload_file_size + 1, error);
        for (const auto& r : replays) {
            if (replay::ProveUpload(r, upload, proof_time_limit).verdict == replay::Verdict::Proved) {
                entry.proved = true;
                break;
            }
        }
    }
}

int verify(const std::vector<std::string>& files) {
    int status = 0;
    for (const auto& file : files) {
        const auto check = score::check_upload_file(file);
        std::printf("%s: ", file.c_str());
        // A file of the wrong size has no entries to show.
        if (!check.entry.FeldText[1].empty()) {
            std::printf("%s, %s: ", printable(check.entry.FeldText[1]).c_str(),
                        years_months_days(check.entry.t).c_str());
        }
        if (check.ok()) {
            std::printf("OK\n");
        } else {
            std::printf("invalid: %s\n", check.error.c_str());
            status = 1;
        }
    }
    return status;
}

int rank(const std::vector<std::string>& files, bool csv, const std::string& replay_dir) {
    int status = 0;
    std::vector<Checked> valid;
    for (const auto& file : files) {
        auto check = score::check_upload_file(file);
        if (check.ok()) {
            valid.push_back({file, std::move(check)});
        } else {
            base::Log("%s: invalid: %s", file.c_str(), check.error.c_str());
            status = 1;
        }
    }
    // As in the game's list, a result goes below every equal one that came before it.
    std::stable_sort(valid.begin(), valid.end(),
                     [](const Checked& a, const Checked& b) { return a.check.entry.t < b.check.entry.t; });
    const bool proving = !replay_dir.empty();
    if (proving) prove_all(valid, replay_dir);
    auto mark = [&](const Checked& c) { return std::string(c.proved ? "proved" : "unproved"); };

    if (csv) {
        std::printf("rank,nickname,years,months,days,result_days,name,vorname,geboren,strasse,plz,ort,email,file%s\n",
                    proving ? ",proof" : "");
    } else if (proving) {
        std::printf("%4s  %-8s  %5s  %-20s  %-8s  %s\n", "Rank", "Result", "Days", "Nickname", "Proof", "File");
    } else {
        std::printf("%4s  %-8s  %5s  %-20s  %s\n", "Rank", "Result", "Days", "Nickname", "File");
    }
    for (size_t k = 0; k < valid.size(); ++k) {
        const auto& entry = valid[k].check.entry;
        const int32_t t = entry.t;
        if (csv) {
            std::string row = std::to_string(k + 1) + ',' + base::csv_field(printable(entry.FeldText[1]));
            for (int32_t number : {t / 360, (t % 360) / 30, t % 30, t}) {
                row += ',' + std::to_string(number);
            }
            for (int field : {2, 3, 4, 5, 6, 7, 8}) {
                row += ',' + base::csv_field(printable(entry.FeldText[field]));
            }
            std::printf("%s,%s%s\n", row.c_str(), base::csv_field(valid[k].file).c_str(),
                        proving ? ("," + mark(valid[k])).c_str() : "");
        } else if (proving) {
            std::printf("%4zu  %-8s  %5d  %s  %-8s  %s\n", k + 1, years_months_days(t).c_str(), t,
                        padded(printable(entry.FeldText[1]), 20).c_str(), mark(valid[k]).c_str(),
                        valid[k].file.c_str());
        } else {
            std::printf("%4zu  %-8s  %5d  %s  %s\n", k + 1, years_months_days(t).c_str(), t,
                        padded(printable(entry.FeldText[1]), 20).c_str(), valid[k].file.c_str());
        }
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    base::SetProgramName("vorlanix-qhs");
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (std::find(args.begin(), args.end(), "--version") != args.end()) {
        std::fputs("vorlanix-qhs " VORLANIX_VERSION "\n" VORLANIX_LICENCE_NOTICE "\n", stdout);
        return 0;
    }
    if (args.empty() || (args[0] != "verify" && args[0] != "rank")) {
        std::fputs(usage, stderr);
        return 2;
    }
    const bool ranking = args[0] == "rank";
    bool csv = false;
    bool options_done = false;
    std::string replay_file, replay_dir;
    std::vector<std::string> files;
    for (size_t k = 1; k < args.size(); ++k) {
        const auto arg = args[k];
        if (!options_done && arg == "--") {
            options_done = true;
        } else if (!options_done && ranking && arg == "--csv") {
            csv = true;
        } else if (!options_done && (arg == (ranking ? "--replay-dir" : "--replay"))) {
            if (k + 1 >= args.size()) {
                std::fprintf(stderr, "vorlanix-qhs: %.*s needs a path\n\n%s", static_cast<int>(arg.size()), arg.data(),
                             usage);
                return 2;
            }
            (ranking ? replay_dir : replay_file) = std::string(args[++k]);
        } else if (!options_done && arg.starts_with("-")) {
            std::fprintf(stderr, "vorlanix-qhs: unknown option %.*s\n\n%s", static_cast<int>(arg.size()), arg.data(),
                         usage);
            return 2;
        } else {
            files.emplace_back(arg);
        }
    }
    if (files.empty()) {
        std::fputs(usage, stderr);
        return 2;
    }
    if (!replay_file.empty()) {
        if (files.size() != 1) {
            std::fputs(usage, stderr);
            return 2;
        }
        return verify_by_replay(replay_file, files[0]);
    }
    return ranking ? rank(files, csv, replay_dir) : verify(files);
}
