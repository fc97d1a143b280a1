// SPDX-License-Identifier: GPL-3.0-or-later
// The Irones' castle sheet: cell 0 the castle on its rock, cells 1 to 3 the flag waving on its
// pole, cell 4 the castle flashing after a hit.
#include "creatures.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace creatures {
namespace {

constexpr int kW = 55, kH = 47;
constexpr Rgb kStone{178, 168, 206};
constexpr Rgb kRoof{224, 66, 72};
constexpr Rgb kRock{152, 120, 98};
constexpr Rgb kWindow{255, 222, 92};
constexpr Rgb kWood{124, 72, 42};
constexpr Rgb kFlag{96, 212, 82};
// The flag cell is drawn 24 pixels right of and one cell height above the castle cell, so
// its pole at x 3..5 stands on the pole's foot at x 27..29 on top of the keep.
constexpr double kPoleX = 3, kPoleW = 2;

void stone_block(cairo_t* cr, double x, double y, double w, double h) {
    cairo_rectangle(cr, x, y, w, h);
    set_cylinder_shading(cr, x, x + w, kStone);
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    art::set_rgb(cr, darken(kStone, 0.3));
    cairo_set_line_width(cr, 0.6);
    for (double by = y + 4; by < y + h; by += 4) {
        cairo_move_to(cr, x, by);
        cairo_line_to(cr, x + w, by);
        const double shift = static_cast<int>((by - y) / 4) % 2 ? 2.5 : 0;
        for (double bx = x + shift + 2; bx < x + w; bx += 5) {
            cairo_move_to(cr, bx, by - 4);
            cairo_line_to(cr, bx, by);
        }
    }
    cairo_stroke(cr);
    cairo_restore(cr);
    cairo_rectangle(cr, x, y, w, h);
    art::set_rgb(cr, kOutline);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void merlons(cairo_t* cr, double y, const std::vector<double>& xs, double w) {
    for (double x : xs) {
        cairo_rectangle(cr, x, y, w, 4.5);
        set_cylinder_shading(cr, x, x + w, kStone);
        fill_and_ink(cr, 1);
    }
}

void roof(cairo_t* cr, double x0, double x1, double base, double apex) {
    cairo_move_to(cr, x0, base);
    cairo_line_to(cr, (x0 + x1) / 2, apex);
    cairo_line_to(cr, x1, base);
    cairo_close_path(cr);
    set_cylinder_shading(cr, x0, x1, kRoof);
    fill_and_ink(cr, 1);
}

void glow_window(cairo_t* cr, double x, double y, double w, double h) {
    rounded_rect_path(cr, x, y, w, h, w / 2);
    art::set_rgb(cr, kWindow);
    fill_and_ink(cr, 0.8);
}

void paint_castle(cairo_t* cr, bool flashing) {
    // The rock it stands on reaches 7 pixels into the planet's rim.
    cairo_move_to(cr, 0.5, 47);
    cairo_curve_to(cr, 1, 41, 8, 36.5, 27.5, 35.5);
    cairo_curve_to(cr, 47, 36.5, 54, 41, 54.5, 47);
    cairo_close_path(cr);
    set_ball_shading(cr, 27.5, 42, 28, 10, kRock);
    fill_and_ink(cr, 1);
    art::set_rgb(cr, darken(kRock, 0.45));
    cairo_set_line_width(cr, 0.8);
    const double cracks[4][4] = {{10, 42, 14, 45}, {20, 39, 23, 44}, {36, 41, 33, 45}, {45, 40, 48, 44}};
    for (const auto& c : cracks) {
        cairo_move_to(cr, c[0], c[1]);
        cairo_line_to(cr, c[2], c[3]);
    }
    cairo_stroke(cr);

    stone_block(cr, 8, 24, 39, 15);
    merlons(cr, 20, {9, 15, 37, 43}, 3.5);
    stone_block(cr, 20, 10, 15, 25);
    merlons(cr, 6, {20, 31}, 4);
    for (double x : {2.0, 42.0}) {
        stone_block(cr, x, 14, 11, 26);
        roof(cr, x - 1.5, x + 12.5, 15, 2.5);
        glow_window(cr, x + 4.5, 22, 2, 5);
        glow_window(cr, x + 4.5, 31, 2, 4);
    }
    // The flag pole's foot on the keep; the pole itself is drawn with the flag.
    cairo_rectangle(cr, 27, 0, 2, 10.5);
    set_cylinder_shading(cr, 27, 29, {210, 200, 170});
    fill_and_ink(cr, 0.6);

    glow_window(cr, 26, 13, 3, 5);
    ellipse_path(cr, 27.5, 23, 3, 3);
    art::set_rgb(cr, kFlag);
    fill_and_ink(cr, 0.8);
    ellipse_path(cr, 27.5, 23, 1.0, 1.8);
    art::set_rgb(cr, {40, 20, 60});
    cairo_fill(cr);

    // Gate with its portcullis.
    cairo_move_to(cr, 22.5, 38);
    cairo_line_to(cr, 22.5, 31);
    cairo_arc(cr, 27.5, 31, 5, kPi, 2 * kPi);
    cairo_line_to(cr, 32.5, 38);
    cairo_close_path(cr);
    art::set_rgb(cr, kWood);
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    art::set_rgb(cr, {66, 50, 70});
    cairo_set_line_width(cr, 0.8);
    for (double x = 24; x < 32; x += 2.2) {
        cairo_move_to(cr, x, 25);
        cairo_line_to(cr, x, 38);
    }
    for (double y = 29; y < 38; y += 2.5) {
        cairo_move_to(cr, 22, y);
        cairo_line_to(cr, 33, y);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
    art::set_rgb(cr, kOutline);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    if (flashing) {
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
        cairo_pattern_t* p = cairo_pattern_create_radial(27.5, 22, 2, 27.5, 22, 34);
        cairo_pattern_add_color_stop_rgba(p, 0, 1.0, 1.0, 0.9, 0.85);
        cairo_pattern_add_color_stop_rgba(p, 1, 1.0, 0.8, 0.4, 0.55);
        cairo_set_source(cr, p);
        cairo_pattern_destroy(p);
        cairo_paint(cr);
        cairo_restore(cr);
    }
}

void paint_flag(cairo_t* cr, int phase) {
    const double shift = phase * 2 * kPi / 3;
    const double x0 = kPoleX + kPoleW, x1 = 40;
    auto top = [&](double x) {
        const double t = (x - x0) / (x1 - x0);
        return 10 + 3.0 * t * std::sin(2 * kPi * t * 1.4 - shift) + 2.0 * t;
    };
    auto height = [&](double x) { return 16 - 3.0 * (x - x0) / (x1 - x0); };
    const int n = 40;
    cairo_move_to(cr, x0, top(x0));
    for (int i = 1; i <= n; ++i) {
        const double x = x0 + (x1 - x0) * i / n;
        cairo_line_to(cr, x, top(x));
    }
    for (int i = n; i >= 0; --i) {
        const double x = x0 + (x1 - x0) * i / n;
        cairo_line_to(cr, x, top(x) + height(x));
    }
    cairo_close_path(cr);
    // Light and shade follow the slope of the wave across the cloth.
    cairo_pattern_t* p = cairo_pattern_create_linear(x0, 0, x1, 0);
    for (int i = 0; i <= 20; ++i) {
        const double x = x0 + (x1 - x0) * i / 20.0;
        const double slope = top(x + 0.5) - top(x - 0.5);
        const Rgb c =
            slope < 0 ? lighten(kFlag, std::min(0.5, -slope * 0.5)) : darken(kFlag, std::min(0.45, slope * 0.45));
        cairo_pattern_add_color_stop_rgb(p, i / 20.0, c.r / 255.0, c.g / 255.0, c.b / 255.0);
    }
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    fill_and_ink(cr, 1);

    // The Irones' one-eyed emblem rides the wave.
    const double ex = 21, ey = top(ex) + height(ex) / 2;
    ellipse_path(cr, ex, ey, 4.6, 4.6);
    art::set_rgb(cr, {250, 246, 232});
    fill_and_ink(cr, 0.8);
    ellipse_path(cr, ex + 0.6, ey, 2.4, 2.6);
    art::set_rgb(cr, {232, 48, 48});
    cairo_fill(cr);
    ellipse_path(cr, ex + 0.6, ey, 0.7, 1.9);
    art::set_rgb(cr, {40, 16, 40});
    cairo_fill(cr);

    cairo_rectangle(cr, kPoleX, 8, kPoleW, kH - 8 + 1);
    set_cylinder_shading(cr, kPoleX, kPoleX + kPoleW, {210, 200, 170});
    fill_and_ink(cr, 0.6);
    ellipse_path(cr, kPoleX + kPoleW / 2, 6.5, 2.3, 2.3);
    set_ball_shading(cr, kPoleX + kPoleW / 2, 6.5, 2.3, 2.3, {250, 200, 60});
    fill_and_ink(cr, 0.8);
}

}  // namespace

void write_castle(const fs::path& dir) {
    art::Canvas sheet(5 * kW, kH);
    draw_cell(sheet, 0, 0, kW, kH, [](cairo_t* cr) { paint_castle(cr, false); });
    for (int phase = 0; phase < 3; ++phase)
        draw_cell(sheet, (phase + 1) * kW, 0, kW, kH, [phase](cairo_t* cr) { paint_flag(cr, phase); });
    draw_cell(sheet, 4 * kW, 0, kW, kH, [](cairo_t* cr) { paint_castle(cr, true); });
    write_sheet(sheet, dir, "Burg.bmp");
}

}  // namespace creatures
