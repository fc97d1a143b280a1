// SPDX-License-Identifier: GPL-3.0-or-later
// The change of page: the old page squeezes shut towards its middle line, the new one opens from
// it. Timed by the clock, so each half takes 225 ms on any machine; no window events meanwhile.
#include <algorithm>

#include "app/vorlanix.h"
#include "gfx/frame_copies.h"

namespace vorlanix {

namespace {

constexpr int32_t kDuration = 200;  // ms until the page is fully closed or open
// Each half runs on 25 ms past that, so the last frame shows the page wholly closed or open.
constexpr int32_t kRunOn = 25;
constexpr int32_t kNone = 99;   // Alt: no page is shown (the end of a game)
constexpr int32_t kNoPage = 1;  // neu: no page opens (START)

}  // namespace

void Vorlanix::MenuAusblenden(int32_t Alt, int32_t neu) {
    if (Alt == neu) return;
    const platform::Rect page{0, 0, 320, 240};
    // The page as last drawn, live elements included.
    CopyUnclipped(SurfTemp2, 0, 0, SurfBack, platform::Rect{166, 82, 486, 322}, false);

    // Height of the open part of the page, from 240 at the start of a half down to 0.
    auto remaining = [this](uint32_t s) {
        const int32_t left = tickDiff(s, platform_.GetTickCount()) + kDuration;
        return std::clamp(nearest(static_cast<double>(left) * 240 / kDuration), 0, 240);
    };
    auto squeezed = [&](int32_t h, int32_t y) {
        CopyUnclipped(SurfBack, 34, 30, SurfMenue, platform::Rect{0, 0, 572, 360}, false);
        CopyScaled(SurfTemp, platform::Rect{0, 0, 320, h}, SurfTemp2, page);
        ddBitBlt(166, y, 320, h, SurfTemp, 0, 0);
        ZeichneMenueRand();
    };

    if (Alt != kNone) {
        const uint32_t s = platform_.GetTickCount();
        while (tickDiff(platform_.GetTickCount(), s) < kDuration + kRunOn) {
            const int32_t h = remaining(s);
            squeezed(h, nearest((240 - h) / 2.0 + 82));
        }
    }
    if (neu != kNoPage) {
        Init_AktMenue(neu);
        const uint32_t s = platform_.GetTickCount();
        while (tickDiff(platform_.GetTickCount(), s) < kDuration + kRunOn) {
            const int32_t g = remaining(s);
            squeezed(240 - g, nearest(g / 2.0 + 82));
        }
    }
}

}  // namespace vorlanix
