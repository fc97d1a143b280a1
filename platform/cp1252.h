// Conversion between Unicode and the Windows-1252 code page the game's texts are kept in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The code page 1252 code of a Unicode code point, or nothing when the page has no such character.
std::optional<uint8_t> CodePointToCp1252(char32_t cp);
// Decodes UTF-8 into code points and converts each; characters without a code are dropped.
std::string Utf8ToCp1252(const std::string& utf8);
std::string Cp1252ToUtf8(const std::string& text);

}  // namespace platform
