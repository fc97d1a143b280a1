// SPDX-License-Identifier: GPL-3.0-or-later
// Code page 1252 is Latin-1 except for 0x80..0x9F, where Windows put typographic characters.
#include "base/cp1252.h"

#include <array>

namespace cp1252 {

namespace {

// 0x80..0x9F; the undefined bytes 0x81, 0x8D, 0x8F, 0x90, 0x9D keep their own number.
constexpr std::array<char32_t, 32> high_block = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void append_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `pos`; returns the code point and advances `pos`, or returns
// nothing and advances by one byte when the sequence is malformed, overlong or a surrogate.
std::optional<char32_t> next_code_point(std::string_view s, size_t& pos) {
    const auto lead = static_cast<uint8_t>(s[pos]);
    size_t length = 0;
    char32_t cp = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, smallest = 0x10000;
    } else {
        ++pos;
        return std::nullopt;
    }
    if (pos + length > s.size()) {
        ++pos;
        return std::nullopt;
    }
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<uint8_t>(s[pos + k]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return std::nullopt;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return std::nullopt;
    }
    pos += length;
    return cp;
}

}  // namespace

char32_t to_code_point(uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return high_block[byte - 0x80];
    }
    return byte;
}

std::optional<uint8_t> from_code_point(char32_t code_point) {
    if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) {
        return static_cast<uint8_t>(code_point);
    }
    for (size_t k = 0; k < high_block.size(); ++k) {
        if (high_block[k] == code_point) {
            return static_cast<uint8_t>(0x80 + k);
        }
    }
    return std::nullopt;
}

bool is_control(uint8_t byte) {
    const char32_t cp = to_code_point(byte);
    return cp < 32 || (cp >= 0x7F && cp <= 0x9F);
}

std::string to_utf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        append_utf8(out, to_code_point(static_cast<uint8_t>(c)));
    }
    return out;
}

std::string from_utf8(std::string_view utf8, char unmappable) {
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        const auto cp = next_code_point(utf8, pos);
        const auto byte = cp ? from_code_point(*cp) : std::nullopt;
        if (byte)
            out += static_cast<char>(*byte);
        else if (unmappable != '\0')
            out += unmappable;
    }
    return out;
}

}  // namespace cp1252
