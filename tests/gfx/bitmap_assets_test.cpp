// SPDX-License-Identifier: GPL-3.0-or-later
// Every picture the build draws: its name, size, 24 bits, its key colour where it is
// transparent, no key colour inside figures where that can be told, and non-empty cells.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "platform/bitmap.h"
#include "platform/resources.h"

using platform::Surface;

namespace {

enum class Key { Black, White };

struct Asset {
    const char* name;
    int w, h;
    Key key;
};

// clang-format off
const Asset kAssets[] = {
    {"temp.bmp", 320, 400, Key::Black},        {"temptxt.bmp", 640, 20, Key::Black},
    {"Burg.bmp", 275, 47, Key::Black},         {"Irone0.bmp", 640, 640, Key::Black},
    {"Irone1.bmp", 52, 1512, Key::Black},      {"irone1_salto.bmp", 108, 432, Key::Black},
    {"Brett1.bmp", 150, 828, Key::Black},      {"Irone2.bmp", 37, 1080, Key::Black},
    {"irone2_salto.bmp", 78, 312, Key::Black}, {"Brett2.bmp", 108, 612, Key::Black},
    {"Irone3.bmp", 23, 648, Key::Black},       {"irone3_salto.bmp", 48, 192, Key::Black},
    {"Brett3.bmp", 66, 360, Key::Black},       {"raumtank.bmp", 84, 70, Key::Black},
    {"Stoerung.bmp", 64, 640, Key::White},     {"oben.bmp", 640, 32, Key::Black},
    {"oben_rot.bmp", 208, 64, Key::Black},     {"links.bmp", 98, 320, Key::White},
    {"rechts.bmp", 98, 320, Key::White},       {"unten.bmp", 640, 128, Key::White},
    {"altern.bmp", 103, 680, Key::White},      {"Score.bmp", 93, 550, Key::Black},
    {"radar.bmp", 36, 6, Key::Black},          {"pointer.bmp", 246, 25, Key::Black},
    {"explosion.bmp", 50, 800, Key::Black},    {"krater.bmp", 20, 20, Key::White},
    {"lupe.bmp", 119, 100, Key::Black},        {"satelit.bmp", 120, 200, Key::Black},
    {"satelitirone.bmp", 93, 34, Key::Black},  {"satelit2.bmp", 100, 240, Key::Black},
    {"satelit2irone.bmp", 40, 39, Key::Black}, {"mond.bmp", 50, 150, Key::Black},
    {"irone_station.bmp", 50, 1750, Key::Black}, {"meteor.bmp", 25, 725, Key::Black},
    {"irone_meteor.bmp", 25, 725, Key::Black}, {"zahlen.bmp", 220, 20, Key::Black},
    {"menue.bmp", 572, 360, Key::Black},       {"button.bmp", 40, 70, Key::Black},
    {"menue_start.bmp", 320, 240, Key::Black}, {"logo.bmp", 126, 57, Key::Black},
    {"ergebniszahlen.bmp", 220, 300, Key::Black}, {"SchriftSatz.bmp", 323, 48, Key::Black},
    {"Stern0.bmp", 100, 100, Key::Black},      {"Stern1.bmp", 200, 200, Key::Black},
    {"Stern2.bmp", 150, 150, Key::Black},      {"Stern3.bmp", 160, 160, Key::Black},
    {"Stern4.bmp", 120, 120, Key::Black},      {"Stern5.bmp", 180, 180, Key::Black},
    {"Nebel1.bmp", 375, 420, Key::Black},      {"Nebel2.bmp", 150, 250, Key::Black},
    {"Nebel3.bmp", 300, 330, Key::Black},      {"Nebel4.bmp", 300, 350, Key::Black},
    {"start.bmp", 640, 480, Key::Black},       {"ende.bmp", 640, 480, Key::Black},
    {"menue_story.bmp", 320, 240, Key::Black}, {"menue_preferences.bmp", 320, 240, Key::Black},
    {"menue_highscore.bmp", 320, 240, Key::Black}, {"menue_impressum.bmp", 320, 240, Key::Black},
    {"menue_hilfe1.bmp", 320, 240, Key::Black}, {"menue_hilfe2.bmp", 320, 240, Key::Black},
    {"menue_hilfe3.bmp", 320, 240, Key::Black}, {"menue_ergebnis.bmp", 320, 240, Key::Black},
    {"menue_upload.bmp", 320, 240, Key::Black}, {"menue_idiot.bmp", 320, 240, Key::Black},
    {"menue_msg.bmp", 320, 240, Key::Black},
};
// clang-format on

std::vector<uint8_t> readFile(const std::string& name) {
    std::ifstream f(std::string(VORLANIX_BITMAP_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::unique_ptr<Surface> load(const std::string& name) { return platform::DecodeBitmap(readFile(name), name); }

// True when the cell (x, y, w, h) of the picture holds at least one pixel that is not `key`.
bool cellHasInk(const Surface& s, int x, int y, int w, int h, uint16_t key = 0) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (s.row(j)[i] != key) return true;
    return false;
}

}  // namespace

TEST(BitmapAssets, AllSixtyFiveAreBuiltWithTheirSizeAndDepth) {
    EXPECT_EQ(std::size(kAssets), 65u);
    for (const Asset& a : kAssets) {
        const auto bytes = readFile(a.name);
        ASSERT_GE(bytes.size(), 54u) << a.name;
        EXPECT_EQ(bytes[28], 24) << a.name << " is not 24-bit";
        auto s = platform::DecodeBitmap(bytes, a.name);
        EXPECT_EQ(s->width(), a.w) << a.name;
        EXPECT_EQ(s->height(), a.h) << a.name;
        // The executable carries each picture exactly as drawn, not a copy caught half written.
        std::vector<uint8_t> embedded;
        EXPECT_NO_THROW(embedded = platform::EmbeddedBitmap(a.name)) << a.name << " is not embedded";
        EXPECT_TRUE(embedded == bytes) << a.name << " is embedded with other bytes than were drawn";
    }
}

TEST(BitmapAssets, KeysHoldInSixteenBits) {
    // The scratch canvases are wholly black; full-screen pictures and pages have no hole; the
    // title holds pure white where the white key is read.
    for (const char* name : {"temp.bmp", "temptxt.bmp"}) {
        auto s = load(name);
        EXPECT_FALSE(cellHasInk(*s, 0, 0, s->width(), s->height())) << name;
    }
    for (const char* name : {"start.bmp", "ende.bmp", "menue_story.bmp", "menue_msg.bmp", "menue_ergebnis.bmp"}) {
        auto s = load(name);
        int black = 0;
        for (int y = 0; y < s->height(); ++y)
            for (int x = 0; x < s->width(); ++x) black += s->row(y)[x] == 0;
        EXPECT_EQ(black, 0) << name << " has transparent holes";
    }
    EXPECT_EQ(load("start.bmp")->row(110)[250], 0xFFFF);
    // Pictures copied into the white-keyed cockpit must not hold white, or holes appear there.
    for (const char* name : {"Score.bmp", "altern.bmp"}) {
        auto s = load(name);
        int white = 0, ink = 0;
        for (int y = 0; y < s->height(); ++y)
            for (int x = 0; x < s->width(); ++x) {
                white += s->row(y)[x] == 0xFFFF;
                ink += s->row(y)[x] != 0 && s->row(y)[x] != 0xFFFF;
            }
        EXPECT_GT(ink, 0) << name;
        if (std::string(name) == "Score.bmp") {
            EXPECT_EQ(white, 0) << name;
        }
    }
}

TEST(BitmapAssets, EveryCellOfTheStripsHoldsAFigure) {
    const struct {
        const char* name;
        int cellW, cellH, columns, rows;
    } strips[] = {
        {"Irone1.bmp", 52, 42, 1, 36},      {"Irone2.bmp", 37, 30, 1, 36},       {"Irone3.bmp", 23, 18, 1, 36},
        {"Brett1.bmp", 150, 23, 1, 36},     {"Brett2.bmp", 108, 17, 1, 36},      {"Brett3.bmp", 66, 10, 1, 36},
        {"irone1_salto.bmp", 54, 54, 2, 8}, {"irone2_salto.bmp", 39, 39, 2, 8},  {"irone3_salto.bmp", 24, 24, 2, 8},
        {"Irone0.bmp", 320, 320, 2, 2},     {"explosion.bmp", 50, 50, 1, 16},    {"irone_station.bmp", 50, 50, 1, 35},
        {"meteor.bmp", 25, 25, 1, 29},      {"irone_meteor.bmp", 25, 25, 1, 29}, {"mond.bmp", 50, 50, 1, 3},
        {"raumtank.bmp", 28, 70, 3, 1},     {"pointer.bmp", 41, 25, 6, 1},       {"radar.bmp", 6, 6, 6, 1},
        {"zahlen.bmp", 20, 20, 11, 1},      {"satelit.bmp", 120, 100, 1, 2},     {"satelit2.bmp", 100, 120, 1, 2},
        {"satelitirone.bmp", 31, 34, 3, 1},
    };
    for (const auto& s : strips) {
        auto pic = load(s.name);
        for (int r = 0; r < s.rows; ++r)
            for (int c = 0; c < s.columns; ++c)
                EXPECT_TRUE(cellHasInk(*pic, c * s.cellW, r * s.cellH, s.cellW, s.cellH))
                    << s.name << " cell column " << c << " row " << r << " is empty";
    }
}

TEST(BitmapAssets, EveryGlyphColumnOfTheFontHoldsInk) {
    auto font = load("SchriftSatz.bmp");
    const int gross[] = {0,   12,  23,  33,  45,  55,  65,  76,  89,  97,  105, 117, 127, 141, 154,
                         164, 174, 185, 196, 206, 216, 228, 240, 255, 267, 278, 288, 299, 310, 321};
    const int klein[] = {0,   10,  20,  29,  39,  48,  57,  67,  78,  85,  92,  103, 111, 126, 137,
                         146, 157, 168, 177, 185, 193, 204, 215, 229, 240, 251, 260, 269, 278, 289};
    const int zeichen[] = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 116, 122, 128, 135, 141, 147, 154, 164};
    auto check = [&](const int* t, int glyphs, int y) {
        for (int n = 0; n < glyphs; ++n)
            EXPECT_TRUE(cellHasInk(*font, t[n], y, t[n + 1] - t[n], 16)) << "glyph " << n << " of row " << y;
    };
    check(gross, 29, 0);
    check(klein, 29, 16);
    check(zeichen, 18, 32);
}
