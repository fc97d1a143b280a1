// SPDX-License-Identifier: GPL-3.0-or-later
// The two satellites (whole above, wrecked below), the three Irones riding the first one,
// and the Irone peeking over the second one together with its three switch lamps.
#include "creatures.h"

#include <cmath>
#include <string>

namespace creatures {
namespace {

constexpr Rgb kMetal{182, 190, 208};
constexpr Rgb kFoil{234, 182, 64};
constexpr Rgb kCells{42, 74, 178};
constexpr Rgb kHull{72, 190, 202};
constexpr Rgb kTrim{246, 136, 46};
constexpr Rgb kGlass{40, 60, 120};

void rod(cairo_t* cr, double x0, double y0, double x1, double y1, double w) {
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    art::set_rgb(cr, kOutline);
    cairo_set_line_width(cr, w + 1.6);
    cairo_stroke_preserve(cr);
    art::set_rgb(cr, kMetal);
    cairo_set_line_width(cr, w);
    cairo_stroke(cr);
}

// A solar panel given by its four corners, filled with a grid of cells.
void solar_panel(cairo_t* cr, const double (&q)[4][2], int cols, int rows) {
    auto corner_path = [&] {
        cairo_move_to(cr, q[0][0], q[0][1]);
        for (int i = 1; i < 4; ++i) cairo_line_to(cr, q[i][0], q[i][1]);
        cairo_close_path(cr);
    };
    corner_path();
    cairo_pattern_t* p = cairo_pattern_create_linear(q[0][0], q[0][1], q[2][0], q[2][1]);
    const Rgb a = lighten(kCells, 0.25), b = darken(kCells, 0.25);
    cairo_pattern_add_color_stop_rgb(p, 0, a.r / 255.0, a.g / 255.0, a.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, b.r / 255.0, b.g / 255.0, b.b / 255.0);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_fill(cr);
    auto lerp = [&](int i, int j, double t, int k) { return q[i][k] + (q[j][k] - q[i][k]) * t; };
    art::set_rgb(cr, {130, 170, 240});
    cairo_set_line_width(cr, 0.6);
    for (int c = 1; c < cols; ++c) {
        const double t = static_cast<double>(c) / cols;
        cairo_move_to(cr, lerp(0, 1, t, 0), lerp(0, 1, t, 1));
        cairo_line_to(cr, lerp(3, 2, t, 0), lerp(3, 2, t, 1));
    }
    for (int r = 1; r < rows; ++r) {
        const double t = static_cast<double>(r) / rows;
        cairo_move_to(cr, lerp(0, 3, t, 0), lerp(0, 3, t, 1));
        cairo_line_to(cr, lerp(1, 2, t, 0), lerp(1, 2, t, 1));
    }
    cairo_stroke(cr);
    corner_path();
    art::set_rgb(cr, kFoil);
    cairo_set_line_width(cr, 2.2);
    cairo_stroke_preserve(cr);
    art::set_rgb(cr, kOutline);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
}

void spark(cairo_t* cr, double x, double y, double r) {
    cairo_move_to(cr, x, y - r);
    for (int k = 1; k < 8; ++k) {
        const double a = -kPi / 2 + k * kPi / 4;
        const double rr = k % 2 ? r * 0.32 : r;
        cairo_line_to(cr, x + rr * std::cos(a), y + rr * std::sin(a));
    }
    cairo_close_path(cr);
    art::set_rgb(cr, {255, 240, 110});
    cairo_fill_preserve(cr);
    art::set_rgb(cr, {255, 130, 30});
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
}

// Soot over the figure only (ATOP), so nothing smudges empty space.
void scorch(cairo_t* cr, double x, double y, double r) {
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
    cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, r);
    cairo_pattern_add_color_stop_rgba(p, 0, 0.16, 0.11, 0.13, 0.9);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.16, 0.11, 0.13, 0);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_paint(cr);
    cairo_restore(cr);
}

