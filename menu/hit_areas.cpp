// SPDX-License-Identifier: GPL-3.0-or-later
// The hit areas of the main panel and of the pages.
#include "menu/hit_areas.h"

namespace vorlanix {

namespace {

bool inside(float x, float y, int32_t left, int32_t right, int32_t top, int32_t bottom) {
    return left < x && x < right && top < y && y < bottom;
}

// Whole pixels into an area, truncated: a pointer between pixels (the headless driver allows
// one) stays on the stripe or dot it is over instead of rounding onto a button past the bound.
int32_t whole(float v) { return static_cast<int32_t>(v); }

struct Area {
    int32_t page, left, right, top, bottom, number;
};

// clang-format off
constexpr Area kPageAreas[] = {
    {3, 246, 277, 157, 188, 31}, {3, 330, 361, 157, 188, 32},  // SOUND AN / AUS
    {3, 246, 277, 216, 247, 33}, {3, 330, 361, 216, 247, 34},  // MUSIK AN / AUS
    {3, 246, 277, 280, 311, 35}, {3, 330, 361, 280, 311, 36},  // GRAFIK HIGH / LOW
    {4, 417, 458, 95, 121, 41},                                // INFO
    {8, 228, 258, 290, 320, 81}, {8, 353, 383, 290, 320, 82},  // NEIN / JA
    {8, 417, 458, 95, 121, 83},                                // INFO
    {9, 228, 258, 290, 320, 81}, {9, 353, 383, 290, 320, 82},  // LÖSCHEN / SICHERN
    {9, 417, 458, 95, 121, 83},                                // INFO
    // OK: the area reaches far below the lamp, down to y 422.
    {11, 314, 345, 292, 423, 11},
};
// clang-format on

}  // namespace

int32_t MainPanelButton(float x, float y) {
    // Stripes 43 pixels high from y 78 on: the whole column between two lamps is one button.
    if (inside(x, y, 99, 142, 78, 336)) return whole(y - 78) / 43 + 1;
    if (inside(x, y, 516, 559, 296, 339)) return 7;
    return 0;
}

int32_t PageButton(int32_t page, float x, float y) {
    if (page == 6) return inside(x, y, 277, 361, 88, 110) ? 61 + whole(x - 277) / 28 : 0;
    for (const Area& a : kPageAreas)
        if (a.page == page && inside(x, y, a.left, a.right, a.top, a.bottom)) return a.number;
    return 0;
}

}  // namespace vorlanix
