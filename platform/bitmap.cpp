// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding 24-bit BMP bytes into an RGB565 surface, with every length checked before it is read.
#include "platform/bitmap.h"

#include <climits>
#include <cstdlib>
#include <stdexcept>

namespace platform {

namespace {

uint32_t read32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t read16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

[[noreturn]] void refuse(const std::string& name, const std::string& why) {
    throw std::runtime_error("bitmap \"" + name + "\": " + why);
}

}  // namespace

std::unique_ptr<Surface> DecodeBitmap(const std::vector<uint8_t>& bytes, const std::string& name) {
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') refuse(name, "not a BMP file");
    const uint32_t offset = read32(bytes, 10);
    const uint32_t headerSize = read32(bytes, 14);
    if (headerSize < 40) refuse(name, "unsupported BMP header");
    const int32_t width = static_cast<int32_t>(read32(bytes, 18));
    const int32_t rawHeight = static_cast<int32_t>(read32(bytes, 22));
    if (read16(bytes, 26) != 1 || read16(bytes, 28) != 24) refuse(name, "not a 24-bit picture");
    if (read32(bytes, 30) != 0) refuse(name, "compressed pictures are not supported");
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN || width > 16384 || std::abs(rawHeight) > 16384)
        refuse(name, "impossible size");
    const bool bottomUp = rawHeight > 0;
    const int32_t height = bottomUp ? rawHeight : -rawHeight;
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    // The last row needs only its pixels, not its padding.
    const size_t needed = static_cast<size_t>(offset) + rowBytes * (height - 1) + static_cast<size_t>(width) * 3;
    if (offset < 54 || needed > bytes.size()) refuse(name, "file is truncated");

    auto surface = std::make_unique<Surface>(width, height);
    for (int32_t y = 0; y < height; ++y) {
        const int32_t fileRow = bottomUp ? height - 1 - y : y;
        const uint8_t* p = bytes.data() + offset + rowBytes * fileRow;
        uint16_t* d = surface->row(y);
        for (int32_t x = 0; x < width; ++x, p += 3) d[x] = ToRgb565(p[2], p[1], p[0]);
    }
    return surface;
}

}  // namespace platform
