// What vorlanix-qhs prints: the check of each upload file, and the valid ones ranked as the game
// ranks its list.
#include "tools/qhs_report.h"

#include <algorithm>
#include <string>

#include "platform/cp1252.h"
#include "score/upload_file.h"

namespace qhs {

namespace {

// Form entries as UTF-8, with control codes (which the game never lets a player type) made
// harmless for a terminal.
std::string printable(const std::string& text) {
    std::string safe = text;
    for (char& c : safe) {
        const char32_t cp = cp1252::to_code_point(static_cast<uint8_t>(c));
        if (cp < 32 || (cp >= 127 && cp <= 0x9F)) {
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

std::string csv_field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + "\"";
}

struct Checked {
    std::string file;
    score::UploadCheck check;
};

}  // namespace

int verify(const std::vector<std::string>& files, std::FILE* out) {
    int status = 0;
    for (const auto& file : files) {
        const auto check = score::check_upload_file(file);
        std::fprintf(out, "%s: ", file.c_str());
        // A file of the wrong size has no entries to show.
        if (!check.entry.FeldText[1].empty()) {
            std::fprintf(out, "%s, %s: ", printable(check.entry.FeldText[1]).c_str(),
                        years_months_days(check.entry.t).c_str());
        }
        if (check.ok()) {
            std::fprintf(out, "OK\n");
        } else {
            std::fprintf(out, "invalid: %s\n", check.error.c_str());
            status = 1;
        }
    }
    return status;
}

int rank(const std::vector<std::string>& files, bool csv, std::FILE* out, std::FILE* err) {
    int status = 0;
    std::vector<Checked> valid;
    for (const auto& file : files) {
        auto check = score::check_upload_file(file);
        if (check.ok()) {
            valid.push_back({file, std::move(check)});
        } else {
            std::fprintf(err, "vorlanix-qhs: %s: invalid: %s\n", file.c_str(), check.error.c_str());
            status = 1;
        }
    }
    // As in the game's list, a result goes below every equal one that came before it.
    std::stable_sort(valid.begin(), valid.end(),
                     [](const Checked& a, const Checked& b) { return a.check.entry.t < b.check.entry.t; });

    if (csv) {
        std::fprintf(out, "rank,nickname,years,months,days,result_days,name,vorname,geboren,strasse,plz,ort,email,file\n");
    } else {
        std::fprintf(out, "%4s  %-8s  %5s  %-20s  %s\n", "Rank", "Result", "Days", "Nickname", "File");
    }
    for (size_t k = 0; k < valid.size(); ++k) {
        const auto& entry = valid[k].check.entry;
        const int32_t t = entry.t;
        if (csv) {
            std::string row = std::to_string(k + 1) + ',' + csv_field(printable(entry.FeldText[1]));
            for (int32_t number : {t / 360, (t % 360) / 30, t % 30, t}) {
                row += ',' + std::to_string(number);
            }
            for (int field : {2, 3, 4, 5, 6, 7, 8}) {
                row += ',' + csv_field(printable(entry.FeldText[field]));
            }
            std::fprintf(out, "%s,%s\n", row.c_str(), csv_field(valid[k].file).c_str());
        } else {
            std::fprintf(out, "%4zu  %-8s  %5d  %s  %s\n", k + 1, years_months_days(t).c_str(), t,
                        padded(printable(entry.FeldText[1]), 20).c_str(), valid[k].file.c_str());
        }
    }
    return status;
}

}  // namespace qhs
