// The two counters of the bottom bar while the menu or the count-down is shown: painted into the
// bar's own picture, and only when their value changed, so they show from the next frame on.
#include "app/vorlanix.h"
#include "menu/unclipped_copy.h"

namespace vorlanix {

namespace {

// The digit sheet has pictures for 0 to 9 only; any other digit leaves its place as it was.
bool onSheet(int32_t d) { return d >= 0 && d <= 9; }

}  // namespace

void Vorlanix::PaintYearsLeft() {
    // Once a game's time has run out this stays negative (usually -1) for as long as the menu is
    // shown, because Spielzeit keeps its last value.
    const int32_t V = 100 - nearest(static_cast<double>(Zeitversatz) + Spielzeit) / 1000;
    RestSekunden = V;
    if (RestSekunden == RestSekundenAnzeige) return;
    const int32_t digits[3] = {V / 100, (V % 100) / 10, V % 10};
    const int32_t left[3] = {21, 39, 57};
    for (int k = 0; k < 3; ++k) {
        const int32_t d = digits[k];
        if (onSheet(d))
            CopyUnclipped(SurfUnten, 504 + 18 * k, 27, SurfScore,
                          platform::Rect{left[k], 55 * d + 4, left[k] + 20, 55 * d + 24}, false);
    }
    RestSekundenAnzeige = V;
}

void Vorlanix::PaintScoreCounter(int32_t points) {
    const int32_t P = points;
    // The places sit on the counter's drum at slightly different heights.
    struct Place {
        int32_t digit, left, top, x, y;
    };
    const Place places[5] = {
        {(P / 10000) % 10, 2, 28, 485, 51}, {(P / 1000) % 10, 19, 28, 502, 51}, {(P / 100) % 10, 37, 28, 520, 51},
        {(P / 10) % 10, 55, 31, 538, 54},   {P % 10, 73, 35, 556, 58},
    };
    for (int k = 0; k < 5; ++k) {
        const Place& p = places[k];
        if (!onSheet(p.digit)) continue;
        // The last digit's rectangle reaches to 93 + BildVersatzX, as the game cuts it.
        const int32_t right = k == 4 ? 93 + BildVersatzX : p.left + 20;
        CopyUnclipped(SurfUnten, p.x, p.y, SurfScore,
                      platform::Rect{p.left, 55 * p.digit + p.top, right, 55 * p.digit + p.top + 20}, true);
    }
}

}  // namespace vorlanix
