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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto checked = bestenliste::check_upload_bytes(std::span<const uint8_t>(data, size));
    if (checked.reason != bestenliste::Reason::Accepted) return 0;
    const std::string nickname = cp1252::to_utf8(checked.entry.FeldText[1]);
    bestenliste::ListView view;
    view.entries = {{1, 1, nickname, checked.entry.t, 0, true}};
    view.total = 1;
    view.search = nickname;
    const bool has_markup = nickname.find_first_of("<>&\"'") != std::string::npos;
    for (const auto& page : {bestenliste::list_page(view), bestenliste::entry_page(view.entries[0])}) {
        if (has_markup && page.find(nickname) != std::string::npos) std::abort();
        if (page.find(bestenliste::escape_html(nickname)) == std::string::npos) std::abort();
    }
    const auto json = nlohmann::json::parse(bestenliste::list_answer(1, view.entries));
    if (json["entries"][0]["nickname"] != nickname) std::abort();
    return 0;
}
