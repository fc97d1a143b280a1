// SPDX-License-Identifier: GPL-3.0-or-later
// The picture scaled into a window's own surface: both builds of the loops give exactly the pixels
// of a plain per-pixel reference (nearest pixel; the sharp picture literally enlarged by its whole
// factor, then filtered linearly; linear filtering with weights in 64ths), and nothing is written
// outside the picture's rectangle.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "platform/sdl/picture_scaler.h"
#include "platform/sdl/pixel_conversion.h"

namespace {

using platform::Scaling;

// The position of output pixel x's centre in a source of `len` pixels shown as `dstLen`: the
// source pixel left of it and the weight of the one right of it, in 64ths rounded half up,
// clamped at both edges.
std::pair<int64_t, int64_t> linearPosition(int64_t x, int64_t len, int64_t dstLen) {
    const int64_t num = (2 * x + 1) * len - dstLen, den = 2 * dstLen;
    if (num <= 0) return {0, 0};
    int64_t left = num / den, w = (num % den * 128 + den) / (2 * den);
    if (w == 64) ++left, w = 0;
    if (left >= len - 1) return {len - 1, 0};
    return {left, w};
}

uint32_t channel(uint32_t p, int c) { return p >> (8 * c) & 255; }

// Linear filtering of `pixel(x, y)`, a picture of w x h, at output (x, y) of dstW x dstH: across
// first (kept in 16 bits), then down with the rounding h0 + round((h1 - h0) * w / 64).
template <typename Pixel>
uint32_t linear(const Pixel& pixel, int64_t w, int64_t h, int64_t dstW, int64_t dstH, int64_t x, int64_t y) {
    const auto [x0, wx] = linearPosition(x, w, dstW);
    const auto [y0, wy] = linearPosition(y, h, dstH);
    const int64_t x1 = std::min(x0 + 1, w - 1), y1 = std::min(y0 + 1, h - 1);
    uint32_t out = 0;
    for (int c = 0; c < 4; ++c) {
        const int32_t top = channel(pixel(x0, y0), c) * (64 - wx) + channel(pixel(x1, y0), c) * wx;
        const int32_t bottom = channel(pixel(x0, y1), c) * (64 - wx) + channel(pixel(x1, y1), c) * wx;
        const int32_t v = top + (((bottom - top) * static_cast<int32_t>(wy << 9) + 16384) >> 15);
        out |= static_cast<uint32_t>((v + 32) >> 6) << (8 * c);
    }
    return out;
}

std::vector<uint32_t> reference(const platform::Surface& src, Scaling scaling, int w, int h) {
    const int sw = src.width(), sh = src.height();
    const auto at = [&](int64_t x, int64_t y) { return platform::Rgb565ToXrgb8888(src.row(y)[x]); };
    std::vector<uint32_t> out(static_cast<size_t>(w) * h);
    const int whole = w / sw;
    const int factor = std::max(1, static_cast<int>(std::lround(static_cast<double>(w) / sw)));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t& o = out[static_cast<size_t>(y) * w + x];
            if (scaling != Scaling::Smooth && whole >= 1 && w == whole * sw && h == whole * sh) {
                o = at(x / whole, y / whole);
            } else if (scaling == Scaling::Integer) {
                o = at(std::min<int64_t>((2 * x + 1) * int64_t{sw} / (2 * w), sw - 1),
                       std::min<int64_t>((2 * y + 1) * int64_t{sh} / (2 * h), sh - 1));
            } else if (scaling == Scaling::Sharp) {
                const auto enlarged = [&](int64_t ex, int64_t ey) { return at(ex / factor, ey / factor); };
                o = linear(enlarged, int64_t{sw} * factor, int64_t{sh} * factor, w, h, x, y);
            } else {
                o = linear(at, sw, sh, w, h, x, y);
            }
        }
    return out;
}

// Every colour channel at random, and a few hard edges of full intensity.
platform::Surface testPicture(int w, int h) {
    platform::Surface s(w, h);
    std::mt19937 rng(5);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.row(y)[x] = static_cast<uint16_t>(rng());
    for (int y = 0; y < h; y += 7) std::fill_n(s.row(y), w, (y / 7) % 2 ? 0xFFFF : 0);
    return s;
}

TEST(PictureScaler, BothBuildsMatchThePlainReferencePixelForPixel) {
    const struct {
        int srcW, srcH, w, h;
    } sizes[] = {
        {640, 480, 1440, 1080},  // a 1920 x 1080 screen: sharp enlarges twice, then fills
        {640, 480, 1024, 768},   // 1366 x 768: sharp enlarges twice, then shrinks
        {640, 480, 1920, 1440},  // 2560 x 1440: three times
        {640, 480, 1280, 960},   // a whole factor
        {640, 480, 640, 480},    // the picture's own size (integer on a 1366 x 768 screen)
        {640, 480, 333, 250},    // smaller than the picture, odd sizes (the loops' remainders)
        {37, 29, 101, 77},       // an odd picture: the remainders of widening a row
    };
    std::vector<platform::ScalerBuild> builds = {platform::ScalerBuild::Baseline};
    if (platform::Avx2ScalerAvailable()) builds.push_back(platform::ScalerBuild::Avx2);
    for (const auto& size : sizes)
        for (Scaling scaling : {Scaling::Integer, Scaling::Sharp, Scaling::Smooth}) {
            const platform::Surface picture = testPicture(size.srcW, size.srcH);
            const std::vector<uint32_t> expected = reference(picture, scaling, size.w, size.h);
            for (platform::ScalerBuild build : builds)
                for (bool aligned : {false, true}) {
                    SCOPED_TRACE(testing::Message() << size.w << "x" << size.h << " scaling " << int(scaling)
                                                    << " build " << int(build) << " aligned " << aligned);
                    // Rows wider than the picture: the bytes after it must stay as they were. A window's
                    // surface has its rows on 16-byte boundaries (large pictures are then streamed past the
                    // caches); a staging surface or a picture placed in a bar need not.
                    const size_t pitch = aligned ? (static_cast<size_t>(size.w) * 4 + 20 + 15) / 16 * 16
                                                 : static_cast<size_t>(size.w) * 4 + 20;
                    std::vector<uint8_t> buffer(pitch * size.h + 64, 0xAB);
                    uint8_t* out = buffer.data() + (32 - reinterpret_cast<uintptr_t>(buffer.data()) % 32) % 32 +
                                   (aligned ? 16 : 4);
                    platform::PictureScaler scaler(scaling, size.srcW, size.srcH, size.w, size.h);
                    // After another frame: the picture must not depend on what that one left behind.
                    platform::Surface other(size.srcW, size.srcH);
                    for (int y = 0; y < size.srcH; ++y)
                        for (int x = 0; x < size.srcW; ++x) other.row(y)[x] = static_cast<uint16_t>(~picture.row(y)[x]);
                    scaler.Draw(other, out, pitch, build);
                    scaler.Draw(picture, out, pitch, build);
                    for (int y = 0; y < size.h; ++y) {
                        for (int x = 0; x < size.w; ++x) {
                            uint32_t got;
                            std::memcpy(&got, &out[y * pitch + x * 4], 4);
                            ASSERT_EQ(got, expected[static_cast<size_t>(y) * size.w + x]) << "at " << x << "," << y;
                        }
                        for (size_t i = static_cast<size_t>(size.w) * 4; i < pitch; ++i)
                            ASSERT_EQ(out[y * pitch + i], 0xAB);
                    }
                }
        }
}

}  // namespace
