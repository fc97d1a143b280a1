// SPDX-License-Identifier: GPL-3.0-or-later
// The count-down after a game, over the freshly opened result page: the score runs down to 0
// while the result age climbs down from 80 years, and the face in the bottom bar ages less the
// more points there were. It sets Ergebnis.
#include <algorithm>
#include <cmath>

#include "app/vorlanix.h"
#include "gfx/frame_copies.h"
#include "score/age_digits.h"

namespace vorlanix {

namespace {

constexpr double kScale = 10343.196;  // age = 28800 - points^(1/16) x scale
constexpr int64_t kCountRate = 1632;  // after e ms, e x e \ 1632 points are counted
constexpr int32_t kStageBase = 7560;  // 21 years, the age of 99 999 points: stage 0
constexpr int32_t kStageWidth = 1770;
constexpr int32_t kLastStage = 7;

// The age in days that C points give; the sixteenth root as four square roots.
double ageFor(int32_t C) {
    const double root = std::sqrt(std::sqrt(std::sqrt(std::sqrt(static_cast<double>(C)))));
    return score::worst_age - root * kScale;
}

}  // namespace

void Vorlanix::EndeAnimation() {
    const int32_t A = Punktzahl / kScoreScale;
    const uint32_t s = platform_.GetTickCount();
    int32_t R = A;
    // The result and its rank are not known until the count-down is over, so the result page's
    // buttons wait for it (typed keys already go into the name).
    EndeAnimationLaeuft = True;
    while (R > 0) {
        BildVersatzX = 0;
        BildVersatzY = 0;
        const int64_t e = tickDiff(platform_.GetTickCount(), s);
        const int32_t C = static_cast<int32_t>(std::min<int64_t>(e * e / kCountRate, A));
        R = A - C;
        const int32_t age = std::min(nearest(ageFor(C)), score::worst_age);
        platform_.DoEvents();

        CopyUnclipped(SurfBack, 34, 30, SurfMenue, platform::Rect{0, 0, 572, 360}, false);
        ddBitBltAlles(166, 82, 320, 240, SurfMenueSeite, 0, 0);
        ddBitBltAlles(0, 0, 640, 32, SurfOben, 0, 0);
        ddBitBltAlles(0, 32, 98, 320, SurfLinks, 0, 0);
        ddBitBltAlles(542, 32, 98, 320, SurfRechts, 0, 0);
        ddBitBltAlles(0, 352, 640, 128, SurfUnten, 0, 0);
        ddBitBltAlles(258, 383, 126, 57, SurfLogo, 0, 0);

        // Beyond about 359 900 points the stage would go below 0; the face stays at its youngest.
        AlterStufe = std::clamp((age - kStageBase) / kStageWidth, 0, kLastStage);
        PaintAgeingStage();
        DrawResultDigits(age);
        UpdateTimeCounter();
        if (R != PunktzahlAnzeige) {
            PaintScoreCounter(R, 93);
            PunktzahlAnzeige = R;
        }
        Flip();
    }
    EndeAnimationLaeuft = False;
    Ergebnis = nearest(ageFor(A)) * kScoreScale;
    Punktzahl = 0;
}

}  // namespace vorlanix
