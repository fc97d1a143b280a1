// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the game's world for the title, closing and menu pictures.
#include "world_figures.h"

#include <cmath>

namespace screens {

namespace {

constexpr art::Rgb kInk{26, 20, 44};  // comic outline colour

void source(cairo_pattern_t* p, double at, art::Rgb c, double alpha = 1.0) {
    cairo_pattern_add_color_stop_rgba(p, at, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

art::Rgb scale_rgb(art::Rgb c, double f) {
    auto s = [f](uint8_t v) { return static_cast<uint8_t>(std::lround(std::min(255.0, v * f))); };
    return {s(c.r), s(c.g), s(c.b)};
}

void fill_and_ink(cairo_t* cr, double width) {
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    art::set_rgb(cr, kInk);
    cairo_stroke(cr);
}

void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
}

}  // namespace

void nebula(cairo_t* cr, double cx, double cy, double rx, double ry, art::Rgb colour, double alpha) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    source(p, 0, colour, alpha);
    source(p, 0.5, colour, alpha * 0.45);
    source(p, 1, colour, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}

void sparkle(cairo_t* cr, double cx, double cy, double size, art::Rgb colour) {
    nebula(cr, cx, cy, size * 0.6, size * 0.6, colour, 0.45);
    art::set_rgb(cr, colour, 0.9);
    const double t = std::max(0.6, size * 0.09);
    cairo_move_to(cr, cx - size, cy);
    cairo_line_to(cr, cx, cy - t);
    cairo_line_to(cr, cx + size, cy);
    cairo_line_to(cr, cx, cy + t);
    cairo_close_path(cr);
    cairo_move_to(cr, cx, cy - size);
    cairo_line_to(cr, cx + t, cy);
    cairo_line_to(cr, cx, cy + size);
    cairo_line_to(cr, cx - t, cy);
    cairo_close_path(cr);
    cairo_fill(cr);
    art::set_rgb(cr, {255, 255, 255});
    cairo_arc(cr, cx, cy, std::max(0.8, size * 0.14), 0, 2 * M_PI);
    cairo_fill(cr);
}

void space_backdrop(art::Canvas& c, art::Rng& rng, art::Rgb top, art::Rgb bottom, int stars) {
    cairo_t* cr = c.cr();
    const double w = c.width(), h = c.height();
    cairo_pattern_t* bg = cairo_pattern_create_linear(0, 0, 0, h);
    source(bg, 0, top);
    source(bg, 1, bottom);
    cairo_set_source(cr, bg);
    cairo_paint(cr);
    cairo_pattern_destroy(bg);

    const art::Rgb clouds[] = {{120, 40, 160}, {30, 110, 170}, {170, 50, 110}};
    for (const auto& colour : clouds) {
        // Each draw is named on its own line, last argument first: a call leaves the order of its
        // arguments open, and the picture must not change with the compiler.
        const double ry = rng.range(0.15, 0.3) * h;
        const double rx = rng.range(0.25, 0.45) * w;
        const double cy = rng.range(0.15, 0.85) * h;
        const double cx = rng.range(0.1, 0.9) * w;
        nebula(cr, cx, cy, rx, ry, colour, 0.22);
    }
    for (int i = 0; i < stars; ++i) {
        const double x = std::floor(rng.range(0, w)), y = std::floor(rng.range(0, h));
        const double b = rng.uniform();
        const art::Rgb tint = rng.uniform() < 0.3 ? art::Rgb{255, 236, 200} : art::Rgb{210, 226, 255};
        if (b > 0.93) {
            art::set_rgb(cr, tint, 0.95);
            cairo_arc(cr, x + 0.5, y + 0.5, 1.1, 0, 2 * M_PI);
        } else {
            art::set_rgb(cr, tint, 0.25 + 0.7 * b);
            cairo_rectangle(cr, x, y, 1, 1);
        }
        cairo_fill(cr);
    }
    for (int i = 0; i < stars / 50; ++i) {
        const double size = rng.range(3, 6), cy = rng.range(0, h), cx = rng.range(0, w);
        sparkle(cr, cx, cy, size, {230, 240, 255});
    }
}

void planet(cairo_t* cr, art::Rng& rng, double cx, double cy, double r, art::Rgb light, art::Rgb dark, bool bands,
            int craters) {
    // Atmosphere glow behind the disc.
    nebula(cr, cx, cy, r * 1.18, r * 1.18, light, 0.28);

    cairo_save(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_clip(cr);

    cairo_pattern_t* body = cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.4, r * 0.08, cx, cy, r * 1.05);
    source(body, 0, art::mix(light, {255, 255, 255}, 0.35));
    source(body, 0.5, light);
    source(body, 1, dark);
    cairo_set_source(cr, body);
    cairo_paint(cr);
    cairo_pattern_destroy(body);

    if (bands) {
        for (int k = 0; k < 7; ++k) {
            const double y = cy - r + (k + 0.5) * 2 * r / 7 + rng.range(-0.05, 0.05) * r;
            const double thick = rng.range(0.05, 0.13) * r;
            const double wobble = rng.range(-0.08, 0.08) * r;
            cairo_move_to(cr, cx - r, y);
            cairo_curve_to(cr, cx - r / 3, y + wobble, cx + r / 3, y - wobble, cx + r, y);
            cairo_line_to(cr, cx + r, y + thick);
            cairo_curve_to(cr, cx + r / 3, y + thick - wobble, cx - r / 3, y + thick + wobble, cx - r, y + thick);
            cairo_close_path(cr);
            art::set_rgb(cr, art::mix(light, dark, rng.range(0.2, 0.8)), 0.42);
            cairo_fill(cr);
        }
    }
    for (int n = 0; n < craters; ++n) {
        double x, y;
        do {
            x = rng.range(-0.85, 0.85);
            y = rng.range(-0.85, 0.85);
        } while (x * x + y * y > 0.7);
        const double cr_r = rng.range(0.05, 0.13) * r;
        const double px = cx + x * r, py = cy + y * r;
        ellipse(cr, px, py, cr_r, cr_r * 0.8);
        art::set_rgb(cr, art::mix(dark, light, 0.25), 0.6);
        cairo_fill(cr);
        cairo_set_line_width(cr, std::max(0.8, cr_r * 0.25));
        cairo_arc(cr, px, py, cr_r * 0.85, 0.1 * M_PI, 0.9 * M_PI);
        art::set_rgb(cr, art::mix(light, {255, 255, 255}, 0.3), 0.55);
        cairo_stroke(cr);
    }

    // Night side: the light falls from the upper left.
    cairo_pattern_t* night =
        cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.35, r * 0.55, cx - r * 0.3, cy - r * 0.35, r * 1.45);
    source(night, 0, {6, 8, 22}, 0);
    source(night, 1, {6, 8, 22}, 0.8);
    cairo_set_source(cr, night);
    cairo_paint(cr);
    cairo_pattern_destroy(night);
    cairo_restore(cr);

