// SPDX-License-Identifier: GPL-3.0-or-later
// A result is an age in days of a calendar with 30-day months and 360-day years,
// written as six digits: years, months and days, two each.
#pragma once

#include <array>
#include <cstdint>

namespace score {

// The worst result a game can give (80 years) and the age of an empty list entry.
inline constexpr int32_t worst_age = 28800;

// J1 J2 M1 M2 T1 T2 of an age t (0 <= t <= 28800); all divisions truncate.
inline std::array<int32_t, 6> age_digits(int32_t t) {
    const int32_t J1 = t / 3600;
    const int32_t r1 = t - 3600 * J1;
    const int32_t J2 = r1 / 360;
    const int32_t r2 = r1 - 360 * J2;
    const int32_t M1 = r2 / 300;
    const int32_t r3 = r2 - 300 * M1;
    const int32_t M2 = r3 / 30;
    const int32_t r4 = r3 - 30 * M2;
    const int32_t T1 = r4 / 10;
    const int32_t T2 = r4 - 10 * T1;
    return {J1, J2, M1, M2, T1, T2};
}

}  // namespace score
