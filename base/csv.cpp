// SPDX-License-Identifier: GPL-3.0-or-later
// A field of comma-separated values, quoted and guarded against spreadsheet formulas.
#include "base/csv.h"

#include <string_view>

namespace base {

std::string csv_field(std::string text) {
    if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos)
        text.insert(text.begin(), '\'');
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace base
