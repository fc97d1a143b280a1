// SPDX-License-Identifier: GPL-3.0-or-later
// The scaled copy picks, for target column i and row j, source column i x sw / dw and row
// j x sh / dh, truncated: the moons and stations are shrunk exactly so, whatever the sizes.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/surface.h"

namespace {

using platform::Rect;
using platform::Surface;

TEST(SurfaceScaling, EveryTargetPixelComesFromTheTruncatedSourceIndex) {
    Surface src(700, 500);
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 700; ++x) src.row(y)[x] = static_cast<uint16_t>(x * 131 + y * 7919);
    const struct {
        Rect from, to;
    } cases[] = {
        {{0, 100, 50, 150}, {0, 0, 40, 40}},    // a moon at its smallest
        {{0, 100, 50, 150}, {0, 0, 47, 47}},    // and between
        {{0, 200, 50, 250}, {0, 0, 50, 50}},    // unscaled
        {{3, 5, 53, 55}, {10, 20, 23, 120}},    // offsets on both sides, squeezed and stretched
        {{0, 0, 1, 1}, {0, 0, 640, 480}},       // one pixel over everything
        {{0, 0, 640, 480}, {5, 5, 6, 6}},       // everything into one pixel
        {{17, 0, 700, 3}, {0, 100, 639, 101}},  // a long row: ratio just above one
        {{0, 0, 7, 500}, {600, 0, 640, 333}},   // a tall column, stretched across
    };
    for (const auto& c : cases) {
        Surface dst(640, 480);
        ASSERT_TRUE(dst.Blt(c.to, src, c.from));
        const int64_t sw = c.from.right - c.from.left, sh = c.from.bottom - c.from.top;
        const int64_t dw = c.to.right - c.to.left, dh = c.to.bottom - c.to.top;
        int wrong = 0;
        for (int64_t j = 0; j < dh; ++j)
            for (int64_t i = 0; i < dw; ++i) {
                const int64_t sy = c.from.top + j * sh / dh, sx = c.from.left + i * sw / dw;
                const uint16_t want = src.row(static_cast<int32_t>(sy))[sx];
                if (dst.row(static_cast<int32_t>(c.to.top + j))[c.to.left + i] != want) ++wrong;
            }
        EXPECT_EQ(wrong, 0) << sw << " x " << sh << " -> " << dw << " x " << dh;
        // Nothing outside the target rectangle is touched.
        EXPECT_TRUE(c.to.left == 0 || dst.row(c.to.top)[c.to.left - 1] == 0);
        EXPECT_TRUE(c.to.bottom == 480 || dst.row(c.to.bottom)[c.to.left] == 0);
    }
}

}  // namespace
