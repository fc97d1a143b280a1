// SPDX-License-Identifier: GPL-3.0-or-later
// The instruments built into the frame: the ammunition bar of the top bar (and its spent and
// half-spent segments), the radar dome and the counter dome of the bottom panel.
#include "cockpit.h"

#include <cmath>
#include <utility>

namespace cockpit {
namespace {

// Ammunition bar: eight 26 x 32 segments on the top bar from x = 216.
constexpr int kAmmoLeft = 216, kAmmoCell = 26, kAmmoSegments = 8;

// The radar's marks lie within 69 pixels of its middle, squeezed vertically by 78/128.
constexpr double kRadarX = 320, kRadarY = 410, kRadarRx = 76, kRadarRy = 49;
constexpr double kCounterX = 530, kCounterY = 406, kCounterRx = 60, kCounterRy = 47;

void set(cairo_t* cr, art::Rgb c) { art::set_rgb(cr, c); }

void lamp_fill(cairo_t* cr, double x0, double y0, double x1, double y1, bool lit) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    if (lit) {
        cairo_pattern_add_color_stop_rgb(p, 0, 1.00, 0.93, 0.55);
        cairo_pattern_add_color_stop_rgb(p, 0.45, 1.00, 0.76, 0.20);
        cairo_pattern_add_color_stop_rgb(p, 1, 0.86, 0.42, 0.06);
    } else {
        cairo_pattern_add_color_stop_rgb(p, 0, 0.48, 0.10, 0.12);
        cairo_pattern_add_color_stop_rgb(p, 1, 0.26, 0.04, 0.07);
    }
    rounded_rect_path(cr, x0, y0, x1, y1, 3.5);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void ammo_segment(cairo_t* cr, int k, AmmoLook look) {
    const double x0 = kAmmoLeft + kAmmoCell * k + 3, x1 = x0 + 20, y0 = 7, y1 = 24;
    const double middle = 15.5;
    cairo_save(cr);
    switch (look) {
        case AmmoLook::Full: lamp_fill(cr, x0, y0, x1, y1, true); break;
        case AmmoLook::Spent: lamp_fill(cr, x0, y0, x1, y1, false); break;
        case AmmoLook::HalfSpent:
            // One of the segment's two shots is gone: the charge has sunk to its lower half.
            cairo_save(cr);
            cairo_rectangle(cr, x0 - 1, y0 - 1, 22, middle - y0 + 1);
            cairo_clip(cr);
            lamp_fill(cr, x0, y0, x1, y1, false);
            cairo_restore(cr);
            cairo_save(cr);
            cairo_rectangle(cr, x0 - 1, middle, 22, y1 - middle + 1);
            cairo_clip(cr);
            lamp_fill(cr, x0, y0, x1, y1, true);
            cairo_restore(cr);
            cairo_move_to(cr, x0 + 1, middle);
            cairo_line_to(cr, x1 - 1, middle);
            cairo_set_line_width(cr, 1);
            cairo_set_source_rgb(cr, 0.35, 0.12, 0.05);
            cairo_stroke(cr);
            break;
    }
    // Glass highlight and the lamp's rim.
    rounded_rect_path(cr, x0 + 2, y0 + 1.5, x1 - 2, y0 + 5, 1.6);
    cairo_set_source_rgba(cr, 1, 1, 1, look == AmmoLook::Spent ? 0.22 : 0.5);
    cairo_fill(cr);
    rounded_rect_path(cr, x0, y0, x1, y1, 3.5);
    cairo_set_line_width(cr, 1);
    set(cr, {44, 22, 16});
    cairo_stroke(cr);
    cairo_restore(cr);
}

void radar_face(cairo_t* cr) {
    cairo_save(cr);
    ellipse_path(cr, kRadarX, kRadarY, kRadarRx, kRadarRy);
    cairo_clip(cr);
    cairo_save(cr);
    cairo_translate(cr, kRadarX, kRadarY);
    cairo_scale(cr, kRadarRx, kRadarRy);
    cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.09, 0.30, 0.17);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.02, 0.11, 0.07);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);

    const double squeeze = 78.0 / 128.0;
    cairo_set_line_width(cr, 1);
    for (double r : {23.0, 46.0, 69.0}) {
        ellipse_path(cr, kRadarX, kRadarY + 0.5, r, r * squeeze);
        cairo_set_source_rgba(cr, 0.22, 0.62, 0.34, r == 69.0 ? 0.9 : 0.6);
        cairo_stroke(cr);
    }
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        const double c = std::cos(a), s = std::sin(a) * squeeze;
        const double inner = (i % 3 == 0) ? 0 : 64;
        cairo_move_to(cr, kRadarX + c * inner, kRadarY + 0.5 + s * inner);
        cairo_line_to(cr, kRadarX + c * 74, kRadarY + 0.5 + s * 74);
        cairo_set_source_rgba(cr, 0.22, 0.62, 0.34, i % 3 == 0 ? 0.45 : 0.7);
        cairo_stroke(cr);
    }
    cairo_arc(cr, kRadarX, kRadarY + 0.5, 2, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.45, 0.85, 0.45);
    cairo_fill(cr);
    cairo_restore(cr);
}

