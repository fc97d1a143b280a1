// SPDX-License-Identifier: GPL-3.0-or-later
// The bitmap font on synthetic pictures: every pixel of the font sheet tells its own position,
// so a test can see which glyph column landed where.
#include <gtest/gtest.h>

#include <string>

#include "app/vorlanix.h"
#include "base/cp1252.h"
#include "platform/headless/headless_platform.h"

using platform::Surface;

namespace {

constexpr int32_t kGross[31] = {0,   0,   12,  23,  33,  45,  55,  65,  76,  89,  97,  105, 117, 127, 141, 154,
                                164, 174, 185, 196, 206, 216, 228, 240, 255, 267, 278, 288, 299, 310, 321};
constexpr int32_t kKlein[31] = {0,   0,   10,  20,  29,  39,  48,  57,  67,  78,  85,  92,  103, 111, 126, 137,
                                146, 157, 168, 177, 185, 193, 204, 215, 229, 240, 251, 260, 269, 278, 289};
constexpr int32_t kZeichen[20] = {0,  0,   10,  20,  30,  40,  50,  60,  70,  80,
                                  90, 100, 116, 122, 128, 135, 141, 147, 154, 164};

uint16_t sheetPixel(int32_t x, int32_t y) { return static_cast<uint16_t>(1 + x + 323 * y); }

class Font : public ::testing::Test {
  protected:
    Font() : game(headless) {
        game.SurfBack = std::make_unique<Surface>(640, 480);
        game.SurfTemp2 = std::make_unique<Surface>(320, 400);
        game.SurfTempTxt = std::make_unique<Surface>(640, 20);
        game.SurfSchriftSatz = std::make_unique<Surface>(323, 48);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 323; ++x) game.SurfSchriftSatz->row(y)[x] = sheetPixel(x, y);
        // The glyph tables as the program start fills them.
        std::copy(std::begin(kGross), std::end(kGross), game.PosGross);
        std::copy(std::begin(kKlein), std::end(kKlein), game.PosKlein);
        std::copy(std::begin(kZeichen), std::end(kZeichen), game.PosZeichen);
    }

    // First and last column written on row y of s (-1 when none).
    static std::pair<int, int> written(const Surface& s, int y) {
        int first = -1, last = -1;
        for (int x = 0; x < s.width(); ++x)
            if (s.row(y)[x] != 0) {
                if (first < 0) first = x;
                last = x;
            }
        return {first, last};
    }
    static bool rowEmpty(const Surface& s, int y) { return written(s, y).first < 0; }

    platform::HeadlessPlatform headless;
    vorlanix::Vorlanix game;
};

std::string cp(const char* utf8) { return cp1252::from_utf8(utf8); }

}  // namespace

