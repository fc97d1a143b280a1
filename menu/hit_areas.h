// SPDX-License-Identifier: GPL-3.0-or-later
// Where the menu's buttons answer the mouse. Every area excludes all four of its bounds, so a
// pointer exactly on an edge hits nothing.
#pragma once

#include <cstdint>

namespace vorlanix {

// 1 to 6 for START ... HILFE (the column of the main panel), 7 for QUIT, 0 elsewhere.
int32_t MainPanelButton(float x, float y);

// The number of the button of page `page` under (x, y): 31..36 the settings lamps, 41 INFO of
// the list, 61..63 the help dots, 81/82/83 the two lamps and INFO of the result and upload
// pages, 11 OK of the message page; 0 for none.
int32_t PageButton(int32_t page, float x, float y);

}  // namespace vorlanix
