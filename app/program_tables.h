// SPDX-License-Identifier: GPL-3.0-or-later
// The tables the program fills once when it starts and never changes: the bitmap fonts' glyph
// edges and the upload form's field boxes (index 0 unused, as the game numbers them).
#pragma once

#include <cstdint>

namespace vorlanix {

// clang-format off
inline constexpr int32_t kPosGross[31] = {0,   0,   12,  23,  33,  45,  55,  65,  76,  89,  97,
                                          105, 117, 127, 141, 154, 164, 174, 185, 196, 206, 216,
                                          228, 240, 255, 267, 278, 288, 299, 310, 321};
inline constexpr int32_t kPosKlein[31] = {0,   0,   10,  20,  29,  39,  48,  57,  67,  78,  85,
                                          92,  103, 111, 126, 137, 146, 157, 168, 177, 185, 193,
                                          204, 215, 229, 240, 251, 260, 269, 278, 289};
inline constexpr int32_t kPosZeichen[20] = {0,  0,   10,  20,  30,  40,  50,  60,  70,  80,
                                            90, 100, 116, 122, 128, 135, 141, 147, 154, 164};
inline constexpr int32_t kFeldX[9] = {0, 249, 249, 249, 249, 249, 213, 322, 249};
inline constexpr int32_t kFeldY[9] = {0, 125, 149, 172, 195, 218, 241, 241, 264};
inline constexpr int32_t kFeldBreite[9] = {0, 222, 222, 222, 222, 222, 61, 149, 222};
// clang-format on

}  // namespace vorlanix