// A torn hole: dark inside with a glowing rim.
void torn_hole(cairo_t* cr, double x, double y, double r, art::Rng& rng) {
    const int n = 11;
    cairo_new_path(cr);
    for (int i = 0; i < n; ++i) {
        const double a = 2 * kPi * i / n, rr = r * (i % 2 ? rng.range(0.45, 0.7) : rng.range(0.9, 1.15));
        cairo_line_to(cr, x + rr * std::cos(a), y + rr * 0.8 * std::sin(a));
    }
    cairo_close_path(cr);
    art::set_rgb(cr, {40, 20, 30});
    cairo_fill_preserve(cr);
    art::set_rgb(cr, {255, 140, 40});
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
}

// Cuts jagged gaps out of what is drawn (a shattered panel, a snapped boom).
void cut(cairo_t* cr, const double (*pts)[2], int n) {
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_move_to(cr, pts[0][0], pts[0][1]);
    for (int i = 1; i < n; ++i) cairo_line_to(cr, pts[i][0], pts[i][1]);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_restore(cr);
}

// ---- First satellite: 120 x 100 ----------------------------------------------------------
// Its Irones stand on the body top (y 24, around x 62), on the deck (top y 86..89, around
// x 84) and hang from the deck's right end (x 111..116, bottom y 95).

void dish(cairo_t* cr) {
    rod(cr, 45, 28, 30, 17, 2.0);
    cairo_save(cr);
    cairo_translate(cr, 25, 13);
    cairo_rotate(cr, -0.6);
    ellipse_path(cr, 0, 0, 13, 5.5);
    set_ball_shading(cr, 0, 0, 13, 5.5, {236, 238, 246});
    fill_and_ink(cr, 1);
    ellipse_path(cr, 0, -0.5, 9, 3.2);
    art::set_rgb(cr, {196, 200, 216});
    cairo_fill(cr);
    cairo_restore(cr);
    rod(cr, 25, 13, 17, 6, 1.0);
    ellipse_path(cr, 16.5, 5.5, 2.2, 2.2);
    art::set_rgb(cr, {255, 80, 80});
    fill_and_ink(cr, 0.8);
}

void body_bus(cairo_t* cr) {
    const double oct[8][2] = {{46, 24}, {70, 24}, {75, 29}, {75, 67}, {70, 72}, {46, 72}, {41, 67}, {41, 29}};
    for (double x : {49.0, 61.0}) {
        cairo_move_to(cr, x + 1, 71);
        cairo_line_to(cr, x + 5, 71);
        cairo_line_to(cr, x + 7, 78);
        cairo_line_to(cr, x - 1, 78);
        cairo_close_path(cr);
        set_cylinder_shading(cr, x - 1, x + 7, {150, 150, 170});
        fill_and_ink(cr, 0.8);
    }
    auto outline = [&] {
        cairo_move_to(cr, oct[0][0], oct[0][1]);
        for (int i = 1; i < 8; ++i) cairo_line_to(cr, oct[i][0], oct[i][1]);
        cairo_close_path(cr);
    };
    outline();
    set_cylinder_shading(cr, 41, 75, kFoil);
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    // Crinkled insulation foil.
    art::Rng rng(0x5A7E1100);
    art::set_rgb(cr, darken(kFoil, 0.3));
    cairo_set_line_width(cr, 0.6);
    for (int i = 0; i < 16; ++i) {
        const double x = rng.range(41, 75), y = rng.range(24, 72);
        cairo_move_to(cr, x, y);
        // The draws are named one by one because a call leaves the order of its arguments open,
        // and two compilers would crinkle the foil differently; the pictures were drawn taking
        // the last argument first.
        const double dy = rng.range(2, 6);
        const double dx = rng.range(-4, 4);
        cairo_line_to(cr, x + dx, y + dy);
    }
    cairo_stroke(cr);
    cairo_rectangle(cr, 41, 46, 34, 8);
    set_cylinder_shading(cr, 41, 75, kMetal);
    cairo_fill(cr);
    cairo_restore(cr);
    outline();
    art::set_rgb(cr, kOutline);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // Sensor lens and status lights.
    ellipse_path(cr, 58, 36, 5.5, 5.5);
    art::set_rgb(cr, {150, 150, 170});
    fill_and_ink(cr, 1);
    ellipse_path(cr, 58, 36, 3.6, 3.6);
    set_ball_shading(cr, 58, 36, 3.6, 3.6, kGlass);
    cairo_fill(cr);
    const Rgb lights[4] = {{255, 80, 80}, {120, 255, 120}, {255, 230, 80}, {100, 200, 255}};
    for (int i = 0; i < 4; ++i) {
        ellipse_path(cr, 47 + i * 7.3, 50, 1.4, 1.4);
        art::set_rgb(cr, lights[i]);
        fill_and_ink(cr, 0.5);
    }
}

