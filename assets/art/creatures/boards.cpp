// SPDX-License-Identifier: GPL-3.0-or-later
// The hover boards the Irones ride: a pointed deck with tail fins and a thruster flame,
// turned in its own plane so its nose points where the rider is going.
#include "creatures.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace creatures {
namespace {

struct Point {
    double x, y;
};

class Board {
  public:
    Board(cairo_t* cr, double cx, double cy, double scale, double yaw, const BoardShape& shape)
        : cr_(cr), cx_(cx), cy_(cy), k_(scale), s_(std::sin(yaw)), c_(std::cos(yaw)), sh_(shape) {}

    // (u along the board, nose positive; v across it; h up) to the picture. The plane is
    // seen from slightly above, so depth towards the viewer moves points down the picture.
    Point at(double u, double v, double h) const {
        const double x = u * s_ + v * c_;
        const double z = u * c_ - v * s_;
        return {cx_ + x * k_, cy_ + (z * sh_.squash - h) * k_};
    }

    double half_width(double u) const {
        const double a = sh_.half_length, b = sh_.half_width;
        if (u >= 0) return b * std::sqrt(std::max(0.0, 1 - (u / a) * (u / a))) * (1 - 0.3 * u / a);
        const double t = -u / tail();
        return b * std::pow(std::max(0.0, 1 - t * t * t * t), 0.25);
    }
    double tail() const { return sh_.half_length * 0.9; }

    // Outline of the deck at height h, shrunk across by `inset` (the underside is narrower).
    std::vector<Point> outline(double h, double inset) const {
        std::vector<Point> pts;
        const int n = 36;
        auto u_at = [&](int i) {  // denser near both ends, where the outline curves
            const double t = 0.5 - 0.5 * std::cos(kPi * i / n);
            return -tail() + t * (tail() + sh_.half_length);
        };
        for (int i = 0; i <= n; ++i) pts.push_back(at(u_at(i), half_width(u_at(i)) * inset, h));
        for (int i = n - 1; i >= 1; --i) pts.push_back(at(u_at(i), -half_width(u_at(i)) * inset, h));
        return pts;
    }

    void polygon(const std::vector<Point>& pts) const {
        cairo_move_to(cr_, pts[0].x, pts[0].y);
        for (size_t i = 1; i < pts.size(); ++i) cairo_line_to(cr_, pts[i].x, pts[i].y);
        cairo_close_path(cr_);
    }

    // Calls paint once per piece of the hull (underside, each side facet, deck), each as
    // its own path: filling them together would let facets of opposite winding cancel out.
    template <typename Paint>
    void each_hull_piece(Paint paint) const {
        const auto top = outline(0, 1), bottom = outline(-sh_.thickness, 0.86);
        polygon(bottom);
        paint(0);
        for (size_t i = 0; i < top.size(); ++i) {
            const size_t j = (i + 1) % top.size();
            cairo_move_to(cr_, top[i].x, top[i].y);
            cairo_line_to(cr_, top[j].x, top[j].y);
            cairo_line_to(cr_, bottom[j].x, bottom[j].y);
            cairo_line_to(cr_, bottom[i].x, bottom[i].y);
            cairo_close_path(cr_);
            paint(1);
        }
        polygon(top);
        paint(2);
    }

    void flame() const {
        const double h = -sh_.thickness * 0.5;
        const Point base = at(-tail() + 1, 0, h), tip = at(-tail() - 11, 0, h);
        const double dx = tip.x - base.x, dy = tip.y - base.y, len = std::hypot(dx, dy);
        const double r = 2.3 * k_;
        auto glow = [&](double grow, Rgb c) {
            if (len < r) {
                ellipse_path(cr_, base.x, base.y, r * grow, r * grow);
            } else {
                const double nx = -dy / len * r * grow, ny = dx / len * r * grow;
                cairo_move_to(cr_, base.x + nx, base.y + ny);
                const double reach = 0.55 + 0.45 * grow;
                cairo_curve_to(cr_, base.x + nx + dx * 0.5, base.y + ny + dy * 0.5, tip.x + nx * 0.2, tip.y + ny * 0.2,
                               base.x + dx * reach, base.y + dy * reach);
                cairo_curve_to(cr_, tip.x - nx * 0.2, tip.y - ny * 0.2, base.x - nx + dx * 0.5, base.y - ny + dy * 0.5,
                               base.x - nx, base.y - ny);
                cairo_arc(cr_, base.x, base.y, r * grow, std::atan2(-ny, -nx), std::atan2(-ny, -nx) + kPi);
                cairo_close_path(cr_);
            }
            art::set_rgb(cr_, c);
            cairo_fill(cr_);
        };
        glow(1.0, {240, 96, 36});
        glow(0.68, {255, 186, 54});
        glow(0.36, {255, 246, 200});
    }

    void hover_pads() const {
        for (double u : {-0.45, 0.45}) {
            const Point p = at(u * sh_.half_length, 0, -sh_.thickness - 0.7);
            ellipse_path(cr_, p.x, p.y, 3.4 * k_, 1.3 * k_);
            art::set_rgb(cr_, {90, 236, 255});
            cairo_fill_preserve(cr_);
            art::set_rgb(cr_, {30, 120, 190});
            cairo_set_line_width(cr_, 0.6);
            cairo_stroke(cr_);
        }
    }

