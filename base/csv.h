// SPDX-License-Identifier: GPL-3.0-or-later
// One field of comma-separated values, for the files that list strangers' entries.
#pragma once

#include <string>

namespace base {

// Quoted when it holds a comma, a quote or a line break. A field that a spreadsheet would take for
// a formula (it begins with = + - @, a tab or a carriage return) gets a leading apostrophe, since
// the texts come from strangers.
std::string csv_field(std::string text);

}  // namespace base