    cairo_set_line_width(cr, 1.5);
    cairo_arc(cr, cx, cy, r - 0.75, 0.75 * M_PI, 1.9 * M_PI);
    art::set_rgb(cr, art::mix(light, {255, 255, 255}, 0.4), 0.6);
    cairo_stroke(cr);
}

void planet_ring(cairo_t* cr, double cx, double cy, double r, double tilt, art::Rgb colour, bool front) {
    const double from = front ? 0 : M_PI, to = front ? M_PI : 2 * M_PI;
    const double radii[] = {1.35, 1.5, 1.62};
    const double widths[] = {0.1, 0.06, 0.03};
    const double alphas[] = {0.55, 0.75, 0.5};
    for (int i = 0; i < 3; ++i) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, tilt);
        cairo_scale(cr, 1, 0.26);
        cairo_new_sub_path(cr);
        cairo_arc(cr, 0, 0, r * radii[i], from, to);
        cairo_restore(cr);
        cairo_set_line_width(cr, r * widths[i]);
        art::set_rgb(cr, i == 1 ? art::mix(colour, {255, 255, 255}, 0.3) : colour, alphas[i]);
        cairo_stroke(cr);
    }
}

void castle(cairo_t* cr, double cx, double base_y, double scale, art::Rgb flag) {
    cairo_save(cr);
    cairo_translate(cr, cx, base_y);
    cairo_scale(cr, scale, scale);
    const double ink = 1.3;

    cairo_pattern_t* stone = cairo_pattern_create_linear(-28, 0, 28, 0);
    source(stone, 0, {196, 186, 222});
    source(stone, 0.6, {150, 138, 182});
    source(stone, 1, {96, 84, 128});

    // Wall with battlements.
    cairo_move_to(cr, -18, 0);
    cairo_line_to(cr, -18, -30);
    for (int i = 0; i < 4; ++i) {
        const double x = -18 + i * 9;
        cairo_line_to(cr, x + 4.5, -30);
        cairo_line_to(cr, x + 4.5, -26);
        cairo_line_to(cr, x + 9, -26);
        cairo_line_to(cr, x + 9, -30);
    }
    cairo_line_to(cr, 18, 0);
    cairo_close_path(cr);
    cairo_set_source(cr, stone);
    fill_and_ink(cr, ink);

    // Two towers with pointed roofs.
    for (int side = -1; side <= 1; side += 2) {
        const double x0 = side < 0 ? -28 : 16;
        cairo_rectangle(cr, x0, -42, 12, 42);
        cairo_set_source(cr, stone);
        fill_and_ink(cr, ink);
        cairo_move_to(cr, x0 - 2.5, -42);
        cairo_line_to(cr, x0 + 6, -58);
        cairo_line_to(cr, x0 + 14.5, -42);
        cairo_close_path(cr);
        cairo_pattern_t* roof = cairo_pattern_create_linear(x0 - 2, 0, x0 + 14, 0);
        source(roof, 0, {246, 96, 88});
        source(roof, 1, {150, 30, 48});
        cairo_set_source(cr, roof);
        fill_and_ink(cr, ink);
        cairo_pattern_destroy(roof);
        cairo_rectangle(cr, x0 + 4.5, -34, 3, 7);
        art::set_rgb(cr, {255, 222, 120});
        fill_and_ink(cr, 0.8);
    }
    cairo_pattern_destroy(stone);

    // Gate.
    cairo_move_to(cr, -6, 0);
    cairo_line_to(cr, -6, -10);
    cairo_arc(cr, 0, -10, 6, M_PI, 2 * M_PI);
    cairo_line_to(cr, 6, 0);
    cairo_close_path(cr);
    art::set_rgb(cr, {118, 72, 44});
    fill_and_ink(cr, ink);
    cairo_set_line_width(cr, 0.8);
    art::set_rgb(cr, {70, 40, 26});
    cairo_move_to(cr, 0, -16);
    cairo_line_to(cr, 0, 0);
    cairo_stroke(cr);

    // Flag on the right tower.
    cairo_set_line_width(cr, 1.4);
    art::set_rgb(cr, {60, 50, 70});
    cairo_move_to(cr, 22, -58);
    cairo_line_to(cr, 22, -74);
    cairo_stroke(cr);
    cairo_move_to(cr, 22.5, -74);
    cairo_curve_to(cr, 28, -77, 32, -70, 39, -72);
    cairo_curve_to(cr, 35, -68, 31, -66, 22.5, -64);
    cairo_close_path(cr);
    art::set_rgb(cr, flag);
    fill_and_ink(cr, 1.0);
    cairo_restore(cr);
}

