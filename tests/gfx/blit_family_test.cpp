// SPDX-License-Identifier: GPL-3.0-or-later
// The clipped blit family: windows, offsets, keying and refusal, on real surfaces.
#include <gtest/gtest.h>

#include "app/vorlanix.h"
#include "platform/headless/headless_platform.h"

using platform::Rect;
using platform::Surface;
using vorlanix::Surf;

namespace {

class BlitFamily : public ::testing::Test {
  protected:
    BlitFamily() : game(headless) {
        game.SurfBack = std::make_unique<Surface>(640, 480);
        game.SurfTemp = std::make_unique<Surface>(320, 400);
        game.SurfTempTxt = std::make_unique<Surface>(640, 20);
        // A 40 x 30 sprite whose pixel value tells its source column, plus a black (key) hole.
        sprite = std::make_unique<Surface>(40, 30);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) sprite->row(y)[x] = static_cast<uint16_t>(1000 + x + 100 * y);
        sprite->row(5)[5] = 0;
        sprite->SetColorKey(0);
        game.SurfBack->BltColorFill(Rect{0, 0, 640, 480}, 7);
    }
    // Columns of row y on the back buffer that the sprite wrote.
    std::pair<int, int> drawnColumns(const Surface& s, int y) {
        int first = -1, last = -1;
        for (int x = 0; x < s.width(); ++x)
            if (s.row(y)[x] != 7 && s.row(y)[x] != 0) {
                if (first < 0) first = x;
                last = x;
            }
        return {first, last};
    }

    platform::HeadlessPlatform headless;
    vorlanix::Vorlanix game;
    Surf sprite;
};

}  // namespace

TEST_F(BlitFamily, LeftClipMovesTheSourceByWhatWasCut) {
    game.ddBitBlt(20, 100, 40, 30, sprite, 0, 0);
    auto [first, last] = drawnColumns(*game.SurfBack, 100);
    EXPECT_EQ(first, 34);
    EXPECT_EQ(last, 59);                                // width 26
    EXPECT_EQ(game.SurfBack->row(100)[34], 1000 + 14);  // source column qx + 14
    EXPECT_EQ(game.SurfBack->row(100)[59], 1000 + 39);
}

TEST_F(BlitFamily, PlayWindowEdges) {
    const struct {
        int x;
        int wantFirst, wantLast;
    } cases[] = {
        {606, -1, -1},    // left edge at the right bound: nothing
        {605, 605, 605},  // one column
        {-6, -1, -1},     // ends exactly at the left bound (sx + w = 34)
    };
    for (const auto& c : cases) {
        game.SurfBack->BltColorFill(Rect{0, 0, 640, 480}, 7);
        game.ddBitBlt(c.x, 100, 40, 30, sprite, 0, 0);
        auto [first, last] = drawnColumns(*game.SurfBack, 100);
        EXPECT_EQ(first, c.wantFirst) << "x = " << c.x;
        EXPECT_EQ(last, c.wantLast) << "x = " << c.x;
    }
}

TEST_F(BlitFamily, OffsetsApplyToTheBackBufferOnly) {
    Surf full = std::make_unique<Surface>(640, 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) full->row(y)[x] = static_cast<uint16_t>(1 + x + 640 * y % 60000);
    game.BildVersatzX = 3;
    game.BildVersatzY = -2;
    game.ddBitBltAlles(0, 0, 640, 480, full, 0, 0);
    // Source (0, 2) lands at (3, 0); column 637 is the last one copied, the screen's last three keep the fill.
    EXPECT_EQ(game.SurfBack->row(0)[3], full->row(2)[0]);
    EXPECT_EQ(game.SurfBack->row(477)[639], full->row(479)[636]);
    EXPECT_EQ(game.SurfBack->row(478)[100], 7);
    EXPECT_EQ(game.SurfBack->row(100)[2], 7);

    game.ddBitBltTemp(0, 0, 40, 30, sprite, 0, 0);
    EXPECT_EQ(game.SurfTemp->row(0)[0], 1000);  // scratch members ignore the offsets
}

TEST_F(BlitFamily, KeyedAndOpaqueCopies) {
    game.ddBitBlt(100, 100, 40, 30, sprite, 0, 0);
    EXPECT_EQ(game.SurfBack->row(105)[105], 7);  // the black pixel is transparent
    game.ddBitBltOCK(100, 100, 40, 30, sprite, 0, 0);
    EXPECT_EQ(game.SurfBack->row(105)[105], 0);  // the opaque member writes it
}

TEST_F(BlitFamily, ScratchAndTextLineWindows) {
    game.ddBitBltTemp(0, 300, 40, 30, sprite, 0, 0);
    for (int y = 320; y < 400; ++y) EXPECT_EQ(game.SurfTemp->row(y)[0], 0) << y;  // rows 320..399 never reached
    EXPECT_NE(game.SurfTemp->row(319)[0], 0);

    game.ddBitBltTempTxt(0, 15, 40, 20, sprite, 0, 0);
    EXPECT_EQ(game.SurfTempTxt->row(15)[0], 1000);
    EXPECT_EQ(game.SurfTempTxt->row(19)[0], 1000 + 400);
    EXPECT_EQ(game.SurfTempTxt->row(14)[0], 0);
}

TEST_F(BlitFamily, CopiesFromOutsideThePictureOrFromNoPictureDrawNothing) {
    game.ddBitBlt(100, 100, 40, 30, sprite, 10, 0);  // source rectangle leaves the sprite: refused
    EXPECT_EQ(drawnColumns(*game.SurfBack, 100).first, -1);
    Surf none;
    game.ddBitBlt(100, 100, 40, 30, none, 0, 0);
    EXPECT_EQ(drawnColumns(*game.SurfBack, 100).first, -1);
}

TEST(Surface, RawOperationsRefuseWhatDoesNotFit) {
    Surface a(10, 10), b(4, 4);
    EXPECT_FALSE(a.BltFast(8, 0, b, Rect{0, 0, 4, 4}, false));  // target area leaves the surface
    EXPECT_FALSE(a.BltFast(0, 0, b, Rect{0, 0, 0, 4}, false));  // empty rectangle
    EXPECT_TRUE(a.BltColorFill(Rect{0, 0, 10, 10}, 0x12345));
    EXPECT_EQ(a.row(9)[9], 0x2345);  // raw values keep their low 16 bits
    EXPECT_FALSE(a.Lock(Rect{0, 0, 11, 10}));
    ASSERT_TRUE(a.Lock(Rect{0, 0, 10, 10}));
    EXPECT_FALSE(a.BltColorFill(Rect{0, 0, 1, 1}, 0));  // a locked surface takes no copies
    a.Unlock();
    a.refuseLocks = true;
    EXPECT_FALSE(a.Lock(Rect{0, 0, 1, 1}));
}