void deck(cairo_t* cr) {
    rod(cr, 68, 70, 78, 87, 2.4);
    rod(cr, 74, 62, 100, 87, 1.6);
    // Walkway on top, solar cells on its front face.
    cairo_rectangle(cr, 62, 86, 56, 3.5);
    set_cylinder_shading(cr, 62, 118, kMetal);
    fill_and_ink(cr, 0.8);
    const double front[4][2] = {{62, 89.5}, {118, 89.5}, {118, 95}, {62, 95}};
    solar_panel(cr, front, 9, 1);
}

void left_wing(cairo_t* cr) {
    rod(cr, 42, 50, 30, 49, 2.0);
    const double q[4][2] = {{3, 38}, {31, 35}, {31, 62}, {3, 59}};
    solar_panel(cr, q, 4, 3);
}

void paint_satellite(cairo_t* cr, bool wrecked) {
    art::Rng rng(wrecked ? 0x5A7E1201 : 0x5A7E1200);
    if (!wrecked) dish(cr);
    left_wing(cr);
    deck(cr);
    body_bus(cr);
    if (!wrecked) return;
    // The dish is gone: a bent stub; panels shattered; the deck snapped; the body torn open.
    rod(cr, 45, 28, 38, 22, 2.0);
    rod(cr, 38, 22, 36, 15, 1.6);
    const double gap1[5][2] = {{2, 44}, {14, 41}, {10, 50}, {17, 56}, {2, 57}};
    cut(cr, gap1, 5);
    const double gap2[4][2] = {{22, 34}, {32, 34}, {32, 46}, {25, 41}};
    cut(cr, gap2, 4);
    const double gap3[6][2] = {{88, 84}, {93, 84}, {90, 89}, {95, 96}, {86, 96}, {89, 90}};
    cut(cr, gap3, 6);
    scorch(cr, 62, 40, 18);
    scorch(cr, 20, 50, 12);
    scorch(cr, 100, 92, 12);
    torn_hole(cr, 64, 58, 8, rng);
    for (int i = 0; i < 5; ++i) {
        // Drawn last argument first, as the picture always was (see the foil above).
        const double r = rng.range(3, 5), y = rng.range(20, 90), x = rng.range(40, 110);
        spark(cr, x, y, r);
    }
    // Debris drifting away.
    for (int i = 0; i < 5; ++i) {
        const double x = rng.range(8, 112), y = rng.range(4, 30), r = rng.range(1.8, 3.2);
        cairo_move_to(cr, x - r, y);
        cairo_line_to(cr, x, y - r * 0.8);
        cairo_line_to(cr, x + r, y + r * 0.3);
        cairo_line_to(cr, x - r * 0.2, y + r);
        cairo_close_path(cr);
        art::set_rgb(cr, i % 2 ? kFoil : kMetal);
        fill_and_ink(cr, 0.7);
    }
}

// ---- Second satellite: 100 x 120 ---------------------------------------------------------
// Its Irone stands behind the hull at x 48..78 and looks over the hull's top edge (y 28);
// when it ducks it sinks left and down behind the hull, so x 28..78, y 28..80 is solid hull
// and nothing of the satellite stands above the hull there. The switch sockets sit where the
// lamps of the Irone's sheet are drawn: (27, 0), (45, 110) and (90, 63), 10 x 10 each.

constexpr double kSwitch[3][2] = {{27, 0}, {45, 110}, {90, 63}};

