// SPDX-License-Identifier: GPL-3.0-or-later
// Little-endian two's complement numbers, as the game's files store them.
#pragma once

#include <cstdint>
#include <span>

namespace base {

// Stores the low out.size() bytes of `value`, lowest first.
inline void store_little_endian(std::span<uint8_t> out, uint32_t value) {
    for (size_t k = 0; k < out.size(); ++k) {
        out[k] = static_cast<uint8_t>(value >> (8 * k));
    }
}

inline uint32_t load_little_endian(std::span<const uint8_t> in) {
    uint32_t value = 0;
    for (size_t k = in.size(); k-- > 0;) {
        value = (value << 8) | in[k];
    }
    return value;
}

}  // namespace base
