// SPDX-License-Identifier: GPL-3.0-or-later
// Where the picture sits in the window, how the kept pointer follows the window and relative
// motion, and the RGB565 to XRGB8888 conversion that every presented frame goes through.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/sdl/picture_layout.h"
#include "platform/sdl/pixel_conversion.h"

using platform::FitPicture;
using platform::PictureCursor;
using platform::PictureRect;

TEST(SdlPicture, FitsTheLargestWholeFactorCentred) {
    const struct {
        int outW, outH;
        PictureRect want;
    } cases[] = {
        {640, 480, {0, 0, 640, 480}},
        {1280, 960, {0, 0, 1280, 960}},
        {1920, 1080, {320, 60, 1280, 960}},  // 1080 lines hold only twice 480
        {2560, 1440, {320, 0, 1920, 1440}},
        {1024, 768, {192, 144, 640, 480}},
        {1279, 959, {319, 239, 640, 480}},
        {3840, 2160, {640, 120, 2560, 1920}},  // 4K holds 4.5 times the height: the picture takes 4
        // Smaller than the picture: the largest size of its shape.
        {320, 480, {0, 120, 320, 240}},
        {640, 240, {160, 0, 320, 240}},
    };
    for (const auto& c : cases) {
        const PictureRect r = FitPicture(c.outW, c.outH);
        EXPECT_EQ(r.x, c.want.x) << c.outW << "x" << c.outH;
        EXPECT_EQ(r.y, c.want.y) << c.outW << "x" << c.outH;
        EXPECT_EQ(r.w, c.want.w) << c.outW << "x" << c.outH;
        EXPECT_EQ(r.h, c.want.h) << c.outW << "x" << c.outH;
    }
}

TEST(SdlPicture, SharpAndSmoothFillTheLargest4To3RectangleAndSharpEnlargesByTheNearestWholeFactor) {
    const struct {
        int outW, outH;
        PictureRect want;
        int sharpFactor;
    } cases[] = {
        {1366, 768, {171, 0, 1024, 768}, 2},    // 1.6 times: enlarged twice, then down to fill
        {1600, 900, {200, 0, 1200, 900}, 2},    // 1.875
        {1920, 1080, {240, 0, 1440, 1080}, 2},  // 2.25
        {1280, 1024, {0, 32, 1280, 960}, 2},    // a whole factor: nothing left to filter
        {2560, 1600, {213, 0, 2133, 1600}, 3},  // 3.33
        {800, 600, {0, 0, 800, 600}, 1},        // 1.25: not enlarged, only filtered
        {320, 480, {0, 120, 320, 240}, 1},      // smaller than the picture
    };
    for (const auto& c : cases)
        for (auto scaling : {platform::Scaling::Sharp, platform::Scaling::Smooth}) {
            const PictureRect r = FitPicture(c.outW, c.outH, scaling);
            EXPECT_EQ(r.x, c.want.x) << c.outW << "x" << c.outH;
            EXPECT_EQ(r.y, c.want.y) << c.outW << "x" << c.outH;
            EXPECT_EQ(r.w, c.want.w) << c.outW << "x" << c.outH;
            EXPECT_EQ(r.h, c.want.h) << c.outW << "x" << c.outH;
            EXPECT_EQ(platform::SharpFactor(r), c.sharpFactor) << c.outW << "x" << c.outH;
        }
    EXPECT_EQ(platform::ScalingFromName("sharp"), platform::Scaling::Sharp);
    EXPECT_EQ(platform::ScalingFromName("integer"), platform::Scaling::Integer);
    EXPECT_EQ(platform::ScalingFromName("smooth"), platform::Scaling::Smooth);
    EXPECT_FALSE(platform::ScalingFromName("Sharp"));
}

TEST(SdlPicture, PointerFollowsTheWindowThroughTheLetterbox) {
    const PictureRect box{320, 60, 1280, 960};
    const struct {
        double wx, wy;
        int32_t x, y;
    } cases[] = {{320, 60, 0, 0}, {321.9, 61.9, 0, 0},    {322, 62, 1, 1},     {320 + 1279, 60 + 959, 639, 479},
                 {10, 10, 0, 0},  {1919, 1079, 639, 479}, {960, 540, 320, 240}};
    for (const auto& c : cases) {
        PictureCursor p;
        p.FollowWindow(c.wx, c.wy, box);
        EXPECT_EQ(p.x(), c.x) << c.wx << "," << c.wy;
        EXPECT_EQ(p.y(), c.y) << c.wx << "," << c.wy;
    }
}