void irone_on_board(cairo_t* cr, double cx, double cy, double scale, double tilt, bool waving) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, tilt);
    cairo_scale(cr, scale, scale);
    const double ink = 1.4;

    // Jet glow under the board.
    for (int side = -1; side <= 1; side += 2) {
        nebula(cr, side * 20, 10, 7, 9, {110, 230, 255}, 0.8);
    }

    // Body: a plump green creature standing on the board.
    cairo_move_to(cr, -12, -3);
    cairo_curve_to(cr, -17, -16, -13, -34, 0, -35);
    cairo_curve_to(cr, 13, -34, 17, -16, 12, -3);
    cairo_close_path(cr);
    cairo_pattern_t* skin = cairo_pattern_create_radial(-5, -24, 2, 0, -18, 20);
    source(skin, 0, {196, 250, 120});
    source(skin, 0.6, {110, 206, 58});
    source(skin, 1, {44, 120, 36});
    cairo_set_source(cr, skin);
    fill_and_ink(cr, ink);
    cairo_pattern_destroy(skin);

    // Antennae with pink knobs: green stalks inked like the body, so they show on dark space.
    cairo_move_to(cr, -5, -33);
    cairo_curve_to(cr, -7, -39, -11, -41, -12, -45);
    cairo_move_to(cr, 5, -33);
    cairo_curve_to(cr, 7, -39, 11, -41, 12, -45);
    cairo_set_line_width(cr, 2.8);
    art::set_rgb(cr, kInk);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 1.3);
    art::set_rgb(cr, {150, 226, 80});
    cairo_stroke(cr);
    for (int side = -1; side <= 1; side += 2) {
        cairo_arc(cr, side * 12, -46, 2.8, 0, 2 * M_PI);
        art::set_rgb(cr, {255, 96, 170});
        fill_and_ink(cr, 1.0);
    }

    // Arms: one holds on, the other waves when asked to.
    cairo_set_line_width(cr, 3.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    art::set_rgb(cr, kInk);
    cairo_move_to(cr, -13, -16);
    cairo_curve_to(cr, -19, -13, -21, -9, -20, -5);
    if (waving) {
        cairo_move_to(cr, 13, -18);
        cairo_curve_to(cr, 19, -22, 21, -28, 20, -33);
    } else {
        cairo_move_to(cr, 13, -16);
        cairo_curve_to(cr, 19, -13, 21, -9, 20, -5);
    }
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 1.6);
    art::set_rgb(cr, {120, 210, 64});
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);

    // One big eye.
    cairo_arc(cr, 0, -23, 7.5, 0, 2 * M_PI);
    art::set_rgb(cr, {246, 248, 240});
    fill_and_ink(cr, 1.2);
    cairo_arc(cr, 1.5, -22.5, 4, 0, 2 * M_PI);
    art::set_rgb(cr, {230, 70, 40});
    cairo_fill(cr);
    cairo_arc(cr, 2, -22.5, 2, 0, 2 * M_PI);
    art::set_rgb(cr, {12, 10, 16});
    cairo_fill(cr);
    cairo_arc(cr, 0, -25, 1.2, 0, 2 * M_PI);
    art::set_rgb(cr, {255, 255, 255});
    cairo_fill(cr);

    // Grin with two teeth.
    cairo_move_to(cr, -7, -12);
    cairo_curve_to(cr, -4, -7, 4, -7, 7, -12);
    cairo_close_path(cr);
    art::set_rgb(cr, {70, 16, 34});
    fill_and_ink(cr, 1.0);
    art::set_rgb(cr, {246, 244, 226});
    cairo_rectangle(cr, -3.5, -11.6, 2.4, 2.2);
    cairo_rectangle(cr, 1.1, -11.6, 2.4, 2.2);
    cairo_fill(cr);

    // Hover board.
    cairo_move_to(cr, -36, 0);
    cairo_curve_to(cr, -30, -4, 30, -4, 36, 0);
    cairo_curve_to(cr, 32, 7, -32, 7, -36, 0);
    cairo_close_path(cr);
    cairo_pattern_t* board = cairo_pattern_create_linear(0, -4, 0, 7);
    source(board, 0, {255, 214, 110});
    source(board, 0.45, {250, 140, 40});
    source(board, 1, {150, 62, 24});
    cairo_set_source(cr, board);
    fill_and_ink(cr, ink);
    cairo_pattern_destroy(board);
    cairo_set_line_width(cr, 1.2);
    art::set_rgb(cr, {255, 244, 200}, 0.8);
    cairo_move_to(cr, -28, -1.5);
    cairo_curve_to(cr, -14, -3.5, 14, -3.5, 28, -1.5);
    cairo_stroke(cr);
    for (int side = -1; side <= 1; side += 2) {
        cairo_arc(cr, side * 20, 4.5, 2.2, 0, 2 * M_PI);
        art::set_rgb(cr, {190, 250, 255});
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void raumtank(cairo_t* cr, double x, double y, double scale, art::Rgb body) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    const double ink = 1.2;

    nebula(cr, 14, 69, 6, 5, {120, 220, 255}, 0.8);

    cairo_pattern_t* metal = cairo_pattern_create_linear(7, 0, 21, 0);
    source(metal, 0, {110, 116, 132});
    source(metal, 0.4, {236, 240, 248});
    source(metal, 1, {92, 98, 116});
    // Nozzle: cap, pipe and cone.
    cairo_rectangle(cr, 12, 3, 4, 8);
    cairo_set_source(cr, metal);
    fill_and_ink(cr, ink);
    cairo_rectangle(cr, 9.5, 0.5, 9, 3.5);
    art::set_rgb(cr, {200, 50, 50});
    fill_and_ink(cr, ink);
    cairo_move_to(cr, 8, 15);
    cairo_line_to(cr, 11, 10);
    cairo_line_to(cr, 17, 10);
    cairo_line_to(cr, 20, 15);
    cairo_close_path(cr);
    cairo_set_source(cr, metal);
    fill_and_ink(cr, ink);

    // Round-ended tank body shaded like a cylinder.
    cairo_move_to(cr, 3, 23);
    cairo_arc(cr, 14, 23, 11, M_PI, 2 * M_PI);
    cairo_line_to(cr, 25, 58);
    cairo_arc(cr, 14, 58, 11, 0, M_PI);
    cairo_close_path(cr);
    cairo_pattern_t* shell = cairo_pattern_create_linear(3, 0, 25, 0);
    source(shell, 0, scale_rgb(body, 0.45));
    source(shell, 0.33, art::mix(body, {255, 255, 255}, 0.5));
    source(shell, 0.6, body);
    source(shell, 1, scale_rgb(body, 0.35));
    cairo_set_source(cr, shell);
    fill_and_ink(cr, ink);
    cairo_pattern_destroy(shell);

    for (double band : {26.0, 52.0}) {
        cairo_rectangle(cr, 3.6, band, 20.8, 3);
        cairo_set_source(cr, metal);
        cairo_fill(cr);
    }
    cairo_pattern_destroy(metal);

    // Fuel gauge.
    cairo_arc(cr, 14, 40, 4.5, 0, 2 * M_PI);
    art::set_rgb(cr, {30, 40, 60});
    fill_and_ink(cr, 1.0);
    cairo_arc(cr, 14, 40, 3.2, 0.1 * M_PI, 0.9 * M_PI);
    cairo_close_path(cr);
    art::set_rgb(cr, {120, 255, 150});
    cairo_fill(cr);
    cairo_restore(cr);
}