// A recessed window for counter drums: dark inside, lit on its lower right lip.
void drum_window(cairo_t* cr, double x0, double y0, double x1, double y1) {
    cairo_save(cr);
    cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.10, 0.10, 0.11);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 0.28, 0.27, 0.26);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.10, 0.10, 0.11);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, x0 + 0.5, y1);
    cairo_line_to(cr, x0 + 0.5, y0 + 0.5);
    cairo_line_to(cr, x1, y0 + 0.5);
    set(cr, {12, 13, 18});
    cairo_stroke(cr);
    cairo_move_to(cr, x1 - 0.5, y0 + 1);
    cairo_line_to(cr, x1 - 0.5, y1 - 0.5);
    cairo_line_to(cr, x0 + 1, y1 - 0.5);
    set(cr, {150, 160, 185});
    cairo_stroke(cr);
    cairo_restore(cr);
}

}  // namespace

void draw_ammo_bar(cairo_t* cr, AmmoLook look) {
    cairo_save(cr);
    const double x0 = kAmmoLeft - 6, x1 = kAmmoLeft + kAmmoCell * kAmmoSegments + 6;
    rounded_rect_path(cr, x0, 3, x1, 28, 6);
    set(cr, {26, 30, 40});
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    set(cr, {14, 16, 22});
    cairo_stroke(cr);
    cairo_move_to(cr, x0 + 5, 28.5);
    cairo_line_to(cr, x1 - 5, 28.5);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
    cairo_stroke(cr);
    for (int k = 0; k < kAmmoSegments; ++k) ammo_segment(cr, k, look);
    cairo_restore(cr);
}

void draw_radar(art::Canvas& s) {
    cairo_t* cr = s.cr();
    dome_bezel(cr, kRadarX, kRadarY, kRadarRx, kRadarRy, 7);
    radar_face(cr);
    glass_shine(cr, kRadarX, kRadarY, kRadarRx, kRadarRy);
}

void draw_counter_dome(art::Canvas& s) {
    cairo_t* cr = s.cr();
    dome_bezel(cr, kCounterX, kCounterY, kCounterRx, kCounterRy, 6);
    cairo_save(cr);
    ellipse_path(cr, kCounterX, kCounterY, kCounterRx, kCounterRy);
    cairo_clip(cr);
    cairo_save(cr);
    cairo_translate(cr, kCounterX, kCounterY);
    cairo_scale(cr, kCounterRx, kCounterRy);
    cairo_pattern_t* p = cairo_pattern_create_radial(0, -0.2, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.19, 0.25, 0.40);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.07, 0.09, 0.17);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
    art::select_font(cr, "DejaVu Sans", 9, true);
    art::set_rgb(cr, {255, 196, 84});
    centred_text(cr, "JAHRE", 532, 370);
    centred_text(cr, "SCORE", 530.5, 439);
    cairo_restore(cr);
    glass_shine(cr, kCounterX, kCounterY, kCounterRx, kCounterRy);

    // The windows and their drums come after the glass's shine: the drums are repainted from
    // the digit sheet while the game runs, so nothing may lie over them.
    const int top = kPanelTop;
    drum_window(cr, 502, top + 25, 562, top + 49);
    drum_window(cr, 483, top + 49, 578, top + 80);
    art::Canvas sheet(93, kDrumBand * 10);
    draw_score_sheet(sheet);
    for (const DrumPlace& d : kYearDrums)
        copy_rect(s, d.panel_x, top + d.panel_y, sheet, d.sheet_x, d.sheet_y, kDrumCell, kDrumCell);
    for (const DrumPlace& d : kScoreDrums)
        copy_rect(s, d.panel_x, top + d.panel_y, sheet, d.sheet_x, d.sheet_y, kDrumCell, kDrumCell);
}

void write_instruments(const fs::path& dir) {
    art::Canvas segments(kAmmoCell * kAmmoSegments, 64);
    for (auto [look, row] : {std::pair{AmmoLook::Spent, 0}, std::pair{AmmoLook::HalfSpent, 32}}) {
        art::Canvas screen(640, 480);
        draw_cockpit(screen, {0, look});
        copy_rect(segments, 0, row, screen, kAmmoLeft, 0, kAmmoCell * kAmmoSegments, 32);
    }
    segments.write_bmp(dir, "oben_rot.bmp", art::Key::Black);
}

}  // namespace cockpit
