// SPDX-License-Identifier: GPL-3.0-or-later
// Hex encoding of stored files.
#include "server/hex.h"

namespace bestenliste {

namespace {

int nibble(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string to_hex(std::span<const uint8_t> bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const uint8_t b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

std::optional<std::vector<uint8_t>> from_hex(std::string_view text) {
    if (text.size() % 2 != 0) return std::nullopt;
    std::vector<uint8_t> bytes(text.size() / 2);
    for (size_t k = 0; k < bytes.size(); ++k) {
        const int high = nibble(text[2 * k]), low = nibble(text[2 * k + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes[k] = static_cast<uint8_t>(high * 16 + low);
    }
    return bytes;
}

}  // namespace bestenliste
