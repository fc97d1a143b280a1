// SPDX-License-Identifier: GPL-3.0-or-later
// Reading pictures: 24-bit BMPs become RGB565 surfaces with white at 0xFFFF and black at 0;
// anything malformed is refused with a message naming the picture, never read out of bounds.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/bitmap.h"
#include "platform/headless/headless_platform.h"
#include "platform/resources.h"
#include "tests/support/temp_dir.h"

namespace {

// A bottom-up 24-bit BMP of w x h whose top-left pixel is white, the rest a dark blue.
std::vector<uint8_t> makeBmp(int w, int h) {
    const int row = (w * 3 + 3) & ~3;
    std::vector<uint8_t> b(54 + row * h, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<uint32_t>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    b[26] = 1;
    b[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &b[54 + (h - 1 - y) * row + 3 * x];
            const bool white = x == 0 && y == 0;
            p[0] = white ? 255 : 80;  // blue
            p[1] = white ? 255 : 10;
            p[2] = white ? 255 : 20;
        }
    return b;
}

}  // namespace

TEST(Bitmap, DecodesTopDownColoursIntoRgb565) {
    auto s = platform::DecodeBitmap(makeBmp(5, 3), "x.bmp");
    ASSERT_EQ(s->width(), 5);
    ASSERT_EQ(s->height(), 3);
    EXPECT_EQ(s->row(0)[0], 0xFFFF);
    EXPECT_EQ(s->row(2)[4], platform::ToRgb565(20, 10, 80));
}

TEST(Bitmap, RefusesMalformedFilesNamingThem) {
    auto truncated = makeBmp(5, 3);
    truncated.resize(truncated.size() - 4);
    auto paletted = makeBmp(5, 3);
    paletted[28] = 8;
    auto compressed = makeBmp(5, 3);
    compressed[30] = 1;
    auto huge = makeBmp(5, 3);
    huge[21] = 0x7F;  // width far beyond any picture
    for (const auto& bytes : {truncated, paletted, compressed, huge, std::vector<uint8_t>{'B', 'M'}}) {
        try {
            platform::DecodeBitmap(bytes, "Irone1.bmp");
            ADD_FAILURE() << "accepted a malformed picture";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("Irone1.bmp"), std::string::npos) << e.what();
        }
    }
}

TEST(Bitmap, AnArtDirectoryReplacesTheBuiltInPicturesMatchingNamesWithoutCase) {
    TempDir dir;
    const auto bytes = makeBmp(7, 2);
    std::ofstream(dir.path() / "IRONE1.BMP", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    platform::HeadlessPlatform p;
    p.SetAssetDirectory(dir.path());
    EXPECT_EQ(p.CreateSurfaceFromResource("Irone1.bmp")->width(), 7);
    EXPECT_THROW(p.CreateSurfaceFromResource("Irone2.bmp"), std::runtime_error);
}

TEST(Bitmap, AnArtPackFileLargerThanAnyPictureIsRefusedNamingIt) {
    TempDir dir;
    const auto path = dir.path() / "irone1.bmp";
    platform::HeadlessPlatform p;
    p.SetAssetDirectory(dir.path());
    const uint64_t limit = platform::LargestPictureFile();
    // A picture padded to exactly the bound still loads; one byte more, or a sparse gigabyte, is refused.
    for (const uint64_t size : {limit, limit + 1, uint64_t{1} << 30}) {
        SCOPED_TRACE(size);
        write_bytes(path, makeBmp(7, 2));
        std::filesystem::resize_file(path, size);
        if (size <= limit) {
            EXPECT_EQ(p.CreateSurfaceFromResource("Irone1.bmp")->width(), 7);
            continue;
        }
        try {
            p.CreateSurfaceFromResource("Irone1.bmp");
            ADD_FAILURE() << "a file of " << size << " bytes was read";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
        }
    }
}
