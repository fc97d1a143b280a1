// SPDX-License-Identifier: GPL-3.0-or-later
// What a search of the world list must find, checked against reading every nickname: a small list
// of nicknames that are wildcards, quotes, umlauts and spaces elsewhere, in both lists, and a
// search text as a visitor may type it. Shared by the search fuzz target and the test suite,
// which runs the kept inputs on SQLite and on PostgreSQL.
#pragma once

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "score/upload_file.h"
#include "server/entry_store.h"

namespace search_check {

struct Listed {
    std::string nickname;
    int32_t days;
    bool proved;
    int64_t id = 0;
};

inline std::vector<Listed>& listed() {
    // clang-format off
    static std::vector<Listed> entries = {
        {"100%Max", 300, true},         {"Max_1", 200, false},         {"Ma\\x", 300, true},
        {"Ma\"x\"", 100, false},        {"\xC3\x84rger", 250, true},   {"m\xC3\xA4RGEL", 250, false},
        {"Maxim", 28800, true},         {"axe", 0, false},             {"Qu\xC3\xBC\xC3\x9F", 7, true},
        {"a b  c", 511, false},         {"x'y;--", 512, true},         {"  ", 256, false},
        {"\xC2\xA0" "Max", 255, true},  {"MAX", 300, false},           {"[a-z]*", 9, true},
    };
    // clang-format on
    return entries;
}

// Fills an empty list with the entries above (their ids are noted there).
inline void fill(bestenliste::EntryStore& store) {
    static const std::vector<uint8_t> replay = {1, 2, 3};
    int32_t serial = 0;
    for (auto& entry : listed()) {
        score::UploadEntry file;
        file.S = ++serial;
        file.t = entry.days;
        file.FeldText = {"", "n", "Name", "Vorname", "1.1.1980", "Weg 1", "10115", "Ort", "a@b.de"};
        const auto bytes = score::encode_upload(file);
        bestenliste::NewEntry row;
        row.upload = std::span<const uint8_t>(bytes.data(), bytes.size());
        row.nickname = entry.nickname;
        row.days = entry.days;
        row.uploaded_ms = 1'765'000'000'000;
        if (entry.proved) row.replay = std::span<const uint8_t>(replay);
        entry.id = store.insert(row).value_or(0);
    }
}

// Empty when both lists' search for `text` finds exactly the entries whose nickname holds it
// (as the search compares: without case, for ASCII and Latin-1 letters), each at its rank, and
// counts them; else what differs.
inline std::string fault(bestenliste::EntryStore& store, const std::string& text) {
    const std::string wanted = bestenliste::search_key(text);
    for (const auto list : {bestenliste::Listing::Proved, bestenliste::Listing::Unproved}) {
        std::vector<Listed> ranked;
        for (const auto& entry : listed()) {
            if (entry.proved == (list == bestenliste::Listing::Proved)) ranked.push_back(entry);
        }
        std::sort(ranked.begin(), ranked.end(),
                  [](const Listed& a, const Listed& b) { return std::tie(a.days, a.id) < std::tie(b.days, b.id); });
        std::vector<std::string> expected, found;
        for (size_t k = 0; k < ranked.size(); ++k) {
            if (bestenliste::search_key(ranked[k].nickname).find(wanted) == std::string::npos) continue;
            expected.push_back(std::to_string(k + 1) + ":" + ranked[k].nickname);
        }
        for (const auto& entry : store.page(list, 0, 100, text)) {
            found.push_back(std::to_string(entry.rank) + ":" + entry.nickname);
        }
        const auto counted = store.count(list, text);
        if (found != expected || counted != static_cast<int64_t>(expected.size())) {
            std::string message = "found";
            for (const auto& f : found) message += " [" + f + "]";
            message += ", counted " + std::to_string(counted) + "; expected";
            for (const auto& e : expected) message += " [" + e + "]";
            return message;
        }
    }
    return {};
}

}  // namespace search_check
