// SPDX-License-Identifier: GPL-3.0-or-later
// A picture file as an art pack may hold it: decoded or refused, never read out of bounds.
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "platform/bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const auto surface = platform::DecodeBitmap(std::vector<uint8_t>(data, data + size), "fuzz.bmp");
        // Touch every pixel, so a surface smaller than it claims shows.
        uint32_t sum = 0;
        for (int y = 0; y < surface->height(); ++y)
            for (int x = 0; x < surface->width(); ++x) sum += surface->row(y)[x];
        static_cast<void>(sum);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
