// SPDX-License-Identifier: GPL-3.0-or-later
// A result in days as the game shows it: 360-day years, 30-day months.
#pragma once

#include <cstdint>
#include <string>

namespace bestenliste {

struct Age {
    int32_t years, months, days;
};

inline Age age_of(int32_t t) { return {t / 360, (t % 360) / 30, t % 30}; }

// "32 Jahre, 1 Monat, 15 Tage"
std::string age_text(int32_t t);

}  // namespace bestenliste
