// SPDX-License-Identifier: GPL-3.0-or-later
// The starfield: which stars fall inside the play window, the three layers' colours and order,
// and their parallax.
#include "tests/gfx/frame_fixture.h"

namespace frame_test {
namespace {

class StarsTest : public FrameTest {
  protected:
    // Puts the star of the layer with index base `base` at (x, y) of an unscrolled view: the
    // cell columns start at -16 + 60 i, the rows at -16 + 60 j, and the first visible cell is (4, 20).
    void PlaceStar(int base, int x, int y) {
        const int i = (x + 16) / 60, j = (y + 16) / 60;
        const int k = base + 32 * ((4 + i) % 32) + (20 + j) % 24;
        game.SternX[k] = static_cast<uint8_t>(x + 16 - 60 * i);
        game.SternY[k] = static_cast<uint8_t>(y + 16 - 60 * j);
    }
};

TEST_F(StarsTest, OnlyStarsOnePixelInsideThePlayWindowAreDrawn) {
    const struct {
        int x, y;
        bool drawn;
    } cases[] = {
        {34, 180, false}, {35, 180, true},    // left edge
        {184, 30, false}, {184, 31, true},    // top edge
        {605, 180, true}, {606, 180, false},  // right edge
        {184, 389, true}, {184, 390, false},  // bottom edge
    };
    for (const auto& c : cases) {
        for (auto& v : game.SternX) v = 0;
        for (auto& v : game.SternY) v = 0;
        PlaceStar(200, c.x, c.y);
        game.Zeichne();
        EXPECT_EQ(At(c.x, c.y), c.drawn ? 0xFFFF : 0) << c.x << ", " << c.y;
    }
}

TEST_F(StarsTest, TheColouredLayersComeWithTheNebulaeAndTheWhiteOneIsDrawnLast) {
    PlaceStar(0, 100, 130);
    PlaceStar(100, 160, 130);
    PlaceStar(200, 220, 130);
    PlaceStar(0, 280, 250);  // all three layers on one pixel
    PlaceStar(100, 280, 250);
    PlaceStar(200, 280, 250);
    PlaceStar(0, 340, 250);  // the two coloured layers on one pixel
    PlaceStar(100, 340, 250);
    game.NebelAn = True;
    game.Zeichne();
    EXPECT_EQ(At(100, 130), 0x9696);  // the low half of each raw colour value
    EXPECT_EQ(At(160, 130), 0xC8FF);
    EXPECT_EQ(At(220, 130), 0xFFFF);
    EXPECT_EQ(At(280, 250), 0xFFFF);
    EXPECT_EQ(At(340, 250), 0xC8FF);

    game.NebelAn = False;
    game.Zeichne();
    EXPECT_EQ(At(100, 130), 0);
    EXPECT_EQ(At(160, 130), 0);
    EXPECT_EQ(At(220, 130), 0xFFFF);
}

TEST_F(StarsTest, EachLayerScrollsAtItsOwnSpeedAndMovesWithThePicture) {
    PlaceStar(0, 300, 140);
    PlaceStar(100, 300, 200);
    PlaceStar(200, 300, 260);
    game.NebelAn = True;
    game.ScrollX1024 = 881 * 20;  // the layers move 17, 18 and 20 pixels
    game.SchussTimer = 1;         // and the recoil lowers the picture by 4
    game.Zeichne();
    EXPECT_EQ(At(283, 144), 0x9696);
    EXPECT_EQ(At(282, 204), 0xC8FF);
    EXPECT_EQ(At(280, 264), 0xFFFF);
}

}  // namespace
}  // namespace frame_test
