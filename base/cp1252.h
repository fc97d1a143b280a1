// SPDX-License-Identifier: GPL-3.0-or-later
// Conversion between the game's texts (one byte per character, Windows code page 1252)
// and the UTF-8 of file names, terminals and typed input.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cp1252 {

// The Unicode code point of a code page 1252 byte. The five bytes the code page leaves
// undefined map to the control code of the same number, so every byte survives a round trip.
char32_t to_code_point(uint8_t byte);

// The code page 1252 byte of a code point, or nothing when the code page has no such character.
std::optional<uint8_t> from_code_point(char32_t code_point);

// A control code, or one of the five bytes the code page leaves undefined (which decode to
// control codes): no text character. The game never lets a player type one.
bool is_control(uint8_t byte);

std::string to_utf8(std::string_view text);

// Characters the code page lacks, and bytes that are not valid UTF-8, become `unmappable`
// ('\0' drops them, as typed input does).
std::string from_utf8(std::string_view utf8, char unmappable = '?');

}  // namespace cp1252
