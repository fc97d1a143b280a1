// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: what the world-list server does with a received upload file. Any bytes are checked;
// a file that passes is shown on the list page, its entry page and in the JSON list, where its
// nickname must come out as text, never as markup.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <span>

#include "base/cp1252.h"
#include "server/html_pages.h"
#include "server/json_answers.h"
#include "server/upload_checks.h"

namespace {

// The pages as they come out for a nickname, which also stands in the search field.
std::vector<std::string> pages_for(const std::string& nickname, int32_t t) {
    bestenliste::ListView view;
    view.entries = {{1, 1, nickname, t, 0, true}};
    view.total = 1;
    view.search = nickname;
    return {bestenliste::list_page(view), bestenliste::entry_page(view.entries[0])};
}

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// Written here again, apart from the server's, so that a fault there cannot hide itself.
std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto checked = bestenliste::check_upload_bytes(std::span<const uint8_t>(data, size));
    if (checked.reason != bestenliste::Reason::Accepted) return 0;
    const std::string nickname = cp1252::to_utf8(checked.entry.FeldText[1]);
    // A nickname of one markup character (">") occurs in any page's own markup, so a search for
    // the raw nickname proves nothing. Instead each page must be the page of a harmless name with
    // every occurrence of that name replaced by the escaped nickname: the nickname goes only where
    // a name goes, and only escaped.
    const std::string stand_in = "Namensplatzhalter";
    const auto pages = pages_for(nickname, checked.entry.t);
    const auto templates = pages_for(stand_in, checked.entry.t);
    for (size_t i = 0; i < pages.size(); ++i) {
        if (pages[i] != replace_all(templates[i], stand_in, escaped(nickname))) std::abort();
    }
    bestenliste::ListView view;
    view.entries = {{1, 1, nickname, checked.entry.t, 0, true}};
    const auto json = nlohmann::json::parse(bestenliste::list_answer(bestenliste::Listing::Proved, 1, view.entries));
    if (json["entries"][0]["nickname"] != nickname) std::abort();
    return 0;
}
