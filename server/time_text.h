// SPDX-License-Identifier: GPL-3.0-or-later
// Upload times as pages and the API show them, always in UTC.
#pragma once

#include <cstdint>
#include <string>

namespace bestenliste {

std::string date_text(int64_t ms);  // "10.12.2026"
std::string iso_time(int64_t ms);   // "2026-12-10T13:45:07Z"

}  // namespace bestenliste
