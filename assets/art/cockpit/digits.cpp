// SPDX-License-Identifier: GPL-3.0-or-later
// Digit pictures: the drum digits of the cockpit counters, the large result wheels of the menu and
// the small floating score digits.
#include "cockpit.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace cockpit {
namespace {

const art::Rgb kDrumFace{236, 230, 210};
const art::Rgb kDrumInk{28, 30, 40};

// One digit drum seen through a w x h window: the digit in the middle, the neighbouring digits
// just rolling into view at the top and bottom, all bent and shaded as on a cylinder. `centre_x`
// is where the digit's middle sits in the window.
void drum_face(art::Canvas& out, int x, int y, int w, int h, int digit, double digit_height, double pitch,
               double centre_x) {
    const int strip_h = static_cast<int>(std::ceil(pitch * 3));
    art::Canvas strip(w, strip_h);
    cairo_t* cr = strip.cr();
    art::set_rgb(cr, kDrumFace);
    cairo_paint(cr);
    art::select_font(cr, "DejaVu Sans", digit_height / 0.729, true);
    art::set_rgb(cr, kDrumInk);
    for (int i = 0; i < 3; ++i) {
        const std::string text(1, static_cast<char>('0' + (digit + 9 + i) % 10));
        cairo_text_extents_t e;
        cairo_text_extents(cr, "0", &e);
        cairo_text_extents_t g;
        cairo_text_extents(cr, text.c_str(), &g);
        // All digits share the baseline and the centre of a "0", as on a real drum.
        cairo_move_to(cr, centre_x - g.x_bearing - g.width / 2, pitch * (i + 0.5) - e.y_bearing - e.height / 2);
        cairo_show_text(cr, text.c_str());
    }

    const double radius = h / 2.0 * 1.12;
    for (int row = 0; row < h; ++row) {
        const double offset = row + 0.5 - h / 2.0;
        const double angle = std::asin(offset / radius);
        const double src = pitch * 1.5 + radius * angle - 0.5;
        const int s0 = std::clamp(static_cast<int>(std::floor(src)), 0, strip_h - 1);
        const int s1 = std::min(s0 + 1, strip_h - 1);
        const double t = std::clamp(src - std::floor(src), 0.0, 1.0);
        const double light = 0.36 + 0.64 * std::cos(angle * 1.2);
        for (int col = 0; col < w; ++col) {
            art::Rgb c = art::mix(strip.pixel(col, s0), strip.pixel(col, s1), t);
            double k = light;
            if (col == 0 || col == w - 1) k *= 0.42;  // the gap between neighbouring drums
            c = {static_cast<uint8_t>(c.r * k), static_cast<uint8_t>(c.g * k), static_cast<uint8_t>(c.b * k)};
            out.set_pixel(x + col, y + row, c);
        }
    }
}

void write_score_sheet(const fs::path& dir) {
    art::Canvas sheet(93, kDrumBand * 10);
    draw_score_sheet(sheet);
    avoid_pure_white(sheet);
    sheet.write_bmp(dir, "Score.bmp", art::Key::Black);
}

// The large result digits: six columns of counter wheels, digit d in rows 30d to 30d + 30.
void write_result_wheels(const fs::path& dir) {
    art::Canvas sheet(220, 300);
    const int columns[6] = {0, 36, 83, 116, 164, 197};
    for (int x : columns)
        for (int d = 0; d < 10; ++d) drum_face(sheet, x, 30 * d, 23, 30, d, 17, 23, 11.5);
    sheet.write_bmp(dir, "ergebniszahlen.bmp", art::Key::Black);
}

// The floating score digits: bright, outlined comic numerals, each in its own 20 x 20 cell.
void write_small_digits(const fs::path& dir) {
    art::Canvas sheet(220, 20);
    cairo_t* cr = sheet.cr();
    art::select_font(cr, "DejaVu Sans", 19, true);
    cairo_text_extents_t zero;
    cairo_text_extents(cr, "0", &zero);
    auto fill = [cr]() {
        cairo_pattern_t* p = cairo_pattern_create_linear(0, 3, 0, 17);
        cairo_pattern_add_color_stop_rgb(p, 0, 1.00, 0.97, 0.60);
        cairo_pattern_add_color_stop_rgb(p, 0.5, 1.00, 0.80, 0.22);
        cairo_pattern_add_color_stop_rgb(p, 1, 0.98, 0.45, 0.10);
        cairo_set_source(cr, p);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(p);
    };
    for (int d = 0; d < 11; ++d) {
        cairo_new_path(cr);
        if (d < 10) {
            const std::string text(1, static_cast<char>('0' + d));
            cairo_text_extents_t g;
            cairo_text_extents(cr, text.c_str(), &g);
            cairo_move_to(cr, 20 * d + 10 - g.x_bearing - g.width / 2, 10 - zero.y_bearing - zero.height / 2);
            cairo_text_path(cr, text.c_str());
        } else {
            rounded_rect_path(cr, 20 * d + 4, 8, 20 * d + 16, 12, 1.5);
        }
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_width(cr, 2.6);
        art::set_rgb(cr, {70, 24, 12});
        cairo_stroke_preserve(cr);
        fill();
        cairo_new_path(cr);
    }
    sheet.write_bmp(dir, "zahlen.bmp", art::Key::Black);
}

}  // namespace

void draw_score_sheet(art::Canvas& sheet) {
    // Each band is the counter as it looks with every drum on one digit. Neighbouring cells
    // overlap by two or three columns, and the right one is painted last, so each digit is centred
    // in the part of its cell that stays visible.
    for (int d = 0; d < 10; ++d) {
        for (const DrumPlace& p : kYearDrums)
            drum_face(sheet, p.sheet_x, kDrumBand * d + p.sheet_y, kDrumCell, kDrumCell, d, 12, 16.5, 9);
        for (const DrumPlace& p : kScoreDrums)
            drum_face(sheet, p.sheet_x, kDrumBand * d + p.sheet_y, kDrumCell, kDrumCell, d, 12, 16.5, 9);
    }
}

void write_digits(const fs::path& dir) {
    write_score_sheet(dir);
    write_result_wheels(dir);
    write_small_digits(dir);
}

}  // namespace cockpit
