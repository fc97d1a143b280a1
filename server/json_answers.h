// SPDX-License-Identifier: GPL-3.0-or-later
// The JSON answers of the public API.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "server/entry_store.h"
#include "server/upload_desk.h"

namespace bestenliste {

inline constexpr int64_t api_list_limit = 100;

// {"accepted", "reason", "message", "proved", "rank"}; rank is null unless accepted.
std::string upload_answer(const UploadOutcome& outcome);
// {"total", "entries": [{"rank", "nickname", "days", "years", "months", "day", "uploaded", "proved"}]}
std::string list_answer(int64_t total, const std::vector<ListedEntry>& entries);

}  // namespace bestenliste
