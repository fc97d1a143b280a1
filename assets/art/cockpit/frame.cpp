// SPDX-License-Identifier: GPL-3.0-or-later
// The cockpit frame: one 640 x 480 picture of brushed metal around the view, cut into the top bar,
// the two side pieces and the bottom panel, so that the four pieces meet without a seam.
#include "cockpit.h"

#include <cmath>
#include <utility>

namespace cockpit {
namespace {

const art::Rgb kSteel{146, 156, 172};

// The clear view is a rounded rectangle two pixels inside the play window; the frame's dark
// outline covers those two pixels, so the frame's edge is drawn over the outermost world pixels.
constexpr double kViewL = 36, kViewT = 32, kViewR = 604, kViewB = 388, kViewRadius = 18;

void frame_path(cairo_t* cr) {
    cairo_rectangle(cr, 0, 0, 640, 480);
    rounded_rect_path(cr, kViewL, kViewT, kViewR, kViewB, kViewRadius);
}

void metal_panels(art::Canvas& s) {
    auto zone = [](double y0, double y1) {
        return [y0, y1](cairo_t* m) {
            cairo_rectangle(m, 0, y0, 640, y1 - y0);
            cairo_clip(m);
            frame_path(m);
        };
    };
    brushed_metal(s, zone(0, 30), kSteel, Grain::Horizontal, 101);
    brushed_metal(s, zone(30, 390), kSteel, Grain::Vertical, 102);
    brushed_metal(s, zone(390, 480), kSteel, Grain::Horizontal, 103);
}

// Broad light and shade over the metal: light comes from the upper left.
void panel_shading(cairo_t* cr) {
    cairo_save(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    frame_path(cr);
    cairo_clip(cr);

    auto band = [cr](double x0, double y0, double x1, double y1, double gx0, double gy0, double gx1, double gy1,
                     double top_light, double bottom_dark) {
        cairo_pattern_t* p = cairo_pattern_create_linear(gx0, gy0, gx1, gy1);
        cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, top_light);
        cairo_pattern_add_color_stop_rgba(p, 0.35, 1, 1, 1, 0);
        cairo_pattern_add_color_stop_rgba(p, 0.65, 0, 0, 0.05, 0);
        cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0.05, bottom_dark);
        cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    };
    band(0, 0, 640, 30, 0, 0, 0, 30, 0.35, 0.30);
    band(0, 30, 36, 390, 0, 0, 36, 0, 0.30, 0.25);
    band(604, 30, 640, 390, 604, 0, 640, 0, 0.30, 0.35);
    band(0, 390, 640, 480, 0, 390, 0, 480, 0.30, 0.40);
    cairo_restore(cr);
}

// Where the top bar meets the side pieces, and the side pieces meet the bottom panel: each seam
// runs from the screen's edge into the bevel around the view.
void seams(cairo_t* cr) {
    cairo_save(cr);
    cairo_set_line_width(cr, 1);
    const struct { double y, reach; } rows[2] = {{29.5, 48}, {389.5, 46}};
    for (const auto& row : rows) {
        for (auto [x0, x1] : {std::pair{0.0, row.reach}, std::pair{640 - row.reach, 640.0}}) {
            cairo_move_to(cr, x0, row.y);
            cairo_line_to(cr, x1, row.y);
            cairo_set_source_rgba(cr, 0.08, 0.09, 0.12, 0.8);
            cairo_stroke(cr);
            cairo_move_to(cr, x0, row.y + 1);
            cairo_line_to(cr, x1, row.y + 1);
            cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
            cairo_stroke(cr);
        }
    }
    cairo_restore(cr);
}

// Yellow and black warning plates low on the side pieces.
void hazard_plate(cairo_t* cr, double x0, double y0, double x1, double y1) {
    cairo_save(cr);
    rounded_rect_path(cr, x0, y0, x1, y1, 2.5);
    cairo_clip_preserve(cr);
    art::set_rgb(cr, {250, 196, 40});
    cairo_fill(cr);
    for (double k = y0 - (x1 - x0); k < y1; k += 10) {
        cairo_move_to(cr, x0, k);
        cairo_line_to(cr, x1, k + (x1 - x0));
        cairo_line_to(cr, x1, k + (x1 - x0) + 5);
        cairo_line_to(cr, x0, k + 5);
        cairo_close_path(cr);
    }
    art::set_rgb(cr, {34, 32, 36});
    cairo_fill(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0.30);
    cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0, 0.20);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    cairo_reset_clip(cr);
    rounded_rect_path(cr, x0, y0, x1, y1, 2.5);
    cairo_set_line_width(cr, 1.2);
    art::set_rgb(cr, {24, 26, 32});
    cairo_stroke(cr);
    cairo_restore(cr);
}

