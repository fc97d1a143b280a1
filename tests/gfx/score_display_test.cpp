// SPDX-License-Identifier: GPL-3.0-or-later
// Awarding points (the multiplier, the 20 floating numbers, a score that cannot wrap round) and
// drawing the numbers as they rise and dissolve.
#include <gtest/gtest.h>

#include <climits>

#include "app/vorlanix.h"
#include "platform/headless/headless_platform.h"

using platform::Rect;
using platform::Surface;
using vorlanix::True;

namespace {

constexpr uint16_t kMinusGlyph = 0x0200;
uint16_t DigitGlyph(int d) { return static_cast<uint16_t>(0x0100 + d); }

class ScoreDisplay : public ::testing::Test {
  protected:
    ScoreDisplay() : game(headless) {
        game.DDBereit = True;
        game.Randomize(3);
        game.Kombi = 1;
        game.Spielzeit = 10000;
        game.SichtX = 700;
        game.SichtY = 400;
        game.SurfBack = std::make_unique<Surface>(640, 480);
        game.SurfTemp = std::make_unique<Surface>(320, 400);
        // Glyph d is filled with 0x100 + d, the minus sign with 0x200.
        game.SurfZahlen = std::make_unique<Surface>(220, 20);
        for (int d = 0; d <= 9; ++d) game.SurfZahlen->BltColorFill(Rect{20 * d, 0, 20 * d + 20, 20}, DigitGlyph(d));
        game.SurfZahlen->BltColorFill(Rect{200, 0, 220, 20}, kMinusGlyph);
        // The interference strip: black dots on white (its key) whose share grows by an eighth
        // every 80 rows, from none at the top to seven eighths at the bottom.
        game.SurfStoerung = std::make_unique<Surface>(64, 640);
        for (int r = 0; r < 640; ++r)
            for (int x = 0; x < 64; ++x) game.SurfStoerung->row(r)[x] = (x + r) % 8 < r / 80 ? 0 : 0xFFFF;
        game.SurfStoerung->SetColorKey(0xFFFF);
    }

    int Points() const { return game.Punktzahl / 3632; }

    // Draws the numbers at game time t on a cleared back buffer.
    void DrawAt(int32_t t) {
        game.Spielzeit = t;
        game.SurfBack->BltColorFill(Rect{0, 0, 640, 480}, 0);
        game.ZeichnePunktzahlen();
    }

    // Pixels of the back buffer showing glyph g inside the rectangle.
    int CountGlyph(Rect r, uint16_t g) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += game.SurfBack->row(y)[x] == g;
        return n;
    }
    int Drawn() const { return 640 * 480 - CountGlyph(Rect{0, 0, 640, 480}, 0); }

    platform::HeadlessPlatform headless;
    vorlanix::Vorlanix game;
};

TEST_F(ScoreDisplay, QuickHitsDoubleTheMultiplierAndAPauseOfASecondStartsAgain) {
    const struct {
        int32_t t;
        int32_t Wert;
        int32_t kombi, shown;
    } awards[] = {
        {10000, 3191, 1, 50}, {10400, 3191, 2, 100}, {10800, 3191, 4, 200},
        {12000, 3191, 1, 50}, {12999, 3151, 2, 20},  {13500, 3091, 1, -50},  // a penalty within the second: exactly -50
        {13600, 3151, 2, 20}, {14600, 3151, 1, 10},                          // exactly a second later: no doubling
    };
    int total = 0;
    for (int k = 0; k < 8; ++k) {
        game.Spielzeit = awards[k].t;
        game.NeuPunktDarstellung(awards[k].Wert, 100, 100);
        total += awards[k].shown;
        EXPECT_EQ(game.Kombi, awards[k].kombi) << k;
        EXPECT_EQ(game.PunktWert[k + 1], awards[k].shown) << k;
        EXPECT_EQ(Points(), total) << k;
        EXPECT_EQ(game.LetzterTreffer, awards[k].t);
    }
}

TEST_F(ScoreDisplay, TheMultiplierStopsAt32) {
    game.LetzterTreffer = game.Spielzeit;
    const int32_t want[] = {2, 4, 8, 16, 32, 32, 32};
    for (int32_t kombi : want) {
        game.Spielzeit += 500;
        game.NeuPunktDarstellung(3141 + 10, 0, 0);
        EXPECT_EQ(game.Kombi, kombi);
    }
    EXPECT_EQ(game.PunktWert[7], 320);
}

