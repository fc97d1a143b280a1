// SPDX-License-Identifier: GPL-3.0-or-later
// The cockpit around the play window and its instruments: ammunition bar, radar marks and sweep
// line, the ageing portrait and the two counters. The portrait and the counters are painted into
// the bottom panel's own surface, and only when their value changed; the menu frame and the
// count-down paint the same counters.
#include <algorithm>
#include <cstdlib>

#include "app/vorlanix.h"
#include "gfx/frame_copies.h"

namespace vorlanix {

void Vorlanix::ZeichneCockpit() {
    ddBitBltAllesOCK(0, 0, 640, 32, SurfOben, 0, 0);
    // The side pieces and the panel are keyed: their inner outline shapes the view.
    ddBitBltAlles(0, 32, 98, 320, SurfLinks, 0, 0);
    ddBitBltAlles(542, 32, 98, 320, SurfRechts, 0, 0);
    ddBitBltAlles(0, 352, 640, 128, SurfUnten, 0, 0);
    DrawAmmunitionBar();
    DrawRadarMarks();
    DrawRadarSweep();
    UpdateAgeingPicture();
    UpdateTimeCounter();
    UpdateScoreCounter();
}

void Vorlanix::DrawAmmunitionBar() {
    // 16 is a full load; anything above it (the rules can set 16000000) leaves the bar full.
    if (Munition >= 16) return;
    // Each segment stands for two shots: from segment a on half spent, from segment b on spent.
    const int32_t a = Munition / 2;
    ddBitBltAlles(216 + 26 * a, 0, (8 - a) * 26, 32, SurfObenRot, 26 * a, 32);
    const int32_t b = (Munition + 1) / 2;
    ddBitBltAlles(216 + 26 * b, 0, (8 - b) * 26, 32, SurfObenRot, 26 * b, 0);
}

void Vorlanix::DrawRadarMarks() {
    const auto mark = [&](int32_t U, int32_t V, int32_t cell) {
        const int64_t dx = U / 8, dy = V / 8;
        if (dx * dx + dy * dy >= 4761) return;  // outside a radius of 69
        // The radar is squeezed vertically.
        const int64_t dyScreen = dy * 78 / 128;
        CopyUnclipped(SurfBack, static_cast<int32_t>(317 + dx + BildVersatzX),
                      static_cast<int32_t>(406 + dyScreen + BildVersatzY), SurfRadar,
                      platform::Rect{6 * cell, 0, 6 * cell + 6, 6}, true);
    };
    for (int32_t p = 1; p <= 5; ++p)
        if (BurgTot[p] == 0) mark(PlanetSchirmX[p] - 320, PlanetSchirmY[p] - 220, 4);
    // All three Irones of the first satellite take its middle, so their marks coincide.
    for (int32_t n = 1; n <= 3; ++n)
        if (SatelitIroneTot[n] == 0) mark(nearest(SatelitX + 60 - 320), nearest(SatelitY + 50 - 220), 4);
    if (Satelit2IroneTot[1] == 0) mark(nearest(Satelit2X + 50 - 320), nearest(Satelit2Y + 60 - 220), 4);
    const struct {
        int32_t first, last, u, v, cell;
    } groups[] = {{1, 15, 245, 187, 1}, {16, 27, 270, 198, 2}, {31, 38, 295, 209, 3}};
    for (const auto& g : groups)
        for (int32_t n = g.first; n <= g.last; ++n)
            if (ObjTot[n] == 0) mark(ObjX[n] - g.u, ObjY[n] - g.v, g.cell);
    // The tanks change their mark once they have changed state.
    const int32_t tankCell = ObjBild[46] != 0 ? 5 : 0;
    for (int32_t n = 46; n <= 54; ++n)
        if (ObjTot[n] == 0) mark(ObjX[n] - 307, ObjY[n] - 187, tankCell);
}

void Vorlanix::DrawRadarSweep() {
    constexpr uint32_t kColour = 4708754;
    const int32_t cx = 320 + BildVersatzX, cy = 411 + BildVersatzY;
    // One turn every 6144 ms of game time; the table index stays inside the table even for a
    // game time below 0.
    const int32_t a = ((Spielzeit / 6) % 1024 + 1024) % 1024;
    const int32_t ex = cx + SinTab1024[a] * -70 / 1024, ey = cy + CosTab1024[a] * 43 / 1024;
    const auto fill = [&](int32_t left, int32_t top, int32_t right, int32_t bottom) {
        FillRect(SurfBack, platform::Rect{left, top, right, bottom}, kColour);
    };
    // One fill per step along the shorter axis, each a one-pixel-thick span along the longer.
    if (std::abs(cy - ey) < std::abs(cx - ex)) {
        int32_t x0 = cx, y0 = cy, x1 = ex, y1 = ey;
        if (y1 < y0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        const int32_t h = y1 - y0;
        if (h == 0) {
            fill(std::min(x0, x1), y0, std::max(x0, x1), y0 + 1);
            return;
        }
        const int32_t m = nearest((x1 - x0) * 1024.0 / h);
        for (int32_t k = 0; k < h; ++k) {
            if (m > 0)
                fill(x0 + k * m / 1024, y0 + k, x0 + (k + 1) * m / 1024 + 1, y0 + k + 1);
            else
                fill(x0 + (k + 1) * m / 1024, y0 + k, x0 + k * m / 1024 + 1, y0 + k + 1);
        }
    } else {
        int32_t x0 = cx, y0 = cy, x1 = ex, y1 = ey;
        if (x1 < x0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        const int32_t w = x1 - x0;
        if (w == 0) {
            fill(x0, std::min(y0, y1), x0 + 1, std::max(y0, y1));
            return;
        }
        const int32_t m = nearest((y1 - y0) * 1024.0 / w);
        for (int32_t k = 0; k < w; ++k) {
            if (m > 0)
                fill(x0 + k, y0 + k * m / 1024, x0 + k + 1, y0 + (k + 1) * m / 1024 + 1);
            else
                fill(x0 + k, y0 + (k + 1) * m / 1024, x0 + k + 1, y0 + k * m / 1024 + 1);
        }
    }
}

void Vorlanix::UpdateAgeingPicture() {
    AlterStufe = (nearest(static_cast<double>(Zeitversatz) + Spielzeit) / 1000) / 12;
    PaintAgeingStage();
}

void Vorlanix::PaintAgeingStage() {
    if (AlterStufe == AlterStufeAnzeige) return;
    // The sheet holds stages 0 to 7: stage 8 of the last seconds is refused and the portrait
    // keeps stage 7.
    const int32_t s = AlterStufe;
    CopyUnclipped(SurfUnten, 57, 13, SurfAltern, platform::Rect{0, 85 * s, 103, 85 * s + 85}, false);
    AlterStufeAnzeige = AlterStufe;
}

void Vorlanix::UpdateTimeCounter() {
    RestSekunden = 100 - nearest(static_cast<double>(Zeitversatz) + Spielzeit) / 1000;
    const int32_t n = RestSekunden;
    if (n == RestSekundenAnzeige) return;
    // In a game's last frame n is -1, and the menu keeps it so, since Spielzeit keeps its last value:
    // the units digit -1 has no picture, so that place keeps its 0.
    const int32_t h = n / 100, t = ((n - 100 * h) / 10) % 10, u = n % 10;
    CopyUnclipped(SurfUnten, 504, 27, SurfScore, platform::Rect{21, 55 * h + 4, 41, 55 * h + 24}, false);
    CopyUnclipped(SurfUnten, 522, 27, SurfScore, platform::Rect{39, 55 * t + 4, 59, 55 * t + 24}, false);
    CopyUnclipped(SurfUnten, 540, 27, SurfScore, platform::Rect{57, 55 * u + 4, 77, 55 * u + 24}, false);
    RestSekundenAnzeige = n;
}

void Vorlanix::UpdateScoreCounter() {
    if (Punktzahl < 0) Punktzahl = 0;
    if (Punktzahl == PunktzahlAnzeige) return;
    PaintScoreCounter(Punktzahl / kScoreScale, 93);
    PunktzahlAnzeige = Punktzahl;
}

void Vorlanix::PaintScoreCounter(int32_t points, int32_t lastRight) {
    // Five places: a score of 100000 points shows as 00000. The places sit on the counter's drum
    // at slightly different heights.
    const struct {
        int32_t divisor, sourceX, sourceTop, targetX, targetY;
    } places[] = {{10000, 2, 28, 485, 51},
                  {1000, 19, 28, 502, 51},
                  {100, 37, 28, 520, 51},
                  {10, 55, 31, 538, 54},
                  {1, 73, 35, 556, 58}};
    for (const auto& p : places) {
        const int32_t d = (points / p.divisor) % 10;
        const int32_t right = p.divisor == 1 ? lastRight : p.sourceX + 20;
        CopyUnclipped(SurfUnten, p.targetX, p.targetY, SurfScore,
                      platform::Rect{p.sourceX, 55 * d + p.sourceTop, right, 55 * d + p.sourceTop + 20}, true);
    }
}

}  // namespace vorlanix