void lens(cairo_t* cr, double cx, double cy, double scale) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, scale, scale);

    // Handle, then the rim over its end.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 9);
    art::set_rgb(cr, kInk);
    cairo_move_to(cr, 18, 18);
    cairo_line_to(cr, 38, 38);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 6.5);
    art::set_rgb(cr, {130, 70, 36});
    cairo_move_to(cr, 18, 18);
    cairo_line_to(cr, 38, 38);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);

    cairo_arc(cr, 0, 0, 25, 0, 2 * M_PI);
    cairo_pattern_t* brass = cairo_pattern_create_linear(-25, -25, 25, 25);
    source(brass, 0, {255, 236, 150});
    source(brass, 0.5, {214, 160, 60});
    source(brass, 1, {120, 78, 24});
    cairo_set_source(cr, brass);
    fill_and_ink(cr, 1.4);
    cairo_pattern_destroy(brass);

    cairo_arc(cr, 0, 0, 19.5, 0, 2 * M_PI);
    cairo_pattern_t* glass = cairo_pattern_create_radial(-6, -7, 2, 0, 0, 20);
    source(glass, 0, {236, 248, 255});
    source(glass, 0.5, {140, 200, 240});
    source(glass, 1, {50, 110, 180});
    cairo_set_source(cr, glass);
    fill_and_ink(cr, 1.0);
    cairo_pattern_destroy(glass);
    cairo_set_line_width(cr, 2.2);
    art::set_rgb(cr, {255, 255, 255}, 0.75);
    cairo_arc(cr, 0, 0, 14, 1.1 * M_PI, 1.45 * M_PI);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void hero_ship(cairo_t* cr, double cx, double cy, double scale, double angle) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle);
    cairo_scale(cr, scale, scale);

    // Exhaust flame behind the tail.
    cairo_move_to(cr, -20, -5);
    cairo_curve_to(cr, -30, -5, -40, -2, -48, 0);
    cairo_curve_to(cr, -40, 2, -30, 5, -20, 5);
    cairo_close_path(cr);
    cairo_pattern_t* flame = cairo_pattern_create_linear(-20, 0, -48, 0);
    source(flame, 0, {255, 250, 210});
    source(flame, 0.35, {255, 190, 60});
    source(flame, 1, {255, 80, 30}, 0);
    cairo_set_source(cr, flame);
    cairo_fill(cr);
    cairo_pattern_destroy(flame);

    // Fins.
    for (int side = -1; side <= 1; side += 2) {
        cairo_move_to(cr, -8, side * 5);
        cairo_line_to(cr, -22, side * 15);
        cairo_line_to(cr, -18, side * 4);
        cairo_close_path(cr);
        art::set_rgb(cr, {226, 56, 60});
        fill_and_ink(cr, 1.2);
    }
    // Fuselage.
    cairo_move_to(cr, -20, -6);
    cairo_curve_to(cr, -4, -10, 14, -9, 26, 0);
    cairo_curve_to(cr, 14, 9, -4, 10, -20, 6);
    cairo_close_path(cr);
    cairo_pattern_t* hull = cairo_pattern_create_linear(0, -9, 0, 9);
    source(hull, 0, {250, 252, 255});
    source(hull, 0.5, {190, 198, 214});
    source(hull, 1, {100, 108, 130});
    cairo_set_source(cr, hull);
    fill_and_ink(cr, 1.3);
    cairo_pattern_destroy(hull);
    // Nose cone and cockpit window.
    cairo_move_to(cr, 17, -5.5);
    cairo_curve_to(cr, 21, -4, 24, -2, 26, 0);
    cairo_curve_to(cr, 24, 2, 21, 4, 17, 5.5);
    cairo_close_path(cr);
    art::set_rgb(cr, {230, 60, 64});
    fill_and_ink(cr, 1.0);
    ellipse(cr, 6, -2.5, 5.5, 3);
    art::set_rgb(cr, {120, 210, 255});
    fill_and_ink(cr, 1.0);
    cairo_restore(cr);
}

