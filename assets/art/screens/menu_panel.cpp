// SPDX-License-Identifier: GPL-3.0-or-later
// The menu panel "menue.bmp": brushed metal around the page recess, the lamp column
// START to HILFE on the left and QUIT on the right. Split at x 286 it also makes the two
// doors that slide over the play window when a game starts and ends.
#include "page_kit.h"
#include "screens.h"

#include <algorithm>
#include <cmath>

namespace screens {

namespace {

constexpr int kWidth = 572, kHeight = 360;
constexpr int kSeam = 286;  // the doors part here

// Where the menu lights and hit-tests the buttons, in panel pixels (screen minus (34, 30)).
constexpr double kColumnX = 87;                                 // middle of the lamp column
constexpr double kStartLampY = 65;                              // the big START lamp, 30 x 30 from (72, 50)
constexpr double kSmallLampTop[5] = {101, 143, 185, 227, 269};  // STORY .. HILFE, 20 x 20
constexpr double kQuitLampLeft = 497, kQuitLampTop = 269;
constexpr double kLabelLeft = 66, kLabelRight = 127;  // labels stay clear of the recess

void brushed_metal(art::Canvas& c, art::Rng& rng) {
    cairo_t* cr = c.cr();
    cairo_pattern_t* base = cairo_pattern_create_linear(0, 0, 0, kHeight);
    cairo_pattern_add_color_stop_rgb(base, 0, 0.42, 0.46, 0.54);
    cairo_pattern_add_color_stop_rgb(base, 0.5, 0.34, 0.37, 0.45);
    cairo_pattern_add_color_stop_rgb(base, 1, 0.24, 0.26, 0.33);
    cairo_set_source(cr, base);
    cairo_paint(cr);
    cairo_pattern_destroy(base);
    for (int y = 0; y < kHeight; ++y) {
        for (int n = 0; n < 6; ++n) {
            const double x = rng.range(-60, kWidth), len = rng.range(30, 220);
            const bool light = rng.uniform() < 0.5;
            art::set_rgb(cr, light ? art::Rgb{230, 236, 250} : art::Rgb{20, 24, 34}, rng.range(0.03, 0.09));
            cairo_rectangle(cr, x, y, len, 1);
            cairo_fill(cr);
        }
    }
}

void rivet(cairo_t* cr, double cx, double cy) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - 1, cy - 1, 0.3, cx, cy, 3.2);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.93, 0.95, 1.0);
    cairo_pattern_add_color_stop_rgb(p, 0.6, 0.55, 0.59, 0.67);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.16, 0.18, 0.23);
    cairo_set_source(cr, p);
    cairo_arc(cr, cx, cy, 3.2, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

// Yellow and dark warning stripes, clipped to a rectangle.
void hazard_stripes(cairo_t* cr, double x, double y, double w, double h) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    art::set_rgb(cr, {240, 196, 40});
    cairo_paint(cr);
    art::set_rgb(cr, {34, 32, 30});
    for (double s = x - h; s < x + w; s += 12) {
        cairo_move_to(cr, s, y + h);
        cairo_line_to(cr, s + h, y);
        cairo_line_to(cr, s + h + 6, y);
        cairo_line_to(cr, s + 6, y + h);
        cairo_close_path(cr);
    }
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_set_line_width(cr, 1);
    art::set_rgb(cr, {24, 26, 32});
    cairo_rectangle(cr, x + 0.5, y + 0.5, w - 1, h - 1);
    cairo_stroke(cr);
}

// A dark plate sunk into the metal.
void sunk_plate(cairo_t* cr, double x, double y, double w, double h) {
    rounded_rect(cr, x, y, w, h, 6);
    art::set_rgb(cr, {26, 30, 42});
    cairo_fill(cr);
    cairo_set_line_width(cr, 1);
    rounded_rect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 6);
    art::set_rgb(cr, {12, 14, 20});
    cairo_stroke(cr);
    cairo_move_to(cr, x + 6, y + h + 0.5);
    cairo_line_to(cr, x + w - 6, y + h + 0.5);
    art::set_rgb(cr, {170, 180, 200}, 0.6);
    cairo_stroke(cr);
}

