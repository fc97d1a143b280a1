// SPDX-License-Identifier: GPL-3.0-or-later
// Small drawing helpers shared by the creature pictures, and the rider geometry table.
#include "creatures.h"

#include <algorithm>
#include <cmath>

namespace creatures {

Rgb lighten(Rgb c, double t) { return art::mix(c, {255, 255, 250}, t); }

Rgb darken(Rgb c, double t) { return art::mix(c, kOutline, t); }

void ellipse_path(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, std::max(rx, 1e-3), std::max(ry, 1e-3));
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void rounded_rect_path(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void set_ball_shading(cairo_t* cr, double cx, double cy, double rx, double ry, Rgb base) {
    // The gradient is built on a unit circle and stretched, so ellipses shade like balls.
    cairo_pattern_t* p = cairo_pattern_create_radial(-0.38, -0.42, 0.05, 0, 0, 1.08);
    const Rgb hi = lighten(base, 0.5), dark = darken(base, 0.45);
    cairo_pattern_add_color_stop_rgb(p, 0.0, hi.r / 255.0, hi.g / 255.0, hi.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 0.45, base.r / 255.0, base.g / 255.0, base.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1.0, dark.r / 255.0, dark.g / 255.0, dark.b / 255.0);
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, 1.0 / std::max(rx, 1e-3), 1.0 / std::max(ry, 1e-3));
    cairo_matrix_translate(&m, -cx, -cy);
    cairo_pattern_set_matrix(p, &m);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void set_cylinder_shading(cairo_t* cr, double x0, double x1, Rgb base) {
    cairo_pattern_t* p = cairo_pattern_create_linear(x0, 0, x1, 0);
    const Rgb hi = lighten(base, 0.55), dark = darken(base, 0.5);
    cairo_pattern_add_color_stop_rgb(p, 0.0, base.r / 255.0, base.g / 255.0, base.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 0.28, hi.r / 255.0, hi.g / 255.0, hi.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 0.6, base.r / 255.0, base.g / 255.0, base.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1.0, dark.r / 255.0, dark.g / 255.0, dark.b / 255.0);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void fill_and_ink(cairo_t* cr, double outline_width) {
    cairo_fill_preserve(cr);
    art::set_rgb(cr, kOutline);
    cairo_set_line_width(cr, outline_width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void draw_cell(art::Canvas& sheet, int x, int y, int w, int h, const std::function<void(cairo_t*)>& paint) {
    cairo_t* cr = sheet.cr();
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    paint(cr);
    cairo_restore(cr);
}

void write_sheet(art::Canvas& sheet, const fs::path& dir, const char* name) {
    for (int y = 0; y < sheet.height(); ++y) {
        for (int x = 0; x < sheet.width(); ++x) {
            const uint8_t a = sheet.alpha(x, y);
            if (a < 128) continue;
            const Rgb c = sheet.pixel(x, y);
            // Both 5-6-5 and 5-5-5 displays keep only the top five bits of red and blue.
            if (c.r < 8 && c.g < 8 && c.b < 8) sheet.set_pixel(x, y, {8, 8, 8}, a);
        }
    }
    sheet.write_bmp(dir, name, art::Key::Black);
}

const RiderSize& rider(int size) {
    // Boards: crimson for the large riders, azure for the middle ones, gold for the small ones,
    // so the player can tell the three point values apart.
    // clang-format off
    static const RiderSize sizes[3] = {
        {"Irone1.bmp", "Brett1.bmp", "irone1_salto.bmp", 52, 42, 150, 23, 49, 27, 54, 1.0, 9.5,
         {{215, 45, 62}, {255, 206, 64}, {128, 26, 48}}},
        {"Irone2.bmp", "Brett2.bmp", "irone2_salto.bmp", 37, 30, 108, 17, 35, 19, 39, 0.72, 7.4,
         {{48, 132, 232}, {236, 246, 255}, {26, 62, 136}}},
        {"Irone3.bmp", "Brett3.bmp", "irone3_salto.bmp", 23, 18, 66, 10, 22, 12, 24, 0.44, 4.3,
         {{248, 188, 38}, {222, 52, 52}, {152, 96, 22}}},
    };
    // clang-format on
    return sizes[size];
}

double facing_yaw(int k) { return k * 10.0 * kPi / 180.0; }

}  // namespace creatures
