// SPDX-License-Identifier: GPL-3.0-or-later
// The big Irone: the same creature, huge and scowling, on its own board. Column 0 flies in
// from the left and faces right, column 1 the mirror; the bottom row is its battered look.
#include "creatures.h"

#include <cmath>

namespace creatures {
namespace {

constexpr int kCell = 320;
constexpr double kFeetX = 160, kFeetY = 255, kScale = 6.2;
constexpr BoardLook kBigBoard{{112, 38, 150}, {150, 244, 62}, {58, 20, 86}};
constexpr BoardShape kBigShape{26, 13, 3.0, 0.25};

void soot(cairo_t* cr, art::Rng& rng) {
    // Painted only where the figure already is (ATOP), so no smudge lands in empty space.
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
    for (int i = 0; i < 14; ++i) {
        const double x = rng.range(80, 240), y = rng.range(60, 290), r = rng.range(10, 20);
        cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, r);
        cairo_pattern_add_color_stop_rgba(p, 0, 50 / 255.0, 34 / 255.0, 40 / 255.0, 0.8);
        cairo_pattern_add_color_stop_rgba(p, 1, 50 / 255.0, 34 / 255.0, 40 / 255.0, 0);
        cairo_set_source(cr, p);
        cairo_pattern_destroy(p);
        ellipse_path(cr, x, y, r, r);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void cracks(cairo_t* cr, art::Rng& rng) {
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    const double starts[6][2] = {{130, 60}, {205, 95}, {150, 150}, {118, 190}, {200, 205}, {165, 232}};
    for (const auto& st : starts) {
        double x = st[0], y = st[1];
        double dir = rng.range(0, 2 * kPi);
        cairo_move_to(cr, x, y);
        const int steps = rng.int_range(4, 6);
        for (int s = 0; s < steps; ++s) {
            dir += rng.range(-0.9, 0.9);
            x += 7 * std::cos(dir);
            y += 7 * std::sin(dir);
            cairo_line_to(cr, x, y);
        }
        art::set_rgb(cr, {36, 16, 34});
        cairo_set_line_width(cr, 2.2);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void smoke(cairo_t* cr, double side) {
    const double puffs[4][3] = {{-38, 48, 15}, {-52, 28, 12}, {-64, 12, 10}, {-24, 30, 9}};
    for (const auto& p : puffs) {
        const double x = kFeetX + side * p[0], y = p[1], r = p[2];
        ellipse_path(cr, x, y, r, r * 0.85);
        set_ball_shading(cr, x, y, r, r * 0.85, {128, 122, 136});
        fill_and_ink(cr, 2.4);
    }
}

void sparks(cairo_t* cr, art::Rng& rng) {
    for (int i = 0; i < 5; ++i) {
        const double x = rng.range(90, 230), y = rng.range(110, 250), r = rng.range(5, 9);
        cairo_move_to(cr, x, y - r);
        for (int k = 1; k < 8; ++k) {
            const double a = -kPi / 2 + k * kPi / 4;
            const double rr = k % 2 ? r * 0.3 : r;
            cairo_line_to(cr, x + rr * std::cos(a), y + rr * std::sin(a));
        }
        cairo_close_path(cr);
        art::set_rgb(cr, {255, 238, 96});
        cairo_fill_preserve(cr);
        art::set_rgb(cr, {255, 128, 24});
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
    }
}

// A bite out of the board's nose: the board is broken after the hit.
void broken_nose(cairo_t* cr, double side) {
    const double nx = kFeetX + side * 62, ny = 288;
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_move_to(cr, nx - side * 4, ny - 40);
    cairo_line_to(cr, nx + side * 14, ny - 6);
    cairo_line_to(cr, nx - side * 2, ny + 4);
    cairo_line_to(cr, nx + side * 20, ny + 14);
    cairo_line_to(cr, nx + side * 10, ny + 40);
    cairo_line_to(cr, nx + side * 120, ny + 40);
    cairo_line_to(cr, nx + side * 120, ny - 40);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_restore(cr);
}

void paint_big_irone(cairo_t* cr, double side, bool damaged) {
    const double yaw = side * 0.45;
    draw_board(cr, kFeetX, kFeetY, kScale, yaw, kBigShape, kBigBoard, 3.0);
    if (damaged) broken_nose(cr, side);
    IronePose pose;
    pose.x = kFeetX;
    pose.y = kFeetY;
    pose.scale = kScale;
    pose.yaw = yaw;
    pose.lean = 0.05;
    pose.arms = Arms::Grabbing;
    pose.mood = Mood::Menacing;
    pose.damaged = damaged;
    pose.outline_px = 3.2;
    draw_irone(cr, pose);
    if (!damaged) return;
    art::Rng rng(side > 0 ? 0x1A0E0001 : 0x1A0E0002);
    soot(cr, rng);
    cracks(cr, rng);
    sparks(cr, rng);
    smoke(cr, side);
}

}  // namespace

void write_big_irone(const fs::path& dir) {
    art::Canvas sheet(2 * kCell, 2 * kCell);
    for (int column = 0; column < 2; ++column)
        for (int row = 0; row < 2; ++row)
            draw_cell(sheet, column * kCell, row * kCell, kCell, kCell,
                      [&](cairo_t* cr) { paint_big_irone(cr, column == 0 ? 1 : -1, row == 1); });
    write_sheet(sheet, dir, "Irone0.bmp");
}

}  // namespace creatures