TEST(SdlPicture, RelativeMotionKeepsFractionsAndStopsAtTheEdges) {
    const PictureRect scale3{0, 0, 1920, 1440};
    PictureCursor p;
    p.Set(100, 100);
    // One output pixel at a time still moves the pointer one picture pixel per three.
    for (int i = 0; i < 7; ++i) p.MoveBy(1, -1, scale3);
    EXPECT_EQ(p.x(), 102);
    EXPECT_EQ(p.y(), 98);

    p.MoveBy(-100000, 100000, scale3);
    EXPECT_EQ(p.x(), 0);
    EXPECT_EQ(p.y(), 479);
    // Leaving the edge starts at once, with no motion owed from beyond it.
    p.MoveBy(3, -3, scale3);
    EXPECT_EQ(p.x(), 1);
    EXPECT_EQ(p.y(), 478);

    p.Set(700, -5);
    EXPECT_EQ(p.x(), 639);
    EXPECT_EQ(p.y(), 0);
}

TEST(SdlPicture, BothBuildsOfTheConversionWriteTheSamePixels) {
    // Every colour once, in a surface whose width leaves a remainder after the vector blocks.
    platform::Surface all(257, 256);
    for (int i = 0; i < 257 * 256; ++i) all.data()[i] = static_cast<uint16_t>(i);
    std::vector<uint32_t> baseline(257 * 256), avx2(257 * 256);
    platform::ConvertToXrgb8888Baseline(all, reinterpret_cast<uint8_t*>(baseline.data()), 257 * 4);
    for (int i = 0; i < 65536; ++i) ASSERT_EQ(baseline[i], platform::Rgb565ToXrgb8888(static_cast<uint16_t>(i)));
    if (!platform::Avx2ConversionAvailable()) GTEST_SKIP() << "this processor has no AVX2";
    platform::ConvertToXrgb8888Avx2(all, reinterpret_cast<uint8_t*>(avx2.data()), 257 * 4);
    EXPECT_EQ(avx2, baseline);
}

TEST(SdlPicture, ConversionWidensEveryColourToFullRange) {
    EXPECT_EQ(platform::Rgb565ToXrgb8888(0x0000) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(platform::Rgb565ToXrgb8888(0xFFFF) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(platform::Rgb565ToXrgb8888(0xF800) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(platform::Rgb565ToXrgb8888(0x07E0) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(platform::Rgb565ToXrgb8888(0x001F) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(platform::Rgb565ToXrgb8888(platform::ToRgb565(132, 130, 132)) & 0xFFFFFF, 0x848284u);
    // Every value keeps its channels in order: a brighter RGB565 channel never comes out darker.
    for (uint32_t p = 0; p < 0xFFFF; ++p) {
        const uint32_t a = platform::Rgb565ToXrgb8888(static_cast<uint16_t>(p));
        const uint32_t r = a >> 16 & 0xFF, g = a >> 8 & 0xFF, b = a & 0xFF;
        EXPECT_EQ(r >> 3, p >> 11);
        EXPECT_EQ(g >> 2, (p >> 5) & 63);
        EXPECT_EQ(b >> 3, p & 31);
        if (::testing::Test::HasFailure()) break;
    }
}

TEST(SdlPicture, ConversionFillsEveryPixelOfEveryRowAndNothingBeyond) {
    // An odd width exercises the pixels after the last whole block; a wide pitch the row stride.
    for (int32_t width : {640, 37}) {
        platform::Surface s(width, 3);
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < width; ++x) s.row(y)[x] = static_cast<uint16_t>(x * 97 + y * 31000);
        const size_t pitch = static_cast<size_t>(width) * 4 + 12;
        std::vector<uint8_t> out(pitch * 3, 0xAB);
        platform::ConvertToXrgb8888(s, out.data(), pitch);
        for (int32_t y = 0; y < 3; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                uint32_t got;
                std::memcpy(&got, out.data() + y * pitch + x * 4, 4);
                ASSERT_EQ(got, platform::Rgb565ToXrgb8888(s.row(y)[x])) << width << ": " << x << "," << y;
            }
            for (size_t i = static_cast<size_t>(width) * 4; i < pitch; ++i) ASSERT_EQ(out[y * pitch + i], 0xAB);
        }
    }
}
