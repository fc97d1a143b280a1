// SPDX-License-Identifier: GPL-3.0-or-later
// The Irone station (a purple sphere with a great eye and a ring, one turn over 35 frames)
// and its fragments: a torn piece of the same hull tumbling once over 29 frames.
#include "creatures.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace creatures {
namespace {

constexpr Rgb kHull{130, 80, 204};
constexpr Rgb kRing{186, 176, 214};
constexpr Rgb kBand{100, 214, 86};
constexpr Rgb kEyeWhite{250, 248, 236};
constexpr Rgb kIris{236, 46, 44};
constexpr Rgb kLight{255, 226, 96};

constexpr double kCx = 25, kCy = 25.5, kR = 14;
constexpr double kRingRx = 22.5, kRingRy = 6.2, kTilt = -0.17;

struct Point {
    double x, y;
};

Point ring_point(double t) {
    const double x = kRingRx * std::cos(t), y = kRingRy * std::sin(t);
    return {kCx + x * std::cos(kTilt) - y * std::sin(kTilt), kCy + 3 + x * std::sin(kTilt) + y * std::cos(kTilt)};
}

void ring_path(cairo_t* cr) {
    for (int i = 0; i <= 64; ++i) {
        const Point p = ring_point(2 * kPi * i / 64);
        if (i == 0)
            cairo_move_to(cr, p.x, p.y);
        else
            cairo_line_to(cr, p.x, p.y);
    }
    cairo_close_path(cr);
}

void ring(cairo_t* cr) {
    ring_path(cr);
    art::set_rgb(cr, kOutline);
    cairo_set_line_width(cr, 5.2);
    cairo_stroke_preserve(cr);
    art::set_rgb(cr, kRing);
    cairo_set_line_width(cr, 3.4);
    cairo_stroke_preserve(cr);
    art::set_rgb(cr, lighten(kRing, 0.5));
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
}

// The near half of the ring lies below the line through its two side ends.
void clip_near_half(cairo_t* cr) {
    const Point a = ring_point(0), b = ring_point(kPi);
    cairo_move_to(cr, a.x + 6, a.y);
    cairo_line_to(cr, b.x - 6, b.y);
    cairo_line_to(cr, b.x - 6, 50);
    cairo_line_to(cr, a.x + 6, 50);
    cairo_close_path(cr);
    cairo_clip(cr);
}

void ring_lights(cairo_t* cr, double turn, bool near) {
    for (int m = 0; m < 10; ++m) {
        const double t = turn + m * 2 * kPi / 10;
        if ((std::sin(t) > 0) != near) continue;
        const Point p = ring_point(t);
        ellipse_path(cr, p.x, p.y, 1.1, 1.1);
        art::set_rgb(cr, near ? kLight : darken(kLight, 0.35));
        cairo_fill(cr);
    }
}

void spokes(cairo_t* cr, double turn, bool near) {
    for (int m = 0; m < 3; ++m) {
        const double t = turn + 0.5 + m * 2 * kPi / 3;
        if ((std::sin(t) > 0) != near) continue;
        const Point p = ring_point(t);
        const double sx = kCx + (p.x - kCx) * 0.55, sy = kCy + 2 + (p.y - kCy - 2) * 0.55;
        cairo_move_to(cr, sx, sy);
        cairo_line_to(cr, p.x, p.y);
        art::set_rgb(cr, kOutline);
        cairo_set_line_width(cr, 2.6);
        cairo_stroke_preserve(cr);
        art::set_rgb(cr, darken(kRing, 0.15));
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
    }
}

// A feature on the turning sphere: where it shows and how wide (0 when on the far side).
struct OnSphere {
    double x, y, squeeze;
};
OnSphere on_sphere(double azimuth, double lat, double r) {
    return {kCx + r * std::cos(lat) * std::sin(azimuth), kCy - r * std::sin(lat), std::max(0.0, std::cos(azimuth))};
}

void sphere(cairo_t* cr, double turn) {
    ellipse_path(cr, kCx, kCy, kR, kR);
    set_ball_shading(cr, kCx, kCy, kR, kR, kHull);
    cairo_fill(cr);
    cairo_save(cr);
    ellipse_path(cr, kCx, kCy, kR, kR);
    cairo_clip(cr);
    cairo_rectangle(cr, kCx - kR, kCy + 2.5, 2 * kR, 3);
    art::set_rgb(cr, kBand);
    cairo_fill(cr);
    // Meridians show the turning even where no window is.
    art::set_rgb(cr, darken(kHull, 0.35));
    cairo_set_line_width(cr, 0.6);
    for (int m = 0; m < 6; ++m) {
        const double az = turn + kPi / 6 + m * kPi / 3;
        if (std::cos(az) <= 0) continue;
        for (int k = 0; k <= 16; ++k) {
            const double lat = -1.4 + 2.8 * k / 16;
            const OnSphere p = on_sphere(az, lat, kR);
            if (k == 0)
                cairo_move_to(cr, p.x, p.y);
            else
                cairo_line_to(cr, p.x, p.y);
        }
        cairo_stroke(cr);
    }
    for (int m = 0; m < 8; ++m) {
        const OnSphere w = on_sphere(turn + 0.4 + m * kPi / 4, -0.42, kR);
        if (w.squeeze < 0.15) continue;
        cairo_rectangle(cr, w.x - 1.1 * w.squeeze, w.y - 0.8, 2.2 * w.squeeze, 1.6);
        art::set_rgb(cr, kLight);
        cairo_fill(cr);
    }
    for (int m = 0; m < 2; ++m) {
        const OnSphere d = on_sphere(turn + kPi / 2 + m * kPi, 0.6, kR);
        if (d.squeeze < 0.1) continue;
        ellipse_path(cr, d.x, d.y, 2.2 * d.squeeze, 1.8);
        art::set_rgb(cr, {170, 176, 200});
        fill_and_ink(cr, 0.6);
    }
    // The great eye of the Irones looks out as it comes round.
    const OnSphere e = on_sphere(turn, 0.12, kR * 0.92);
    if (e.squeeze > 0.05) {
        ellipse_path(cr, e.x, e.y, 5.2 * e.squeeze, 5.0);
        set_ball_shading(cr, e.x, e.y, 5.2 * e.squeeze, 5.0, kEyeWhite);
        fill_and_ink(cr, 0.8);
        ellipse_path(cr, e.x, e.y, 2.8 * e.squeeze, 2.8);
        set_ball_shading(cr, e.x, e.y, 2.8 * e.squeeze, 2.8, kIris);
        cairo_fill(cr);
        ellipse_path(cr, e.x, e.y, 0.7 * e.squeeze, 2.2);
        art::set_rgb(cr, {34, 14, 44});
        cairo_fill(cr);
    }
    cairo_restore(cr);
    ellipse_path(cr, kCx, kCy, kR, kR);
    art::set_rgb(cr, kOutline);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void masts(cairo_t* cr, int frame) {
    cairo_move_to(cr, kCx, kCy - kR + 1);
    cairo_line_to(cr, kCx, 4);
    cairo_move_to(cr, kCx - 3, 7);
    cairo_line_to(cr, kCx + 3, 7);
    art::set_rgb(cr, kOutline);
    cairo_set_line_width(cr, 2.4);
    cairo_stroke_preserve(cr);
    art::set_rgb(cr, kRing);
    cairo_set_line_width(cr, 1.1);
    cairo_stroke(cr);
    ellipse_path(cr, kCx, 3.2, 2.0, 2.0);
    art::set_rgb(cr, frame % 7 < 3 ? Rgb{255, 70, 70} : Rgb{150, 40, 60});
    fill_and_ink(cr, 0.7);
    cairo_move_to(cr, kCx - 3.5, kCy + kR - 1.5);
    cairo_line_to(cr, kCx + 3.5, kCy + kR - 1.5);
    cairo_line_to(cr, kCx, 48.5);
    cairo_close_path(cr);
    set_cylinder_shading(cr, kCx - 3.5, kCx + 3.5, kRing);
    fill_and_ink(cr, 0.8);
}

void paint_station(cairo_t* cr, int frame) {
    const double turn = 2 * kPi * frame / 35;
    masts(cr, frame);
    ring(cr);
    ring_lights(cr, turn, false);
    spokes(cr, turn, false);
    sphere(cr, turn);
    spokes(cr, turn, true);
    cairo_save(cr);
    clip_near_half(cr);
    ring(cr);
    cairo_restore(cr);
    ring_lights(cr, turn, true);
}

// ---- The fragment -------------------------------------------------------------------

struct Chunk {
    std::vector<Point> rim;  // jagged outline, local coordinates
};

Chunk make_chunk() {
    art::Rng rng(0x5747104E);
    Chunk c;
    const int n = 11;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * kPi * i / n + rng.range(-0.15, 0.15);
        const double r = (i % 3 == 0) ? rng.range(6.0, 7.5) : rng.range(8.5, 10.2);
        c.rim.push_back({r * std::cos(a), r * 0.82 * std::sin(a)});
    }
    return c;
}

void chunk_path(cairo_t* cr, const Chunk& c, double dx, double dy) {
    cairo_move_to(cr, c.rim[0].x + dx, c.rim[0].y + dy);
    for (size_t i = 1; i < c.rim.size(); ++i) cairo_line_to(cr, c.rim[i].x + dx, c.rim[i].y + dy);
    cairo_close_path(cr);
}

void paint_fragment(cairo_t* cr, const Chunk& chunk, int frame) {
    const double spin = 2 * kPi * frame / 29;
    const double flip = std::cos(2 * spin);  // the plate tips over twice per turn
    const double squash = 0.55 + 0.45 * std::fabs(flip);
    const double edge = 2.2 * (1 - std::fabs(flip)) * (flip >= 0 ? 1 : -1);
    cairo_matrix_t cell;
    cairo_get_matrix(cr, &cell);
    auto local = [&] {
        cairo_set_matrix(cr, &cell);
        cairo_translate(cr, 12.5, 12.5);
        cairo_rotate(cr, spin);
        cairo_scale(cr, 1, squash);
    };
    // Torn side: the inner girders show where the plate is seen edge-on.
    local();
    chunk_path(cr, chunk, 0, edge / squash);
    cairo_set_matrix(cr, &cell);
    art::set_rgb(cr, {112, 106, 128});
    fill_and_ink(cr, 0.8);

    local();
    chunk_path(cr, chunk, 0, 0);
    cairo_set_matrix(cr, &cell);
    // The light stays at the upper left however the piece turns.
    cairo_pattern_t* p = cairo_pattern_create_linear(3, 3, 22, 22);
    const Rgb hi = lighten(kHull, 0.4), lo = darken(kHull, 0.35);
    cairo_pattern_add_color_stop_rgb(p, 0, hi.r / 255.0, hi.g / 255.0, hi.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, lo.r / 255.0, lo.g / 255.0, lo.b / 255.0);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    cairo_new_path(cr);
    local();
    cairo_rectangle(cr, -12, 1.5, 24, 2.6);
    art::set_rgb(cr, kBand);
    cairo_fill(cr);
    ellipse_path(cr, -2.5, -2.5, 3.6, 3.6);
    art::set_rgb(cr, kEyeWhite);
    cairo_fill(cr);
    ellipse_path(cr, -2.5, -2.5, 1.9, 1.9);
    art::set_rgb(cr, kIris);
    cairo_fill(cr);
    for (double x : {3.5, 6.0}) {
        cairo_rectangle(cr, x, -4.5, 1.6, 1.2);
        art::set_rgb(cr, kLight);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    local();
    chunk_path(cr, chunk, 0, 0);
    cairo_set_matrix(cr, &cell);
    art::set_rgb(cr, kOutline);
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);

    // The broken edge still glows from the blast.
    local();
    cairo_move_to(cr, chunk.rim[5].x, chunk.rim[5].y);
    for (int i = 6; i <= 8; ++i) cairo_line_to(cr, chunk.rim[i].x, chunk.rim[i].y);
    cairo_set_matrix(cr, &cell);
    art::set_rgb(cr, {255, 150, 44});
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

}  // namespace

void write_station(const fs::path& dir) {
    art::Canvas station(50, 50 * 35);
    for (int frame = 0; frame < 35; ++frame)
        draw_cell(station, 0, frame * 50, 50, 50, [frame](cairo_t* cr) { paint_station(cr, frame); });
    write_sheet(station, dir, "irone_station.bmp");

    const Chunk chunk = make_chunk();
    art::Canvas fragments(25, 25 * 29);
    for (int frame = 0; frame < 29; ++frame)
        draw_cell(fragments, 0, frame * 25, 25, 25, [&chunk, frame](cairo_t* cr) { paint_fragment(cr, chunk, frame); });
    write_sheet(fragments, dir, "irone_meteor.bmp");
}

}  // namespace creatures
