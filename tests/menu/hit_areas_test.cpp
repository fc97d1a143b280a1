// SPDX-License-Identifier: GPL-3.0-or-later
// Where the menu's buttons answer the pointer: every area leaves out its four bounds, the main
// column is cut into 43-pixel stripes, and a pointer between whole pixels stays on its button.
#include <gtest/gtest.h>

#include "menu/hit_areas.h"

using vorlanix::MainPanelButton;
using vorlanix::PageButton;

TEST(HitAreas, BoundsAreOutsideAndStripesStayInTheirRange) {
    // clang-format off
    const struct {
        int32_t page;  // 0: the main panel
        float x, y;
        int32_t number;
    } cases[] = {
        {0, 100, 79, 1},     {0, 141, 120, 1},   {0, 120, 121, 2},  {0, 120, 335, 6},
        {0, 99, 200, 0},     {0, 142, 200, 0},   {0, 120, 78, 0},   {0, 120, 336, 0},
        {0, 120, 335.6f, 6},  // just above the bound: still HILFE, not QUIT
        {0, 517, 297, 7},    {0, 516, 300, 0},   {0, 530, 339, 0},
        {6, 278, 99, 61},    {6, 304, 99, 61},   {6, 305, 99, 62},  {6, 360, 99, 63},
        {6, 277, 99, 0},     {6, 361, 99, 0},    {6, 300, 88, 0},   {6, 300, 110, 0},
        {6, 360.6f, 99, 63},  // the last dot, not a fourth one
        {3, 247, 158, 31},   {3, 246, 170, 0},   {3, 360, 310, 36}, {3, 361, 310, 0},
        {11, 315, 422, 11},  {11, 315, 423, 0},  {4, 430, 95, 0},   {8, 430, 120, 83},
    };
    // clang-format on
    for (const auto& c : cases) {
        const int32_t got = c.page == 0 ? MainPanelButton(c.x, c.y) : PageButton(c.page, c.x, c.y);
        EXPECT_EQ(got, c.number) << "page " << c.page << " at (" << c.x << ", " << c.y << ")";
    }
}