// The recess behind the page: seen only while the doors slide, so it carries the lock.
void page_recess(cairo_t* cr) {
    const double x = 132, y = 52, w = 320, h = 240;
    // Bevel: shadow on the top and left, light on the bottom and right.
    art::set_rgb(cr, {16, 18, 26});
    cairo_rectangle(cr, x - 3, y - 3, w + 6, h + 6);
    cairo_fill(cr);
    art::set_rgb(cr, {150, 160, 180});
    cairo_rectangle(cr, x - 1, y + h, w + 4, 3);
    cairo_rectangle(cr, x + w, y - 1, 3, h + 4);
    cairo_fill(cr);

    cairo_pattern_t* bg = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(bg, 0, kScreenTop.r / 255.0, kScreenTop.g / 255.0, kScreenTop.b / 255.0);
    cairo_pattern_add_color_stop_rgb(bg, 1, kScreenBottom.r / 255.0, kScreenBottom.g / 255.0, kScreenBottom.b / 255.0);
    cairo_set_source(cr, bg);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    cairo_pattern_destroy(bg);
    cairo_set_line_width(cr, 1);
    art::set_rgb(cr, {40, 70, 120}, 0.35);
    for (double gx = x + 16; gx < x + w; gx += 16) {
        cairo_move_to(cr, gx + 0.5, y);
        cairo_line_to(cr, gx + 0.5, y + h);
    }
    for (double gy = y + 16; gy < y + h; gy += 16) {
        cairo_move_to(cr, x, gy + 0.5);
        cairo_line_to(cr, x + w, gy + 0.5);
    }
    cairo_stroke(cr);

    // The lock, centred on the seam so that each door carries one half of it.
    const double cx = kSeam, cy = y + h / 2;
    cairo_pattern_t* ring = cairo_pattern_create_linear(cx - 40, cy - 40, cx + 40, cy + 40);
    cairo_pattern_add_color_stop_rgb(ring, 0, 0.80, 0.84, 0.90);
    cairo_pattern_add_color_stop_rgb(ring, 1, 0.26, 0.29, 0.36);
    cairo_set_source(cr, ring);
    cairo_arc(cr, cx, cy, 40, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(ring);
    art::set_rgb(cr, {30, 36, 56});
    cairo_arc(cr, cx, cy, 33, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_line_width(cr, 2);
    art::set_rgb(cr, kFrame, 0.8);
    cairo_arc(cr, cx, cy, 27, 0, 2 * M_PI);
    cairo_stroke(cr);
    text(cr, cx, cy + 12, "V", {34, true, kHeading}, Align::Centre);
    for (int k = 0; k < 8; ++k) {
        const double a = k * M_PI / 4 + M_PI / 8;
        rivet(cr, cx + 36.5 * std::cos(a), cy + 36.5 * std::sin(a));
    }
}

void door_seam(cairo_t* cr) {
    art::set_rgb(cr, {18, 20, 28});
    cairo_rectangle(cr, kSeam - 1, 0, 2, kHeight);
    cairo_fill(cr);
    art::set_rgb(cr, {60, 64, 76});
    cairo_rectangle(cr, kSeam - 2, 0, 1, kHeight);
    cairo_fill(cr);
    art::set_rgb(cr, {190, 198, 214}, 0.7);
    cairo_rectangle(cr, kSeam + 1, 0, 1, kHeight);
    cairo_fill(cr);
}

void main_label(cairo_t* cr, const std::string& label, double centre_x, double baseline, double left, double right) {
    const TextStyle style{11, true, {232, 238, 226}};
    const double w = std::min(text_width(cr, label, style), right - left);
    const double x = std::clamp(centre_x - w / 2, left, right - w);
    text(cr, x, baseline, label, style, Align::Left, right - left);
}

void lamp_column(cairo_t* cr) {
    sunk_plate(cr, 62, 42, 67, 266);
    lamp(cr, kColumnX, kStartLampY, 13, LampColour::Green, LampLook::Normal);
    main_label(cr, "START", kColumnX, 90, kLabelLeft, kLabelRight);
    const char* labels[5] = {"STORY", "PREFERENCES", "HIGH SCORE", "IMPRESSUM", "HILFE"};
    for (int i = 0; i < 5; ++i) {
        small_lamp(cr, kColumnX - 10, kSmallLampTop[i], LampColour::Green, LampLook::Normal);
        main_label(cr, labels[i], kColumnX, kSmallLampTop[i] + 31, kLabelLeft, kLabelRight);
    }
    // Thin rules between the stripes the buttons answer to (43 pixels each from y 48).
    cairo_set_line_width(cr, 1);
    art::set_rgb(cr, {70, 80, 104}, 0.7);
    for (int n = 1; n < 6; ++n) {
        const double y = 48 + 43 * n + 0.5;
        cairo_move_to(cr, 68, y);
        cairo_line_to(cr, 123, y);
    }
    cairo_stroke(cr);

    sunk_plate(cr, 486, 258, 42, 50);
    small_lamp(cr, kQuitLampLeft, kQuitLampTop, LampColour::Red, LampLook::Normal);
    main_label(cr, "QUIT", kQuitLampLeft + 10, kQuitLampTop + 32, 488, 517);
}

void right_vents(cairo_t* cr) {
    sunk_plate(cr, 468, 70, 30, 170);
    for (double y = 78; y < 234; y += 9) {
        rounded_rect(cr, 473, y, 20, 4, 2);
        art::set_rgb(cr, {10, 12, 18});
        cairo_fill(cr);
        art::set_rgb(cr, {120, 130, 150}, 0.5);
        cairo_rectangle(cr, 474, y + 4, 18, 1);
        cairo_fill(cr);
    }
    // Two status diodes above the vents.
    lamp(cr, 476, 56, 3, LampColour::Green, LampLook::Bright);
    lamp(cr, 490, 56, 3, LampColour::Red, LampLook::Normal);
}

}  // namespace

void draw_menu_panel(const std::filesystem::path& dir) {
    art::Canvas c(kWidth, kHeight);
    cairo_t* cr = c.cr();
    art::Rng rng(0x3E7A11ull);
    brushed_metal(c, rng);
    page_recess(cr);
    hazard_stripes(cr, kSeam - 22, 10, 44, 30);
    hazard_stripes(cr, kSeam - 22, 302, 44, 16);
    door_seam(cr);
    lamp_column(cr);
    right_vents(cr);
    for (double x : {150.0, 230.0, 342.0, 434.0}) {
        rivet(cr, x, 24);
        rivet(cr, x, 310);
    }
    for (double y : {24.0, 316.0}) {
        rivet(cr, 108, y);
        rivet(cr, 508, y);
    }
    c.write_bmp(dir, "menue.bmp", art::Key::Black);
}

}  // namespace screens
