// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed-length, blank-padded text fields of the game's files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace score {

// A longer text keeps its first `width` characters; a shorter one is padded with blanks.
inline std::string fit_text(std::string_view text, std::size_t width) {
    std::string fitted(text.substr(0, width));
    fitted.resize(width, ' ');
    return fitted;
}

// Only blanks are trimmed: every other byte is a character the player typed.
inline std::string trim_blanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace score
