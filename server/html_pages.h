// SPDX-License-Identifier: GPL-3.0-or-later
// The German pages of the world list: plain HTML and one style sheet, no scripts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/entry_store.h"
#include "server/upload_desk.h"

namespace bestenliste {

inline constexpr int64_t entries_per_page = 50;

std::string escape_html(std::string_view text);

struct ListView {
    Listing list = Listing::Proved;  // the world list at /, or the unproved results at /unbewiesen
    std::vector<ListedEntry> entries;
    int64_t total = 0;  // entries that match the search
    int64_t page = 1;   // 1-based
    std::string search;
    // The unproved page's first page also shows the uploads still being proved.
    std::vector<ListedEntry> waiting;
    int64_t waiting_total = 0;
};

// Where a list's pages are.
std::string_view list_path(Listing list);

std::string list_page(const ListView& view);
std::string upload_page(const std::optional<UploadOutcome>& outcome = std::nullopt);
// With the browser game served beside the list, a proved entry can be watched there.
std::string entry_page(const ListedEntry& entry, bool watchable = false);
// An upload waiting for its proof ("wird geprüft") or refused by it, with the reason.
std::string proof_page(int64_t id, const ProofStatus& proof);
// The page of an HTTP error status: "Nicht gefunden" for 404.
std::string error_page(int status);
std::string_view style_sheet();

}  // namespace bestenliste
