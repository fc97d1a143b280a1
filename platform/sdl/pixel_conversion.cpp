// RGB565 to XRGB8888 in blocks the compiler vectorises.
#include "platform/sdl/pixel_conversion.h"

namespace platform {

void ConvertToXrgb8888(const Surface& src, uint8_t* dst, size_t pitch) {
    const int32_t w = src.width();
    for (int32_t y = 0; y < src.height(); ++y) {
        const uint16_t* __restrict in = src.row(y);
        uint32_t* __restrict out = reinterpret_cast<uint32_t*>(dst + static_cast<size_t>(y) * pitch);
        // Blocks of a fixed width are what GCC vectorises at -O2; plain arithmetic on them beats
        // a table lookup.
        constexpr int32_t kBlock = 16;
        int32_t x = 0;
        for (; x + kBlock <= w; x += kBlock)
            for (int32_t i = 0; i < kBlock; ++i) out[x + i] = Rgb565ToXrgb8888(in[x + i]);
        for (; x < w; ++x) out[x] = Rgb565ToXrgb8888(in[x]);
    }
}

}  // namespace platform