void lamp(cairo_t* cr, double x, double y, int number, bool lit) {
    const double cx = x + 5, cy = y + 5;
    ellipse_path(cr, cx, cy, 4.7, 4.7);
    art::set_rgb(cr, {84, 84, 104});
    fill_and_ink(cr, 0.8);
    ellipse_path(cr, cx, cy, 3.6, 3.6);
    set_ball_shading(cr, cx, cy, 3.6, 3.6, lit ? Rgb{126, 255, 108} : Rgb{116, 34, 46});
    cairo_fill(cr);
    // The number tells the order in which the switches have to be shot.
    art::select_font(cr, "DejaVu Sans", 6.5, true);
    const std::string text = std::to_string(number);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    cairo_move_to(cr, cx - ext.x_bearing - ext.width / 2, cy - ext.y_bearing - ext.height / 2);
    art::set_rgb(cr, lit ? Rgb{20, 92, 30} : Rgb{190, 120, 120});
    cairo_show_text(cr, text.c_str());
}

void hull_path(cairo_t* cr) { rounded_rect_path(cr, 10, 28, 80, 78, 16); }

void paint_satellite2(cairo_t* cr, bool wrecked) {
    art::Rng rng(wrecked ? 0x5A7E2201 : 0x5A7E2200);
    // Side panel, masts and stalks first, the hull over their feet.
    rod(cr, 12, 68, 6, 68, 2.0);
    const double panel[4][2] = {{0.5, 44}, {8, 46}, {8, 92}, {0.5, 94}};
    solar_panel(cr, panel, 1, 5);
    rod(cr, 32, 30, 32, 9, 2.4);
    rod(cr, 86, 34, 86, 12, 1.2);
    ellipse_path(cr, 86, 11, 2, 2);
    art::set_rgb(cr, {255, 90, 90});
    fill_and_ink(cr, 0.7);
    rod(cr, 50, 104, 50, 111, 3.0);
    rod(cr, 88, 68, 92, 68, 3.0);
    for (double x : {22.0, 70.0}) {
        cairo_move_to(cr, x, 103);
        cairo_line_to(cr, x + 8, 103);
        cairo_line_to(cr, x + 10, 110);
        cairo_line_to(cr, x - 2, 110);
        cairo_close_path(cr);
        set_cylinder_shading(cr, x - 2, x + 10, {150, 150, 170});
        fill_and_ink(cr, 0.8);
    }

    hull_path(cr);
    set_cylinder_shading(cr, 10, 90, kHull);
    cairo_fill(cr);
    cairo_save(cr);
    hull_path(cr);
    cairo_clip(cr);
    cairo_rectangle(cr, 10, 82, 80, 5);
    art::set_rgb(cr, kTrim);
    cairo_fill(cr);
    art::set_rgb(cr, darken(kHull, 0.35));
    cairo_set_line_width(cr, 0.8);
    cairo_move_to(cr, 10, 50);
    cairo_line_to(cr, 90, 50);
    cairo_move_to(cr, 62, 50);
    cairo_line_to(cr, 62, 82);
    cairo_stroke(cr);
    // The hatch the Irone looks out of.
    rounded_rect_path(cr, 47, 25, 32, 8, 3);
    art::set_rgb(cr, darken(kHull, 0.3));
    cairo_fill(cr);
    for (double x = 16; x < 90; x += 8) {
        for (double y : {53.0, 79.0}) {
            ellipse_path(cr, x, y, 0.9, 0.9);
            art::set_rgb(cr, lighten(kHull, 0.5));
            cairo_fill(cr);
        }
    }
    cairo_restore(cr);
    hull_path(cr);
    art::set_rgb(cr, kOutline);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);

    ellipse_path(cr, 34, 66, 10, 10);
    set_ball_shading(cr, 34, 66, 10, 10, {214, 170, 70});
    fill_and_ink(cr, 1);
    ellipse_path(cr, 34, 66, 7, 7);
    set_ball_shading(cr, 34, 66, 7, 7, kGlass);
    cairo_fill(cr);
    ellipse_path(cr, 31.5, 63, 2, 1.4);
    art::set_rgb(cr, {200, 220, 255});
    cairo_fill(cr);
    rounded_rect_path(cr, 68, 58, 14, 18, 2);
    art::set_rgb(cr, darken(kHull, 0.2));
    fill_and_ink(cr, 0.8);
    for (int i = 0; i < 3; ++i) {
        cairo_rectangle(cr, 70.5, 61 + i * 5, 9, 2);
        art::set_rgb(cr, i == 1 ? Rgb{255, 220, 90} : Rgb{120, 230, 255});
        cairo_fill(cr);
    }

    for (int n = 0; n < 3; ++n) lamp(cr, kSwitch[n][0], kSwitch[n][1], n + 1, false);

    if (!wrecked) return;
    const double gap1[5][2] = {{0, 60}, {6, 58}, {3, 66}, {9, 72}, {0, 74}};
    cut(cr, gap1, 5);
    scorch(cr, 40, 60, 22);
    scorch(cr, 75, 92, 14);
    torn_hole(cr, 55, 70, 10, rng);
    torn_hole(cr, 24, 92, 6, rng);
    art::set_rgb(cr, {30, 26, 40});
    cairo_set_line_width(cr, 1.2);
    cairo_move_to(cr, 70, 32);
    cairo_line_to(cr, 64, 40);
    cairo_line_to(cr, 68, 46);
    cairo_line_to(cr, 60, 56);
    cairo_stroke(cr);
    for (int i = 0; i < 5; ++i) {
        // Drawn last argument first, as the picture always was (see the first satellite's foil).
        const double r = rng.range(3, 5), y = rng.range(35, 100), x = rng.range(15, 88);
        spark(cr, x, y, r);
    }
}

