// SPDX-License-Identifier: GPL-3.0-or-later
// RGB565 to XRGB8888 in blocks the compiler vectorises, built once for the baseline processor
// (SSE2 on x86-64) and once for AVX2, which is chosen when the processor has it.
#include "platform/sdl/pixel_conversion.h"

namespace platform {

namespace {

// Blocks of a fixed width are what GCC vectorises; plain arithmetic on them beats a table lookup.
inline __attribute__((always_inline)) void convertRows(const Surface& src, uint8_t* dst, size_t pitch) {
    const int32_t w = src.width();
    for (int32_t y = 0; y < src.height(); ++y) {
        const uint16_t* __restrict in = src.row(y);
        uint32_t* __restrict out = reinterpret_cast<uint32_t*>(dst + static_cast<size_t>(y) * pitch);
        constexpr int32_t kBlock = 16;
        int32_t x = 0;
        for (; x + kBlock <= w; x += kBlock)
            for (int32_t i = 0; i < kBlock; ++i) out[x + i] = Rgb565ToXrgb8888(in[x + i]);
        for (; x < w; ++x) out[x] = Rgb565ToXrgb8888(in[x]);
    }
}

using Converter = void (*)(const Surface&, uint8_t*, size_t);

Converter chooseConverter() { return Avx2ConversionAvailable() ? ConvertToXrgb8888Avx2 : ConvertToXrgb8888Baseline; }

}  // namespace

void ConvertToXrgb8888Baseline(const Surface& src, uint8_t* dst, size_t pitch) { convertRows(src, dst, pitch); }

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx2"))) void ConvertToXrgb8888Avx2(const Surface& src, uint8_t* dst, size_t pitch) {
    convertRows(src, dst, pitch);
}

bool Avx2ConversionAvailable() { return __builtin_cpu_supports("avx2"); }
#else
void ConvertToXrgb8888Avx2(const Surface& src, uint8_t* dst, size_t pitch) { convertRows(src, dst, pitch); }

bool Avx2ConversionAvailable() { return false; }
#endif

void ConvertToXrgb8888(const Surface& src, uint8_t* dst, size_t pitch) {
    static const Converter convert = chooseConverter();
    convert(src, dst, pitch);
}

}  // namespace platform