// The lip around the view: a bevel that faces into the opening, then a dark outline.
void view_edge(cairo_t* cr) {
    cairo_save(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 30, 0, 392);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.30, 0.33, 0.40);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 0.55, 0.59, 0.66);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.90, 0.93, 0.97);
    rounded_rect_path(cr, kViewL - 3.5, kViewT - 3.5, kViewR + 3.5, kViewB + 3.5, kViewRadius + 3.5);
    cairo_set_line_width(cr, 3);
    cairo_set_source(cr, p);
    cairo_stroke(cr);
    cairo_pattern_destroy(p);

    rounded_rect_path(cr, kViewL - 1, kViewT - 1, kViewR + 1, kViewB + 1, kViewRadius + 1);
    cairo_set_line_width(cr, 2);
    cairo_set_source_rgb(cr, 0.09, 0.10, 0.14);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void rivets(cairo_t* cr) {
    for (double x : {12.0, 48.0, 84.0, 120.0, 520.0, 556.0, 592.0, 628.0}) rivet(cr, x, 14.5, 2.3);
    for (double y = 62; y < 290; y += 48) {
        rivet(cr, 17, y, 2.3);
        rivet(cr, 623, y, 2.3);
    }
    for (double x = 16; x < 640; x += 39) rivet(cr, x, 471.5, 2.3);
    rivet(cr, 17, 404, 2.3);
    rivet(cr, 623, 404, 2.3);
    rivet(cr, 17, 440, 2.3);
    rivet(cr, 623, 440, 2.3);
}

// Louvres in the panel between the domes.
void vents(cairo_t* cr, double x0, double x1, double y0, int slots) {
    cairo_save(cr);
    for (int i = 0; i < slots; ++i) {
        const double y = y0 + i * 8;
        rounded_rect_path(cr, x0, y, x1, y + 4, 2);
        cairo_set_source_rgb(cr, 0.11, 0.12, 0.16);
        cairo_fill(cr);
        cairo_move_to(cr, x0 + 2, y + 4.5);
        cairo_line_to(cr, x1 - 2, y + 4.5);
        cairo_set_line_width(cr, 1);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.5);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

// Three small indicator lamps on the top bar, right of the ammunition bar.
void status_lamps(cairo_t* cr) {
    const art::Rgb colours[3] = {{90, 230, 110}, {255, 190, 60}, {240, 70, 60}};
    for (int i = 0; i < 3; ++i) {
        const double x = 452 + i * 14, y = 15;
        cairo_arc(cr, x, y, 4.6, 0, 2 * M_PI);
        cairo_set_source_rgb(cr, 0.12, 0.13, 0.17);
        cairo_fill(cr);
        const art::Rgb c = colours[i];
        cairo_pattern_t* p = cairo_pattern_create_radial(x - 1.2, y - 1.4, 0.3, x, y, 3.6);
        const art::Rgb hi = art::mix(c, {255, 255, 240}, 0.6);
        cairo_pattern_add_color_stop_rgb(p, 0, hi.r / 255.0, hi.g / 255.0, hi.b / 255.0);
        cairo_pattern_add_color_stop_rgb(p, 0.6, c.r / 255.0, c.g / 255.0, c.b / 255.0);
        cairo_pattern_add_color_stop_rgb(p, 1, c.r / 510.0, c.g / 510.0, c.b / 510.0);
        cairo_arc(cr, x, y, 3.6, 0, 2 * M_PI);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
}

// Labels stamped into the metal: dark letters with a light lower edge.
void stamped_label(cairo_t* cr, const char* text, double cx, double cy, double size) {
    art::select_font(cr, "DejaVu Sans", size, true);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
    centred_text(cr, text, cx + 0.5, cy + 1);
    cairo_set_source_rgb(cr, 0.16, 0.18, 0.24);
    centred_text(cr, text, cx, cy);
}

}  // namespace

void draw_cockpit(art::Canvas& s, const CockpitLook& look) {
    cairo_t* cr = s.cr();
    metal_panels(s);
    panel_shading(cr);
    seams(cr);
    view_edge(cr);
    rivets(cr);
    hazard_plate(cr, 8, 296, 27, 350);
    hazard_plate(cr, 613, 296, 632, 350);
    vents(cr, 176, 224, 404, 6);
    vents(cr, 416, 452, 404, 6);
    status_lamps(cr);
    stamped_label(cr, "MUNITION", 170, 15.5, 9);
    draw_ammo_bar(cr, look.ammo);
    draw_portrait_dome(s, look.portrait_stage);
    draw_radar(s);
    draw_counter_dome(s);
}

void write_frame(const fs::path& dir) {
    art::Canvas screen(640, 480);
    draw_cockpit(screen, {});
    art::Canvas top(640, 32), left(98, 320), right(98, 320), bottom(640, 128);
    copy_rect(top, 0, 0, screen, 0, 0, 640, 32);
    copy_rect(left, 0, 0, screen, 0, 32, 98, 320);
    copy_rect(right, 0, 0, screen, 542, 32, 98, 320);
    copy_rect(bottom, 0, 0, screen, 0, kPanelTop, 640, 128);
    top.write_bmp(dir, "oben.bmp", art::Key::Black);
    left.write_bmp(dir, "links.bmp", art::Key::White);
    right.write_bmp(dir, "rechts.bmp", art::Key::White);
    bottom.write_bmp(dir, "unten.bmp", art::Key::White);
}

}  // namespace cockpit
