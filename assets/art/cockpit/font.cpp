// SPDX-License-Identifier: GPL-3.0-or-later
// The bitmap font sheet: three rows of 16-pixel glyphs (capitals, small letters, digits and signs),
// each glyph fitted between the column edges the text drawing cuts it at.
#include "cockpit.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace cockpit {
namespace {

struct GlyphRow {
    int top;
    std::vector<const char*> glyphs;  // UTF-8, in the order of the row
    std::vector<int> edges;           // left edge of each glyph, then the right edge of the last
};

const GlyphRow kRows[3] = {
    {0,
     {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O",
      "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z", "Ä", "Ö", "Ü"},
     {0,   12,  23,  33,  45,  55,  65,  76,  89,  97,  105, 117, 127, 141, 154,
      164, 174, 185, 196, 206, 216, 228, 240, 255, 267, 278, 288, 299, 310, 321}},
    {16,
     {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o",
      "p", "q", "r", "s", "t", "u", "v", "w", "x", "y", "z", "ä", "ö", "ü"},
     {0,   10,  20,  29,  39,  48,  57,  67,  78,  85,  92,  103, 111, 126, 137,
      146, 157, 168, 177, 185, 193, 204, 215, 229, 240, 251, 260, 269, 278, 289}},
    {32,
     {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "@", ",", ".", "-", ":", ";", "_", "/"},
     {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 116, 122, 128, 135, 141, 147, 154, 164}},
};

// All three rows share one baseline, so that capitals, small letters and digits line up in a text;
// it leaves the capitals room for umlaut dots above and the small letters room for descenders.
constexpr double kBaseline = 13;
constexpr double kFontSize = 13;
constexpr int kRowHeight = 16;

// The text line advances by the glyph's width minus 2, so the last two columns of a cell lie
// under the next glyph: the ink is kept within the first width - 2 columns, half a pixel in.
void draw_glyph(art::Canvas& sheet, const char* glyph, int left, int right, int top) {
    const int w = right - left;
    cairo_surface_t* cover = cairo_image_surface_create(CAIRO_FORMAT_A8, w, kRowHeight);
    cairo_t* cr = cairo_create(cover);
    art::select_font(cr, "DejaVu Sans", kFontSize, true);

    // The font's own capital umlauts reach above the cell; they are drawn as the bare capital with
    // two dots of our own in the rows above it.
    const std::string text = glyph;
    const bool capital_umlaut = text == "Ä" || text == "Ö" || text == "Ü";
    const std::string shape = capital_umlaut ? text == "Ä" ? "A" : text == "Ö" ? "O" : "U" : text;
    cairo_text_extents_t e;
    cairo_text_extents(cr, shape.c_str(), &e);

    const double room = std::max(2.0, w - 3.0);
    const double sx = std::min(1.0, room / e.width);
    double baseline = kBaseline;
    if (text == "_") baseline = 15.5 - (e.y_bearing + e.height);  // keep the bar inside the cell
    const double ink_left = 0.5 + (room - e.width * sx) / 2;

    cairo_save(cr);
    cairo_translate(cr, ink_left - e.x_bearing * sx, baseline);
    cairo_scale(cr, sx, 1);
    cairo_move_to(cr, 0, 0);
    cairo_show_text(cr, shape.c_str());
    cairo_restore(cr);
    if (capital_umlaut) {
        const double middle = ink_left + e.width * sx / 2;
        for (double dx : {-2.4, 2.4}) cairo_rectangle(cr, std::round(middle + dx - 1), 0.6, 2, 2);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(cover);

    // Light glyphs on the black key: the soft edge steps down to a mid grey, never to near-black,
    // and the faintest coverage is left transparent.
    const auto* data = cairo_image_surface_get_data(cover);
    const int stride = cairo_image_surface_get_stride(cover);
    const art::Rgb edge{118, 126, 140};
    for (int y = 0; y < kRowHeight; ++y) {
        const art::Rgb face = art::mix({252, 248, 232}, {204, 214, 232}, y / 15.0);
        for (int x = 0; x < w; ++x) {
            const double c = data[y * stride + x] / 255.0;
            if (c < 0.3) continue;
            const double t = std::clamp((c - 0.3) / 0.55, 0.0, 1.0);
            sheet.set_pixel(left + x, top + y, art::mix(edge, face, t * t * (3 - 2 * t)));
        }
    }
    cairo_surface_destroy(cover);
}

}  // namespace

void write_font(const fs::path& dir) {
    art::Canvas sheet(323, 48);
    for (const GlyphRow& row : kRows)
        for (size_t i = 0; i < row.glyphs.size(); ++i)
            draw_glyph(sheet, row.glyphs[i], row.edges[i], row.edges[i + 1], row.top);
    sheet.write_bmp(dir, "SchriftSatz.bmp", art::Key::Black);
}

}  // namespace cockpit