void princess(cairo_t* cr, double cx, double cy, double scale, double age) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, scale, scale);
    const art::Rgb hair = art::mix({252, 200, 70}, {206, 208, 216}, age);
    const art::Rgb skin = art::mix({252, 214, 186}, {236, 200, 178}, age);

    // Hair behind the head, falling to the shoulders.
    cairo_move_to(cr, -17, 20);
    cairo_curve_to(cr, -24, 0, -20, -22, 0, -22);
    cairo_curve_to(cr, 20, -22, 24, 0, 17, 20);
    cairo_close_path(cr);
    art::set_rgb(cr, hair);
    fill_and_ink(cr, 1.0);

    // Dress and shoulders.
    cairo_move_to(cr, -26, 36);
    cairo_curve_to(cr, -24, 22, -12, 19, 0, 19);
    cairo_curve_to(cr, 12, 19, 24, 22, 26, 36);
    cairo_close_path(cr);
    art::set_rgb(cr, {206, 64, 160});
    fill_and_ink(cr, 1.0);
    cairo_rectangle(cr, -4, 12, 8, 9);
    art::set_rgb(cr, skin);
    cairo_fill(cr);

    // Face.
    ellipse(cr, 0, 0, 12.5, 15);
    cairo_pattern_t* face = cairo_pattern_create_radial(-3, -4, 2, 0, 0, 16);
    source(face, 0, art::mix(skin, {255, 255, 255}, 0.3));
    source(face, 1, art::mix(skin, {180, 110, 90}, 0.35));
    cairo_set_source(cr, face);
    fill_and_ink(cr, 1.0);
    cairo_pattern_destroy(face);

    // Fringe.
    cairo_move_to(cr, -12.5, -4);
    cairo_curve_to(cr, -12, -14, -4, -16, 0, -15);
    cairo_curve_to(cr, 5, -16, 12, -13, 12.5, -4);
    cairo_curve_to(cr, 8, -10, 3, -11, 0, -9);
    cairo_curve_to(cr, -4, -11, -9, -10, -12.5, -4);
    cairo_close_path(cr);
    art::set_rgb(cr, hair);
    fill_and_ink(cr, 0.8);

    // Eyes, cheeks and smile.
    for (int side = -1; side <= 1; side += 2) {
        ellipse(cr, side * 5, 0, 2.6, 2.1);
        art::set_rgb(cr, {250, 250, 250});
        cairo_fill(cr);
        cairo_arc(cr, side * 5, 0.2, 1.5, 0, 2 * M_PI);
        art::set_rgb(cr, {50, 110, 190});
        cairo_fill(cr);
        cairo_arc(cr, side * 5, 0.2, 0.7, 0, 2 * M_PI);
        art::set_rgb(cr, {14, 14, 24});
        cairo_fill(cr);
        nebula(cr, side * 7, 6, 3, 2, {255, 120, 130}, 0.5);
    }
    cairo_set_line_width(cr, 1.1);
    art::set_rgb(cr, {196, 60, 76});
    cairo_arc(cr, 0, 5, 4, 0.2 * M_PI, 0.8 * M_PI);
    cairo_stroke(cr);

    if (age > 0.5) {
        // Lines of the years: at the eyes, on the brow and beside the mouth.
        cairo_set_line_width(cr, 0.7);
        art::set_rgb(cr, {160, 104, 90}, std::min(1.0, (age - 0.5) * 2.2));
        for (int side = -1; side <= 1; side += 2) {
            cairo_move_to(cr, side * 8.5, -1.5);
            cairo_line_to(cr, side * 10.5, -2.5);
            cairo_move_to(cr, side * 8.5, 1);
            cairo_line_to(cr, side * 10.5, 1.8);
            cairo_move_to(cr, side * 5.5, 6);
            cairo_curve_to(cr, side * 6.5, 8, side * 6, 9.5, side * 5, 10.5);
        }
        cairo_move_to(cr, -4, -6);
        cairo_line_to(cr, 4, -6);
        cairo_stroke(cr);
    }

    // Crown.
    cairo_move_to(cr, -9, -15);
    cairo_line_to(cr, -10, -25);
    cairo_line_to(cr, -5, -20);
    cairo_line_to(cr, 0, -27);
    cairo_line_to(cr, 5, -20);
    cairo_line_to(cr, 10, -25);
    cairo_line_to(cr, 9, -15);
    cairo_close_path(cr);
    cairo_pattern_t* gold = cairo_pattern_create_linear(0, -27, 0, -15);
    source(gold, 0, {255, 246, 170});
    source(gold, 1, {220, 150, 30});
    cairo_set_source(cr, gold);
    fill_and_ink(cr, 0.9);
    cairo_pattern_destroy(gold);
    cairo_arc(cr, 0, -18.5, 1.6, 0, 2 * M_PI);
    art::set_rgb(cr, {230, 40, 70});
    cairo_fill(cr);
    cairo_restore(cr);
}