TEST_F(Font, WidthsAreTheDrawnWidths) {
    const struct {
        std::string text;
        int32_t width;
    } cases[] = {
        {"AB", 12 + 11 - 4},
        {"a b", 8 + 6 + 8},
        {cp("Ä"), 9},
        {cp("ÄÖÜ"), 27},
        {cp("äöü"), 7 + 7 + 9},
        {"0123456789", 80},
        {"@,.-:;_/", 14 + 4 + 4 + 5 + 4 + 4 + 5 + 8},
        {"A!B?", 19},  // dropped without a gap
        {cp("AßBé\t"), 19},
        {"", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(game.TextLaenge(c.text), c.width) << c.text;
        game.SurfBack->BltColorFill(platform::Rect{0, 0, 640, 480}, 0);
        game.SchriftAusgabe(100, 200, c.text, -1, 0);
        // The copy out is exactly the text's width: its last column is the last one shown.
        const int shown = written(*game.SurfBack, 200).first < 0 ? 0 : written(*game.SurfBack, 200).second - 99;
        EXPECT_EQ(shown, c.width) << c.text;
    }
}

TEST_F(Font, GlyphsOverlapByTwoColumnsAndSitOnSixteenRows) {
    game.SchriftAusgabe(100, 200, "AB", -1, 0);
    const Surface& back = *game.SurfBack;
    EXPECT_EQ(back.row(200)[100], sheetPixel(0, 0));  // A from its first column
    EXPECT_EQ(back.row(200)[109], sheetPixel(9, 0));
    EXPECT_EQ(back.row(200)[110], sheetPixel(12, 0));   // B over the last two columns of A
    EXPECT_EQ(back.row(215)[118], sheetPixel(20, 15));  // B's column 8 of its 16th row
    EXPECT_EQ(back.row(200)[119], 0);                   // B's last two columns are cut off
    EXPECT_TRUE(rowEmpty(back, 199));
    EXPECT_TRUE(rowEmpty(back, 216));

    game.SchriftAusgabe(100, 300, cp("ü9"), -1, 0);
    EXPECT_EQ(back.row(300)[100], sheetPixel(278, 16));  // ü: lower-case row, glyph 29
    EXPECT_EQ(back.row(300)[109], sheetPixel(90, 32));   // 9: sign row, glyph 10
}

TEST_F(Font, LengthAndStartChooseThePartShown) {
    const std::string text = "000000000 000000000";  // 150 pixels
    ASSERT_EQ(game.TextLaenge(text), 150);
    const Surface& back = *game.SurfBack;
    const Surface& line = *game.SurfTempTxt;

    game.SchriftAusgabe(100, 200, text, -1, 0);
    EXPECT_EQ(written(back, 200), std::make_pair(100, 249));

    game.SchriftAusgabe(100, 220, text, 100, 0);
    EXPECT_EQ(written(back, 220), std::make_pair(100, 199));

    game.SchriftAusgabe(100, 240, text, 100, 50);
    for (int j = 0; j < 100; ++j) EXPECT_EQ(back.row(240)[100 + j], line.row(0)[50 + j]) << j;
    // Beyond the text the line is black and shows nothing, except the two columns by which the
    // last glyph reaches past the pen.
    EXPECT_EQ(written(back, 240).second, 201);
}

TEST_F(Font, NothingIsWrittenOutsideTheTextLine) {
    const std::string wide(100, 'W');  // 1300 pixels, twice the text line
    ASSERT_EQ(game.TextLaenge(wide), 1300);
    game.SchriftAusgabe(0, 300, wide, -1, 0);
    EXPECT_EQ(written(*game.SurfBack, 300), std::make_pair(0, 639));
    EXPECT_TRUE(rowEmpty(*game.SurfBack, 316));
    for (int y = 16; y < 20; ++y) EXPECT_TRUE(rowEmpty(*game.SurfTempTxt, y)) << y;

    // A full upload field of wide letters with the cursor: its end stays in view even though the
    // shifted line would reach beyond the text line's 640 columns.
    const std::string field = std::string(40, 'W') + "_";
    const int32_t w = game.TextLaenge(field);
    ASSERT_GT(w + (w - 222), 640);
    game.SurfBack->BltColorFill(platform::Rect{0, 0, 640, 480}, 0);
    game.SchriftAusgabe(249, 264, field, 222, w - 222);
    EXPECT_EQ(written(*game.SurfBack, 264), std::make_pair(249, 249 + 221 + 2));
}

TEST_F(Font, ScreenTextMovesWithThePictureOffsetsCanvasTextDoesNot) {
    game.BildVersatzX = 3;
    game.BildVersatzY = -2;
    game.SchriftAusgabe(100, 200, "A", -1, 0);
    EXPECT_EQ(game.SurfBack->row(198)[103], sheetPixel(0, 0));

    game.SchriftAusgabeMenueAusblenden(10, 20, "A", -1, 0);
    EXPECT_EQ(game.SurfTemp2->row(20)[10], sheetPixel(0, 0));
    // The page canvas takes text only in its upper 320 x 320 window.
    game.SchriftAusgabeMenueAusblenden(300, 310, "AB", -1, 0);
    EXPECT_EQ(written(*game.SurfTemp2, 310), std::make_pair(300, 318));
    EXPECT_TRUE(rowEmpty(*game.SurfTemp2, 320));
}

TEST_F(Font, EmptyTextShowsNothing) {
    game.SchriftAusgabe(100, 200, "", -1, 0);
    game.SchriftAusgabe(100, 200, "", 50, 0);
    for (int y = 195; y < 220; ++y) EXPECT_TRUE(rowEmpty(*game.SurfBack, y));
}

TEST_F(Font, ExactlyTheTypeableCharactersHaveGlyphs) {
    const std::string allowed = cp(" ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789ÄÖÜäöü@,.-:;_/");
    for (int c = 0; c < 256; ++c) {
        const bool listed = allowed.find(static_cast<char>(c)) != std::string::npos;
        EXPECT_EQ(vorlanix::Vorlanix::Erlaubt(c), listed ? vorlanix::True : vorlanix::False) << c;
        // Whatever can be typed can be drawn, and nothing else is.
        EXPECT_EQ(game.TextLaenge(std::string(1, static_cast<char>(c))) > 0, listed) << c;
    }
    EXPECT_EQ(vorlanix::Vorlanix::Erlaubt(256 + 'A'), vorlanix::False);
    EXPECT_EQ(vorlanix::Vorlanix::Erlaubt(-1), vorlanix::False);
}
