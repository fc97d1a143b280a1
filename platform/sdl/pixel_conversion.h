// SPDX-License-Identifier: GPL-3.0-or-later
// RGB565 back buffer to the XRGB8888 texture the renderer scales. Done by our own loop because
// SDL's RGB565 texture path is several times slower on software renderers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/surface.h"

namespace platform {

// One colour widened so that full intensity stays full: 0xFFFF becomes 0xFFFFFF, 0 stays 0.
constexpr uint32_t Rgb565ToXrgb8888(uint16_t p) {
    const uint32_t r = p >> 11, g = (p >> 5) & 63, b = p & 31;
    return 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

// Writes the whole surface into rows of `pitch` bytes at dst, with the widest vector
// instructions the processor has.
void ConvertToXrgb8888(const Surface& src, uint8_t* dst, size_t pitch);

// The builds the choice is made from; the AVX2 one only where AvxConversionAvailable() says so.
void ConvertToXrgb8888Baseline(const Surface& src, uint8_t* dst, size_t pitch);
void ConvertToXrgb8888Avx2(const Surface& src, uint8_t* dst, size_t pitch);
bool Avx2ConversionAvailable();

}  // namespace platform