void write_satellite_irones(const fs::path& dir) {
    art::Canvas sheet(93, 34);
    struct Rider {
        double feet_x, feet_y, yaw;
        Arms arms;
    };
    const Rider riders[3] = {
        {15.5, 33.5, 0.35, Arms::Waving},  // on top of the body
        {15.5, 30.0, -0.6, Arms::Riding},  // on the deck
        {10.5, 32.0, 0.0, Arms::Hanging},  // hanging from the deck's end
    };
    for (int n = 0; n < 3; ++n) {
        draw_cell(sheet, n * 31, 0, 31, 34, [&](cairo_t* cr) {
            IronePose pose;
            pose.x = riders[n].feet_x;
            pose.y = riders[n].feet_y;
            pose.scale = 0.72;
            pose.yaw = riders[n].yaw;
            pose.arms = riders[n].arms;
            pose.outline_px = 0.85;
            draw_irone(cr, pose);
        });
    }
    write_sheet(sheet, dir, "satelitirone.bmp");
}

void write_satellite2_irone(const fs::path& dir) {
    art::Canvas sheet(40, 39);
    draw_cell(sheet, 0, 0, 30, 39, [](cairo_t* cr) {
        IronePose pose;
        pose.x = 15;
        pose.y = 38;
        pose.scale = 0.85;
        pose.arms = Arms::Peeking;
        pose.outline_px = 0.85;
        draw_irone(cr, pose);
    });
    for (int n = 0; n < 3; ++n) draw_cell(sheet, 30, n * 10, 10, 10, [n](cairo_t* cr) { lamp(cr, 0, 0, n + 1, true); });
    write_sheet(sheet, dir, "satelit2irone.bmp");
}

}  // namespace

void write_satellites(const fs::path& dir) {
    art::Canvas first(120, 200);
    for (int row = 0; row < 2; ++row)
        draw_cell(first, 0, row * 100, 120, 100, [row](cairo_t* cr) { paint_satellite(cr, row == 1); });
    write_sheet(first, dir, "satelit.bmp");
    write_satellite_irones(dir);

    art::Canvas second(100, 240);
    for (int row = 0; row < 2; ++row)
        draw_cell(second, 0, row * 120, 100, 120, [row](cairo_t* cr) { paint_satellite2(cr, row == 1); });
    write_sheet(second, dir, "satelit2.bmp");
    write_satellite2_irone(dir);
}

}  // namespace creatures
