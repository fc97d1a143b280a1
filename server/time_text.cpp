// SPDX-License-Identifier: GPL-3.0-or-later
// gmtime_r, so that neither the server's time zone nor another thread's call changes a date.
#include "server/time_text.h"

#include <ctime>

namespace bestenliste {

namespace {

std::string formatted(int64_t ms, const char* format) {
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[40];
    const size_t n = std::strftime(text, sizeof text, format, &parts);
    return std::string(text, n);
}

}  // namespace

std::string date_text(int64_t ms) { return formatted(ms, "%d.%m.%Y"); }

std::string iso_time(int64_t ms) { return formatted(ms, "%Y-%m-%dT%H:%M:%SZ"); }

}  // namespace bestenliste
