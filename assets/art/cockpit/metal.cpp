// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing helpers shared by the cockpit pictures: brushed metal, rivets, paths and canvas copies.
#include "cockpit.h"

#include <algorithm>
#include <cmath>

namespace cockpit {
namespace {

// Deterministic noise in [0, 1) from integer coordinates.
double hash01(uint64_t a, uint64_t b, uint64_t seed) {
    uint64_t z = a * 0x9E3779B97F4A7C15ull ^ (b + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full ^ seed;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * (1.0 / 9007199254740992.0);
}

// Smooth 1-D value noise in [0, 1).
double value_noise(double x, uint64_t seed) {
    const double f = std::floor(x);
    const double t = x - f;
    const double s = t * t * (3 - 2 * t);
    const auto i = static_cast<uint64_t>(static_cast<int64_t>(f));
    return hash01(i, 0, seed) * (1 - s) + hash01(i + 1, 0, seed) * s;
}

}  // namespace

void brushed_metal(art::Canvas& c, const std::function<void(cairo_t*)>& shape, art::Rgb base, Grain grain,
                   uint64_t seed) {
    const int w = c.width(), h = c.height();
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
    cairo_t* m = cairo_create(mask);
    cairo_set_fill_rule(m, CAIRO_FILL_RULE_EVEN_ODD);
    shape(m);
    cairo_fill(m);
    cairo_destroy(m);
    cairo_surface_flush(mask);

    cairo_surface_flush(c.surface());
    auto* dst = cairo_image_surface_get_data(c.surface());
    const int dst_stride = cairo_image_surface_get_stride(c.surface());
    const auto* src = cairo_image_surface_get_data(mask);
    const int src_stride = cairo_image_surface_get_stride(mask);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t a = src[y * src_stride + x];
            if (a == 0) continue;
            const int along = grain == Grain::Horizontal ? x : y;
            const int across = grain == Grain::Horizontal ? y : x;
            // Brushing leaves fine lines across the grain and long, slow streaks along it.
            const double line = hash01(static_cast<uint64_t>(across), 1, seed) * 2 - 1;
            const double streak = value_noise(along / 53.0 + across * 7.31, seed + 2) * 2 - 1;
            const double grit = hash01(static_cast<uint64_t>(x), static_cast<uint64_t>(y), seed + 3) * 2 - 1;
            const double d = line * 4.5 + streak * 6.0 + grit * 1.5;
            auto ch = [d](uint8_t v) { return std::clamp(v + d, 0.0, 254.0); };
            const double r = ch(base.r), g = ch(base.g), b = ch(base.b);
            auto* px = reinterpret_cast<uint32_t*>(dst + y * dst_stride) + x;
            const uint32_t old = *px;
            const double k = a / 255.0;
            auto blend = [&](double s, int shift) {
                const double under = (old >> shift) & 255;
                return static_cast<uint32_t>(std::lround(s * k + under * (1 - k))) << shift;
            };
            *px = blend(255, 24) | blend(r, 16) | blend(g, 8) | blend(b, 0);
        }
    }
    cairo_surface_mark_dirty(c.surface());
    cairo_surface_destroy(mask);
}

void rivet(cairo_t* cr, double x, double y, double r) {
    cairo_save(cr);
    cairo_arc(cr, x + 0.8, y + 0.9, r + 0.4, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0.08, 0.09, 0.12, 0.35);
    cairo_fill(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(x - r * 0.4, y - r * 0.45, r * 0.1, x, y, r);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.93, 0.95, 0.97);
    cairo_pattern_add_color_stop_rgb(p, 0.45, 0.66, 0.69, 0.74);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.36, 0.39, 0.45);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgb(cr, 0.16, 0.18, 0.22);
    cairo_set_line_width(cr, 0.7);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void ellipse_path(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void rounded_rect_path(cairo_t* cr, double x0, double y0, double x1, double y1, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x1 - r, y0 + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x1 - r, y1 - r, r, 0, M_PI / 2);
    cairo_arc(cr, x0 + r, y1 - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x0 + r, y0 + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

void copy_rect(art::Canvas& dst, int dx, int dy, art::Canvas& src, int sx, int sy, int w, int h) {
    cairo_t* cr = dst.cr();
    cairo_save(cr);
    cairo_rectangle(cr, dx, dy, w, h);
    cairo_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, src.surface(), dx - sx, dy - sy);
    cairo_paint(cr);
    cairo_restore(cr);
}

void avoid_pure_white(art::Canvas& c) {
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const art::Rgb p = c.pixel(x, y);
            if (c.alpha(x, y) >= 128 && p.r == 255 && p.g == 255 && p.b == 255)
                c.set_pixel(x, y, {247, 247, 247}, c.alpha(x, y));
        }
}

void centred_text(cairo_t* cr, const char* text, double cx, double cy) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    cairo_move_to(cr, cx - e.x_bearing - e.width / 2, cy - e.y_bearing - e.height / 2);
    cairo_show_text(cr, text);
}

void dome_bezel(cairo_t* cr, double cx, double cy, double rx, double ry, double ring) {
    cairo_save(cr);
    // The dome throws a soft shadow down and to the right onto the panel.
    ellipse_path(cr, cx + 2, cy + 3, rx + ring, ry + ring);
    cairo_set_source_rgba(cr, 0.05, 0.06, 0.09, 0.35);
    cairo_fill(cr);

    cairo_pattern_t* p = cairo_pattern_create_linear(cx - rx, cy - ry, cx + rx, cy + ry);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.88, 0.90, 0.93);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 0.62, 0.66, 0.72);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.33, 0.36, 0.43);
    ellipse_path(cr, cx, cy, rx + ring, ry + ring);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgb(cr, 0.10, 0.11, 0.15);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);

    // The glass sits in a recess: its lip is lit on the far side.
    p = cairo_pattern_create_linear(cx - rx, cy - ry, cx + rx, cy + ry);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.22, 0.24, 0.30);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.85, 0.88, 0.92);
    ellipse_path(cr, cx, cy, rx + 1.5, ry + 1.5);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);

    const int bolts = 8;
    for (int i = 0; i < bolts; ++i) {
        const double a = (i + 0.5) * 2 * M_PI / bolts;
        rivet(cr, cx + std::cos(a) * (rx + ring * 0.55), cy + std::sin(a) * (ry + ring * 0.55), 1.5);
    }
    cairo_restore(cr);
}

void glass_shine(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    ellipse_path(cr, cx, cy, rx, ry);
    cairo_clip(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_pattern_t* p = cairo_pattern_create_radial(-0.1, -0.15, 0.2, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(p, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(p, 0.75, 0.02, 0.03, 0.08, 0.10);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.02, 0.03, 0.08, 0.55);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);

    // A crescent of reflected light along the upper left of the glass.
    cairo_new_path(cr);
    ellipse_path(cr, cx - rx * 0.06, cy - ry * 0.08, rx * 0.88, ry * 0.84);
    ellipse_path(cr, cx + rx * 0.04, cy + ry * 0.06, rx * 0.86, ry * 0.84);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr);
    p = cairo_pattern_create_linear(cx - rx, cy - ry, cx, cy);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0.75);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 1, 1, 0.0);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}

}  // namespace cockpit
