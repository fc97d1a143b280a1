// SPDX-License-Identifier: GPL-3.0-or-later
// The number conventions the game's rules are written in: nearest with halves to even, and
// signed differences of the wrapping 32-bit millisecond counter.
#pragma once

#include <cmath>
#include <cstdint>

namespace vorlanix {

// The whole number nearest to v, a half going to the even neighbour (never std::round).
inline int32_t nearest(double v) { return static_cast<int32_t>(std::lrint(v)); }

// later - earlier as a signed 32-bit difference, correct across the counter's wrap.
inline int32_t tickDiff(uint32_t later, uint32_t earlier) { return static_cast<int32_t>(later - earlier); }

// The score and the result are kept times 3632: Punktzahl / kScoreScale are the points the
// counter shows, Ergebnis / kScoreScale the days of age the list shows.
constexpr int32_t kScoreScale = 3632;

// An award travels as 3141 plus its points (3141 - 50 takes 50 away); a value not above 3141 is
// a penalty and breaks the run of quick hits.
constexpr int32_t kAwardBase = 3141;
constexpr int32_t Award(int32_t points) { return kAwardBase + points; }

// 16-bit Booleans as the game stores them.
constexpr int16_t True = -1;
constexpr int16_t False = 0;

}  // namespace vorlanix