void chrome_title(cairo_t* cr, const std::string& word, double cx, double baseline, double size) {
    art::select_font(cr, "DejaVu Sans", size, true);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, word.c_str(), &ext);
    const double left = cx - ext.width / 2 - ext.x_bearing;
    cairo_move_to(cr, left, baseline);
    cairo_text_path(cr, word.c_str());
    cairo_path_t* path = cairo_copy_path(cr);
    cairo_new_path(cr);

    // Deep shadow: the letters stand out of the picture.
    const int depth = static_cast<int>(size * 0.08);
    for (int d = depth; d >= 1; --d) {
        cairo_save(cr);
        cairo_translate(cr, d * 0.7, d);
        cairo_append_path(cr, path);
        cairo_restore(cr);
        art::set_rgb(cr, art::mix({150, 40, 40}, {50, 14, 40}, double(d) / depth));
        cairo_fill(cr);
    }
    cairo_append_path(cr, path);
    cairo_set_line_width(cr, std::max(2.0, size * 0.07));
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    art::set_rgb(cr, {22, 16, 46});
    cairo_stroke(cr);

    const double top = baseline - size * 0.73;
    cairo_pattern_t* chrome = cairo_pattern_create_linear(0, top, 0, baseline);
    source(chrome, 0, {255, 255, 236});
    source(chrome, 0.42, {255, 214, 96});
    source(chrome, 0.5, {226, 118, 26});
    source(chrome, 0.75, {255, 170, 50});
    source(chrome, 1, {255, 232, 140});
    cairo_append_path(cr, path);
    cairo_set_source(cr, chrome);
    cairo_fill(cr);
    cairo_pattern_destroy(chrome);

    cairo_append_path(cr, path);
    cairo_set_line_width(cr, 1);
    art::set_rgb(cr, {255, 250, 220}, 0.5);
    cairo_stroke(cr);
    cairo_path_destroy(path);
}

}  // namespace screens