TEST_F(ScoreDisplay, ANumberStartsBesideItsPlaceInTheWorld) {
    game.NeuPunktDarstellung(3141 + 75, 123, 45);
    EXPECT_TRUE(game.PunktAktiv[1]);
    EXPECT_EQ(game.PunktZeit[1], 10000);
    EXPECT_EQ(game.PunktX[1], 700 + 123 + 20);
    EXPECT_EQ(game.PunktY[1], 400 + 45 - 20);
}

TEST_F(ScoreDisplay, A21stNumberTakesOverSlot20AndAFreedSlotIsUsedFirst) {
    for (int k = 1; k <= 20; ++k) {
        game.Spielzeit += 2000;
        game.NeuPunktDarstellung(3141 + k, 0, 0);
    }
    game.Spielzeit += 2000;
    game.NeuPunktDarstellung(3141 + 99, 0, 0);
    EXPECT_EQ(game.PunktWert[19], 19);
    EXPECT_EQ(game.PunktWert[20], 99);
    game.PunktAktiv[6] = vorlanix::False;
    game.Spielzeit += 2000;
    game.NeuPunktDarstellung(3141 + 7, 0, 0);
    EXPECT_EQ(game.PunktWert[6], 7);
    EXPECT_EQ(game.PunktWert[20], 99);
}

TEST_F(ScoreDisplay, TheScoreStopsAtTheEndsOfItsRangeInsteadOfWrappingRound) {
    game.Punktzahl = INT32_MAX - 3632 * 100;
    game.NeuPunktDarstellung(3141 + 250, 0, 0);
    EXPECT_EQ(game.Punktzahl, INT32_MAX);
    EXPECT_EQ(Points(), 591267);
    game.Punktzahl = INT32_MIN + 3632 * 10;
    game.NeuPunktDarstellung(3141 - 50, 0, 0);
    EXPECT_EQ(game.Punktzahl, INT32_MIN);
}

TEST_F(ScoreDisplay, ANegativeNumberShowsAMinusSignThenItsDigits) {
    game.NeuPunktDarstellung(3141 - 50, 200 - 20, 200 + 20);  // drawn at (200, 200)
    DrawAt(10000);
    for (int y = 200; y < 220; ++y)
        for (int x = 200; x < 260; ++x) {
            const uint16_t want = x < 220 ? kMinusGlyph : x < 240 ? DigitGlyph(5) : DigitGlyph(0);
            ASSERT_EQ(game.SurfBack->row(y)[x], want) << x << ", " << y;
        }
    EXPECT_EQ(Drawn(), 60 * 20);
}

TEST_F(ScoreDisplay, ANumberRisesUndisturbedThenDissolvesAndEndsAfterAge776) {
    game.NeuPunktDarstellung(3141 + 50, 200 - 20, 200 + 20);
    const Rect five{200, 0, 220, 480}, zero{220, 0, 240, 480};
    // One unit of age is 2 ms; the number rises a pixel every 10 units.
    for (const int age : {0, 100, 200}) {
        DrawAt(10000 + 2 * age);
        const int top = 200 - age / 10;
        EXPECT_EQ(CountGlyph(Rect{200, top, 220, top + 20}, DigitGlyph(5)), 400) << age;
        EXPECT_EQ(CountGlyph(Rect{220, top, 240, top + 20}, DigitGlyph(0)), 400) << age;
        EXPECT_EQ(Drawn(), 800) << age;
    }
    // Later the strip's dots eat more and more of it; its white never shows.
    int previous = 800;
    for (const int age : {300, 500, 700}) {
        DrawAt(10000 + 2 * age);
        const int left = CountGlyph(five, DigitGlyph(5)) + CountGlyph(zero, DigitGlyph(0));
        EXPECT_EQ(Drawn(), left) << age;
        EXPECT_LT(left, previous) << age;
        EXPECT_GT(left, 0) << age;
        previous = left;
    }
    DrawAt(10000 + 2 * 776 + 1);  // still age 776
    EXPECT_TRUE(game.PunktAktiv[1]);
    EXPECT_GT(Drawn(), 0);
    DrawAt(10000 + 2 * 777);
    EXPECT_FALSE(game.PunktAktiv[1]);
    EXPECT_EQ(Drawn(), 0);
}

TEST_F(ScoreDisplay, NothingIsDrawnBeforeTheDisplayIsSetUp) {
    game.NeuPunktDarstellung(3141 + 50, 200, 200);
    game.DDBereit = vorlanix::False;
    DrawAt(10000);
    EXPECT_EQ(Drawn(), 0);
}

}  // namespace
