// SPDX-License-Identifier: GPL-3.0-or-later
// The JSON answers of the public API.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/entry_store.h"
#include "server/upload_desk.h"

namespace bestenliste {

inline constexpr int64_t api_list_limit = 100;

// {"accepted", "reason", "message", "proved", "rank", "id", "state"}; rank is null unless accepted, id null
// unless accepted or pending (then state is "pending": the replay is proved later).
std::string upload_answer(const UploadOutcome& outcome);
// {"id", "state": "pending" | "proved" | "unproved" | "refused", "reason", "message"}, with the list's
// fields ("rank", "nickname", "days", "uploaded") for a listed entry.
std::string entry_answer(int64_t id, const std::optional<ListedEntry>& entry, const std::optional<ProofStatus>& proof);
// {"list": "proved" | "unproved", "total", "entries": [{"rank", "nickname", "days", "years", "months", "day",
// "uploaded", "proved"}]}; the unproved list also has "pending": {"total", "entries"} (rank null), the
// uploads still being proved.
std::string list_answer(Listing list, int64_t total, const std::vector<ListedEntry>& entries,
                        const std::vector<ListedEntry>& waiting = {}, int64_t waiting_total = 0);

}  // namespace bestenliste
