// SPDX-License-Identifier: GPL-3.0-or-later
// Small pieces of the menu frame: the game's logo, shown over the radar dome, and the lit and
// dimmed lamps and the lit INFO label that light up the menu's switches.
#include "cockpit.h"

#include <cmath>
#include <initializer_list>
#include <utility>

namespace cockpit {
namespace {

void gradient_stops(cairo_pattern_t* p, std::initializer_list<std::pair<double, art::Rgb>> stops) {
    for (auto [at, c] : stops) cairo_pattern_add_color_stop_rgb(p, at, c.r / 255.0, c.g / 255.0, c.b / 255.0);
}

// Part of the ring around the planet-shaped lettering: the back half goes behind the letters.
void orbit(cairo_t* cr, bool front) {
    cairo_save(cr);
    cairo_translate(cr, 63, 30);
    cairo_rotate(cr, -0.10);
    cairo_scale(cr, 61, 17);
    cairo_new_path(cr);
    if (front)
        cairo_arc(cr, 0, 0, 1, 0.15, M_PI - 0.15);
    else
        cairo_arc(cr, 0, 0, 1, M_PI + 0.05, 2 * M_PI - 0.05);
    cairo_restore(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 4.2);
    art::set_rgb(cr, {24, 20, 60});
    cairo_stroke_preserve(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(2, 0, 124, 0);
    gradient_stops(p, {{0, {110, 230, 255}}, {0.5, {190, 140, 255}}, {1, {110, 230, 255}}});
    cairo_set_line_width(cr, 2.2);
    cairo_set_source(cr, p);
    cairo_stroke(cr);
    cairo_pattern_destroy(p);
}

void sparkle(cairo_t* cr, double x, double y, double r) {
    cairo_move_to(cr, x, y - r);
    cairo_curve_to(cr, x + r * 0.15, y - r * 0.15, x + r * 0.15, y - r * 0.15, x + r, y);
    cairo_curve_to(cr, x + r * 0.15, y + r * 0.15, x + r * 0.15, y + r * 0.15, x, y + r);
    cairo_curve_to(cr, x - r * 0.15, y + r * 0.15, x - r * 0.15, y + r * 0.15, x - r, y);
    cairo_curve_to(cr, x - r * 0.15, y - r * 0.15, x - r * 0.15, y - r * 0.15, x, y - r);
    cairo_close_path(cr);
    art::set_rgb(cr, {255, 250, 210});
    cairo_fill(cr);
}

void write_logo(const fs::path& dir) {
    art::Canvas logo(126, 57);
    cairo_t* cr = logo.cr();
    orbit(cr, false);

    // Bold, slightly slanted capitals with a deep extrusion and a golden face.
    art::select_font(cr, "DejaVu Sans", 25, true);
    const char* name = "VORLANIX";
    cairo_text_extents_t e;
    cairo_text_extents(cr, name, &e);
    const double width = 112, height = 22;
    cairo_matrix_t m;
    cairo_matrix_init(&m, width / e.width, 0, -0.18 * width / e.width, height / e.height, 0, 0);
    auto place = [&](double dx, double dy) {
        cairo_save(cr);
        cairo_translate(cr, 63 - width / 2 + dx + 2, 30 + height / 2 + dy);
        cairo_transform(cr, &m);
        cairo_move_to(cr, -e.x_bearing, -(e.y_bearing + e.height));
        cairo_text_path(cr, name);
        cairo_restore(cr);
    };
    // The extrusion is one solid, outlined body behind the face of the letters.
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 2.4);
    art::set_rgb(cr, {40, 14, 30});
    for (int i = 1; i <= 4; ++i) {
        place(i * 0.5, i * 0.9);
        cairo_stroke(cr);
    }
    for (int i = 4; i >= 1; --i) {
        place(i * 0.5, i * 0.9);
        art::set_rgb(cr, art::mix({110, 26, 24}, {190, 64, 30}, (4 - i) / 3.0));
        cairo_fill(cr);
    }
    place(0, 0);
    art::set_rgb(cr, {40, 14, 30});
    cairo_stroke_preserve(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 30 - height / 2, 0, 30 + height / 2);
    gradient_stops(p, {{0, {255, 250, 190}}, {0.45, {255, 206, 70}}, {0.55, {250, 168, 40}}, {1, {230, 92, 30}}});
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);

    orbit(cr, true);
    sparkle(cr, 114, 10, 5.5);
    sparkle(cr, 9, 47, 3.5);
    logo.write_bmp(dir, "logo.bmp", art::Key::Black);
}

// A round lamp centred on (cx, cy): lit lamps glow warm white whatever their glass colour.
void lamp(cairo_t* cr, double cx, double cy, double r, bool lit) {
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    art::set_rgb(cr, lit ? art::Rgb{150, 96, 20} : art::Rgb{16, 40, 22});
    cairo_fill(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.25, cy - r * 0.3, r * 0.05, cx, cy, r - 1);
    if (lit)
        gradient_stops(p, {{0, {255, 255, 236}}, {0.35, {255, 246, 170}}, {0.75, {255, 214, 90}}, {1, {236, 160, 40}}});
    else
        gradient_stops(p, {{0, {70, 120, 76}}, {0.6, {34, 78, 44}}, {1, {20, 52, 30}}});
    cairo_arc(cr, cx, cy, r - 1, 0, 2 * M_PI);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_save(cr);
    cairo_translate(cr, cx - r * 0.3, cy - r * 0.42);
    cairo_scale(cr, r * 0.42, r * 0.24);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, lit ? 0.8 : 0.35);
    cairo_fill(cr);
}

void info_label(cairo_t* cr) {
    rounded_rect_path(cr, 0.5, 0.5, 35.5, 19.5, 3.5);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 20);
    gradient_stops(p, {{0, {255, 246, 170}}, {0.5, {255, 214, 90}}, {1, {236, 160, 40}}});
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    art::set_rgb(cr, {120, 68, 14});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    art::select_font(cr, "DejaVu Sans", 11, true);
    art::set_rgb(cr, {70, 34, 8});
    centred_text(cr, "INFO", 18, 10);
}

void write_buttons(const fs::path& dir) {
    art::Canvas pieces(40, 70);
    cairo_t* cr = pieces.cr();
    lamp(cr, 15, 15, 13.5, true);
    lamp(cr, 10, 40, 9, true);
    lamp(cr, 30, 40, 9, false);
    cairo_save(cr);
    cairo_translate(cr, 0, 50);
    info_label(cr);
    cairo_restore(cr);
    pieces.write_bmp(dir, "button.bmp", art::Key::Black);
}

}  // namespace

void write_menu_bits(const fs::path& dir) {
    write_logo(dir);
    write_buttons(dir);
}

}  // namespace cockpit
