// SPDX-License-Identifier: GPL-3.0-or-later
// Paths to and from UTF-8 text. On Windows a path is UTF-16 and its narrow form is not UTF-8, so
// every path that comes from text (the command line, the settings file) or goes into text (a
// message, the screen) passes through here; on POSIX systems both directions keep the bytes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace base {

inline std::filesystem::path PathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace base
