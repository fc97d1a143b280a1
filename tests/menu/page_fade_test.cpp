// SPDX-License-Identifier: GPL-3.0-or-later
// The change of page, frame by frame: the old page squeezes shut towards its middle line and
// the new one opens from it, each half timed by the clock.
#include <gtest/gtest.h>

#include <vector>

#include "app/numbers.h"
#include "app/vorlanix.h"
#include "platform/headless/headless_platform.h"
#include "tests/support/plain_pictures.h"
#include "tests/support/temp_dir.h"

using platform::Rect;
using platform::Surface;

namespace {

constexpr uint16_t kPanel = 0x1234, kOldPage = 0x4321;

struct Band {
    uint32_t tick;
    int top, height;  // rows of the page area (column 200) that show a page, not the panel
};

// Records, at every flip, which rows of the page area show a page.
class RecordingPlatform : public platform::HeadlessPlatform {
  public:
    void Flip(const Surface& back) override {
        Band b{GetTickCount(), -1, 0};
        for (int y = 82; y < 322; ++y)
            if (back.row(y)[200] != kPanel) {
                if (b.top < 0) b.top = y;
                ++b.height;
            }
        bands.push_back(b);
        HeadlessPlatform::Flip(back);
    }
    std::vector<Band> bands;
};

class PageFade : public ::testing::Test {
  protected:
    PageFade() : game(recorder) {
        plain_pictures::Write(pictures.path());
        recorder.SetAssetDirectory(pictures.path());
        game.SurfBack = std::make_unique<Surface>(640, 480);
        game.SurfTemp = std::make_unique<Surface>(320, 400);
        game.SurfTemp2 = std::make_unique<Surface>(320, 400);
        game.SurfMenue = std::make_unique<Surface>(572, 360);
        game.SurfMenue->BltColorFill(Rect{0, 0, 572, 360}, kPanel);
        // The page as last drawn.
        game.SurfBack->BltColorFill(Rect{166, 82, 486, 322}, kOldPage);
    }

    TempDir pictures;
    RecordingPlatform recorder;
    vorlanix::Vorlanix game;
};

}  // namespace

TEST_F(PageFade, TheOldPageClosesAndTheNewOneOpens) {
    const uint32_t start = recorder.GetTickCount();
    game.MenuAusblenden(3, 8);
    const auto& bands = recorder.bands;
    ASSERT_FALSE(bands.empty());

    // Heights while closing go from 240 down to 0, then while opening from 0 up to 240; every
    // band is centred on the page's middle line.
    size_t k = 0;
    int previous = 241;
    for (; k < bands.size() && bands[k].tick - start < 225; ++k) {
        EXPECT_LE(bands[k].height, previous);
        previous = bands[k].height;
    }
    EXPECT_EQ(bands.front().height, 240);
    EXPECT_EQ(previous, 0);
    const uint32_t opened = bands[k].tick;
    for (previous = -1; k < bands.size(); ++k) {
        EXPECT_GE(bands[k].height, previous);
        previous = bands[k].height;
    }
    EXPECT_EQ(previous, 240);
    for (const Band& b : bands) {
        if (b.height == 0) continue;
        EXPECT_EQ(b.top, vorlanix::nearest((240 - b.height) / 2.0 + 82)) << b.height;
    }

    // Each half lasts 225 ms and ends with the first frame past it.
    EXPECT_GE(opened - start, 225u);
    EXPECT_LT(opened - start, 225u + 17);
    EXPECT_GE(bands.back().tick - opened, 225u - 16);
    EXPECT_EQ(game.SurfBack->row(200)[200], plain_pictures::DisplayValueOf("menue_ergebnis.bmp"));
}

TEST_F(PageFade, NoAnimationForThePageShownOrForNoPage) {
    game.MenuAusblenden(4, 4);
    EXPECT_TRUE(recorder.bands.empty());

    // START: the page closes and nothing opens.
    game.MenuAusblenden(4, 1);
    ASSERT_FALSE(recorder.bands.empty());
    EXPECT_EQ(recorder.bands.back().height, 0);
    EXPECT_LT(recorder.bands.back().tick, 225u + 17);

    // The end of a game: nothing to close, the result page opens.
    recorder.bands.clear();
    game.MenuAusblenden(99, 8);
    ASSERT_FALSE(recorder.bands.empty());
    EXPECT_EQ(recorder.bands.front().height, 0);
    EXPECT_EQ(recorder.bands.back().height, 240);
}