    void fins(const BoardLook& look, double lw) const {
        // Two small upright fins on the tail; the far one first.
        const int order[2] = {c_ >= 0 ? -1 : 1, c_ >= 0 ? 1 : -1};
        for (int side : order) {
            const double v = side * sh_.half_width * 0.55;
            const Point a = at(-tail() + 1, v, 0), b = at(-tail() + 12, v, 0), top = at(-tail() + 2, v, 3.5);
            cairo_move_to(cr_, a.x, a.y);
            cairo_line_to(cr_, b.x, b.y);
            cairo_line_to(cr_, top.x, top.y);
            cairo_close_path(cr_);
            art::set_rgb(cr_, lighten(look.side, 0.25));
            fill_and_ink(cr_, lw);
        }
    }

    void draw(const BoardLook& look, double outline_px) const {
        const double lw = outline_px;
        const bool tail_far = c_ > 0;
        hover_pads();
        if (tail_far) flame();
        // One thick ink pass under the whole hull gives a single clean silhouette line.
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
        each_hull_piece([&](int) {
            art::set_rgb(cr_, kOutline);
            cairo_set_line_width(cr_, 2 * lw);
            cairo_stroke_preserve(cr_);
            cairo_fill(cr_);
        });
        each_hull_piece([&](int piece) {
            if (piece == 2) {
                cairo_new_path(cr_);
                return;
            }
            // A hairline of the same colour closes the antialiased seams between facets.
            art::set_rgb(cr_, piece == 0 ? darken(look.side, 0.3) : look.side);
            cairo_set_line_width(cr_, 0.5);
            cairo_fill_preserve(cr_);
            cairo_stroke(cr_);
        });
        polygon(outline(0, 1));
        const Point nose = at(sh_.half_length, 0, 0), back = at(-tail(), 0, 0);
        cairo_pattern_t* deck = cairo_pattern_create_linear(back.x, back.y - 0.01, nose.x, nose.y + 0.01);
        const Rgb d0 = look.deck, d1 = lighten(look.deck, 0.4);
        cairo_pattern_add_color_stop_rgb(deck, 0, d0.r / 255.0, d0.g / 255.0, d0.b / 255.0);
        cairo_pattern_add_color_stop_rgb(deck, 1, d1.r / 255.0, d1.g / 255.0, d1.b / 255.0);
        cairo_set_source(cr_, deck);
        cairo_pattern_destroy(deck);
        cairo_fill_preserve(cr_);
        art::set_rgb(cr_, darken(look.side, 0.4));
        cairo_set_line_width(cr_, lw * 0.6);
        cairo_stroke(cr_);

        stripe(look);
        nose_light();
        fins(look, lw);
        if (!tail_far) flame();
    }

    void stripe(const BoardLook& look) const {
        std::vector<Point> pts;
        const double u0 = -tail() * 0.85, u1 = sh_.half_length * 0.72;
        const int n = 16;
        for (int i = 0; i <= n; ++i) {
            const double u = u0 + (u1 - u0) * i / n;
            pts.push_back(at(u, half_width(u) * 0.28, 0));
        }
        for (int i = n; i >= 0; --i) {
            const double u = u0 + (u1 - u0) * i / n;
            pts.push_back(at(u, -half_width(u) * 0.28, 0));
        }
        polygon(pts);
        art::set_rgb(cr_, look.stripe);
        cairo_fill(cr_);
    }

    void nose_light() const {
        const Point p = at(sh_.half_length * 0.84, 0, 0.3);
        ellipse_path(cr_, p.x, p.y, 1.6 * k_, 1.2 * k_);
        art::set_rgb(cr_, {255, 252, 210});
        cairo_fill_preserve(cr_);
        art::set_rgb(cr_, {255, 170, 40});
        cairo_set_line_width(cr_, 0.5);
        cairo_stroke(cr_);
    }

  private:
    cairo_t* cr_;
    double cx_, cy_, k_, s_, c_;
    BoardShape sh_;
};

}  // namespace

void draw_board(cairo_t* cr, double cx, double cy, double scale, double yaw, const BoardShape& shape,
                const BoardLook& look, double outline_px) {
    cairo_save(cr);
    Board(cr, cx, cy, scale, yaw, shape).draw(look, outline_px);
    cairo_restore(cr);
}

void write_boards(const fs::path& dir) {
    for (int size = 0; size < 3; ++size) {
        const RiderSize& r = rider(size);
        art::Canvas sheet(r.board_w, r.board_h * kFacings);
        for (int k = 0; k < kFacings; ++k) {
            draw_cell(sheet, 0, k * r.board_h, r.board_w, r.board_h, [&](cairo_t* cr) {
                draw_board(cr, r.board_w / 2.0, r.deck_y, r.scale, facing_yaw(k), BoardShape{}, r.look,
                           size == 2 ? 0.6 : 0.9);
            });
        }
        write_sheet(sheet, dir, r.board_name);
    }
}

}  // namespace creatures
