// SPDX-License-Identifier: GPL-3.0-or-later
// The Irone: a green one-eyed alien in a purple suit with two antennae and a backpack.
// It is drawn as a small 3-D model turned by its yaw, so every facing shows the same creature.
#include "creatures.h"

#include <algorithm>
#include <cmath>

namespace creatures {
namespace {

constexpr Rgb kSkin{122, 214, 72};
constexpr Rgb kSuit{136, 76, 206};
constexpr Rgb kBelt{250, 202, 52};
constexpr Rgb kBoot{86, 52, 140};
constexpr Rgb kEyeWhite{250, 248, 236};
constexpr Rgb kBulb{255, 86, 130};
constexpr Rgb kPack{176, 188, 210};
constexpr Rgb kMouth{122, 20, 52};
constexpr Rgb kTooth{246, 244, 226};

constexpr double kHeadY = -21.5, kHeadR = 10.5;
constexpr double kBodyY = -8.5, kBodyRx = 10.5, kBodyRy = 7.2;

class Figure {
  public:
    Figure(cairo_t* cr, const IronePose& p)
        : cr_(cr), p_(p), s_(std::sin(p.yaw)), c_(std::cos(p.yaw)), lw_(p.outline_px / p.scale) {}

    void draw() {
        cairo_save(cr_);
        cairo_translate(cr_, p_.x, p_.y);
        cairo_scale(cr_, p_.scale, p_.scale);
        cairo_translate(cr_, 0, -kIroneMiddle);
        cairo_rotate(cr_, p_.roll);
        cairo_translate(cr_, 0, kIroneMiddle);
        cairo_rotate(cr_, p_.lean * s_);
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);

        const double pack_depth = -c_;
        for (int side : {-1, 1})
            if (antenna_depth(side) < 0) antenna(side);
        for (int side : {-1, 1})
            if (arm_depth(side) < 0) arm(side);
        if (pack_depth < 0) backpack();
        feet();
        body();
        if (p_.mood == Mood::Menacing) shoulder_spikes();
        if (pack_depth >= 0) backpack();
        head();
        for (int side : {-1, 1})
            if (antenna_depth(side) >= 0) antenna(side);
        for (int side : {-1, 1})
            if (arm_depth(side) >= 0) arm(side);
        cairo_restore(cr_);
    }

  private:
    double sx(double azimuth, double r) const { return r * std::sin(azimuth); }

    void feet() {
        // The far foot first, so the near one overlaps it.
        const int order[2] = {c_ >= 0 ? 1 : -1, c_ >= 0 ? -1 : 1};
        for (int side : order) {
            const double b = p_.yaw + side * kPi / 2;
            const double x = sx(b, 4.0) + 0.9 * s_;
            const double rx = 1.7 + 1.1 * std::fabs(s_);
            ellipse_path(cr_, x, -1.4, rx, 1.5);
            set_ball_shading(cr_, x, -1.4, rx, 1.5, kBoot);
            fill_and_ink(cr_, lw_);
        }
    }

    void body() {
        ellipse_path(cr_, 0, kBodyY, kBodyRx, kBodyRy);
        set_ball_shading(cr_, 0, kBodyY, kBodyRx, kBodyRy, kSuit);
        cairo_fill_preserve(cr_);
        cairo_save(cr_);
        cairo_clip_preserve(cr_);
        cairo_new_path(cr_);
        cairo_rectangle(cr_, -10, -5.0, 20, 2.0);
        art::set_rgb(cr_, kBelt);
        cairo_fill(cr_);
        if (c_ > 0.15) {
            // Buckle and chest badge sit on the front of the suit.
            const double w = 2.8 * c_;
            cairo_rectangle(cr_, 8.6 * s_ - w / 2, -5.2, w, 2.4);
            art::set_rgb(cr_, lighten(kBelt, 0.5));
            cairo_fill_preserve(cr_);
            art::set_rgb(cr_, darken(kBelt, 0.5));
            cairo_set_line_width(cr_, lw_ * 0.6);
            cairo_stroke(cr_);
            const double bx = 8.4 * s_;
            ellipse_path(cr_, bx, -10.5, 2.0 * c_, 2.0);
            art::set_rgb(cr_, lighten(kSkin, 0.2));
            cairo_fill(cr_);
            ellipse_path(cr_, bx + 0.3 * s_, -10.5, 0.8 * c_, 0.9);
            art::set_rgb(cr_, darken(kSuit, 0.6));
            cairo_fill(cr_);
        }
        cairo_restore(cr_);
        ellipse_path(cr_, 0, kBodyY, kBodyRx, kBodyRy);
        art::set_rgb(cr_, kOutline);
        cairo_set_line_width(cr_, lw_);
        cairo_stroke(cr_);
    }

    void shoulder_spikes() {
        for (int side : {-1, 1}) {
            const double b = p_.yaw + side * kPi / 2;
            const double x = sx(b, 9.6), out = std::sin(b) >= 0 ? 1 : -1;
            for (int i = 0; i < 2; ++i) {
                const double bx = x - out * i * 2.6, by = -12.0 + i * 0.6;
                cairo_move_to(cr_, bx - 1.3, by + 0.8);
                cairo_line_to(cr_, bx + out * (2.2 - i * 0.6), by - 4.2 + i * 0.8);
                cairo_line_to(cr_, bx + 1.3, by + 0.6);
                cairo_close_path(cr_);
                set_cylinder_shading(cr_, bx - 1.3, bx + 1.3, {190, 196, 214});
                fill_and_ink(cr_, lw_ * 0.8);
            }
        }
    }

    void backpack() {
        const double b = p_.yaw + kPi;
        const double depth = std::cos(b);
        const double x = sx(b, 7.8);
        const double w = 2.6 + 6.5 * std::fabs(depth);
        rounded_rect_path(cr_, x - w / 2, -15.0, w, 10.0, 1.6);
        set_cylinder_shading(cr_, x - w / 2, x + w / 2, kPack);
        fill_and_ink(cr_, lw_);
        if (depth > 0.2) {
            // Seen from behind: two thruster nozzles and a warning light.
            for (int side : {-1, 1}) {
                rounded_rect_path(cr_, x + side * 1.8 * depth - 0.9, -5.5, 1.8, 2.0, 0.4);
                art::set_rgb(cr_, {92, 98, 118});
                fill_and_ink(cr_, lw_ * 0.6);
            }
            ellipse_path(cr_, x, -12.5, 1.0 * depth, 1.0);
            art::set_rgb(cr_, {255, 70, 60});
            cairo_fill(cr_);
        }
    }

    void head() {
        ellipse_path(cr_, 0, kHeadY, kHeadR, kHeadR);
        set_ball_shading(cr_, 0, kHeadY, kHeadR, kHeadR, kSkin);
        fill_and_ink(cr_, lw_);
        freckles();
        if (c_ > -0.3) eye();
        if (c_ > 0.05) mouth();
    }

    void freckles() {
        // Dark spots on the back of the head show which way a figure faces away from us.
        const double spots[3][3] = {{-0.5, 0.25, 1.3}, {0.1, -0.2, 1.6}, {0.55, 0.4, 1.1}};
        for (const auto& sp : spots) {
            const double az = p_.yaw + kPi + sp[0];
            const double depth = std::cos(az);
            if (depth < 0.2) continue;
            const double lat = sp[1];
            const double x = kHeadR * 0.92 * std::cos(lat) * std::sin(az);
            const double y = kHeadY - kHeadR * 0.92 * std::sin(lat);
            ellipse_path(cr_, x, y, sp[2] * depth, sp[2] * 0.85);
            art::set_rgb(cr_, darken(kSkin, 0.35));
            cairo_fill(cr_);
        }
    }

    void eye() {
        const bool shocked = p_.mood == Mood::Shocked;
        const double sc = 0.3 + 0.7 * std::fabs(c_);
        // Tiny figures get a relatively bigger eye, so it still reads at a few pixels.
        const double big = (p_.scale < 0.6 ? 1.15 : 1.0) * (shocked ? 1.1 : 1.0);
        const double ex = 6.8 * s_, ey = -22.5;
        const double rx = 4.8 * sc * big, ry = 5.0 * big;
        ellipse_path(cr_, ex, ey, rx, ry);
        set_ball_shading(cr_, ex, ey, rx, ry, kEyeWhite);
        cairo_fill_preserve(cr_);
        cairo_save(cr_);
        cairo_clip(cr_);
        const Rgb iris = p_.mood == Mood::Menacing ? Rgb{242, 40, 36} : Rgb{250, 170, 30};
        const double ir = shocked ? 1.7 : 2.7;
        const double ix = ex + rx * 0.35 * s_;
        ellipse_path(cr_, ix, ey + 0.2, ir * sc, ir);
        set_ball_shading(cr_, ix, ey + 0.2, ir * sc, ir, iris);
        cairo_fill(cr_);
        if (shocked)
            ellipse_path(cr_, ix, ey + 0.2, 0.8 * sc, 0.8);
        else
            ellipse_path(cr_, ix, ey + 0.2, 0.7 * sc, 2.1);
        art::set_rgb(cr_, {34, 14, 44});
        cairo_fill(cr_);
        ellipse_path(cr_, ex - rx * 0.32, ey - 1.9, 0.95 * sc, 0.95);
        art::set_rgb(cr_, {255, 255, 255});
        cairo_fill(cr_);
        if (p_.mood == Mood::Menacing || p_.damaged) lid(ex, ey, rx, ry);
        cairo_restore(cr_);
        ellipse_path(cr_, ex, ey, rx, ry);
        art::set_rgb(cr_, kOutline);
        cairo_set_line_width(cr_, lw_);
        cairo_stroke(cr_);
        if (p_.mood == Mood::Menacing && !p_.damaged) {
            // A heavy brow ridge above the lid's V makes the big one scowl.
            cairo_move_to(cr_, ex - rx * 1.15, ey - ry * 0.95);
            cairo_line_to(cr_, ex, ey - ry * 0.15);
            cairo_line_to(cr_, ex + rx * 1.15, ey - ry * 0.95);
            art::set_rgb(cr_, darken(kSkin, 0.55));
            cairo_set_line_width(cr_, 1.5);
            cairo_stroke(cr_);
        }
    }

    // Clipped to the eye: an angry V-shaped lid, or a drooping one when dazed.
    void lid(double ex, double ey, double rx, double ry) {
        if (p_.damaged) {
            cairo_rectangle(cr_, ex - rx - 1, ey - ry - 1, 2 * rx + 2, ry + 1.2);
        } else {
            cairo_move_to(cr_, ex - rx - 1, ey - ry - 1);
            cairo_line_to(cr_, ex + rx + 1, ey - ry - 1);
            cairo_line_to(cr_, ex + rx + 1, ey - ry * 0.62);
            cairo_line_to(cr_, ex, ey - ry * 0.1);
            cairo_line_to(cr_, ex - rx - 1, ey - ry * 0.62);
            cairo_close_path(cr_);
        }
        art::set_rgb(cr_, darken(kSkin, 0.2));
        cairo_fill_preserve(cr_);
        art::set_rgb(cr_, darken(kSkin, 0.6));
        cairo_set_line_width(cr_, lw_ * 0.8);
        cairo_stroke(cr_);
    }

    void mouth() {
        const double sc = 0.35 + 0.65 * c_;
        const double mx = 8.2 * s_, my = -15.7;
        switch (p_.mood) {
            case Mood::Cheeky: {
                const double w = 3.4 * sc;
                cairo_move_to(cr_, mx - w, my - 0.7);
                cairo_curve_to(cr_, mx - w / 2, my + 1.6, mx + w / 2, my + 1.6, mx + w, my - 0.7);
                art::set_rgb(cr_, kMouth);
                cairo_set_line_width(cr_, std::max(1.0, 0.8 / p_.scale));
                cairo_stroke(cr_);
                break;
            }
            case Mood::Shocked:
                ellipse_path(cr_, mx, my + 0.3, 1.5 * sc, 1.7);
                art::set_rgb(cr_, kMouth);
                fill_and_ink(cr_, lw_ * 0.7);
                break;
            case Mood::Menacing: {
                // A wide grin full of pointed teeth.
                const double w = 5.6 * sc;
                auto grin = [&] {
                    cairo_move_to(cr_, mx - w, my - 1.6);
                    cairo_curve_to(cr_, mx - w / 3, my - 0.6, mx + w / 3, my - 0.6, mx + w, my - 1.6);
                    cairo_curve_to(cr_, mx + w * 0.6, my + 3.2, mx - w * 0.6, my + 3.2, mx - w, my - 1.6);
                    cairo_close_path(cr_);
                };
                grin();
                art::set_rgb(cr_, kMouth);
                cairo_fill_preserve(cr_);
                cairo_save(cr_);
                cairo_clip(cr_);
                const int teeth = 7;
                for (int i = 0; i < teeth; ++i) {
                    const double t0 = -1 + 2.0 * i / teeth, t1 = -1 + 2.0 * (i + 1) / teeth;
                    const double x0 = mx + t0 * w, x1 = mx + t1 * w, top = my - 1.6 + 0.9 * (1 - t0 * t0);
                    cairo_move_to(cr_, x0, top - 1);
                    cairo_line_to(cr_, x1, top - 1);
                    cairo_line_to(cr_, (x0 + x1) / 2, top + 2.0);
                    cairo_close_path(cr_);
                    const double bot = my + 2.2 - 1.4 * ((t0 + t1) / 2) * ((t0 + t1) / 2);
                    if (i % 2 == 1) {
                        cairo_move_to(cr_, x0, bot + 1);
                        cairo_line_to(cr_, x1, bot + 1);
                        cairo_line_to(cr_, (x0 + x1) / 2, bot - 1.6);
                        cairo_close_path(cr_);
                    }
                }
                art::set_rgb(cr_, kTooth);
                cairo_fill_preserve(cr_);
                art::set_rgb(cr_, {150, 140, 130});
                cairo_set_line_width(cr_, lw_ * 0.4);
                cairo_stroke(cr_);
                cairo_restore(cr_);
                grin();
                art::set_rgb(cr_, kOutline);
                cairo_set_line_width(cr_, lw_);
                cairo_stroke(cr_);
                break;
            }
        }
    }

    double antenna_azimuth(int side) const { return p_.yaw + side * 0.85; }
    double antenna_depth(int side) const { return std::cos(antenna_azimuth(side)); }

    void antenna(int side) {
        const double b = antenna_azimuth(side);
        const double bx = sx(b, 4.8) - 0.8 * s_, by = -29.0;
        double tx = sx(b, 9.0) - 2.4 * s_, ty = -33.0;
        const bool broken = p_.damaged && side == 1;
        if (broken) {
            // Snapped: the stalk droops and the bulb is gone.
            tx = bx + (tx >= bx ? 4.2 : -4.2);
            ty = -27.5;
        }
        const double w = std::max(1.1, 0.85 / p_.scale);
        cairo_move_to(cr_, bx, by);
        cairo_curve_to(cr_, bx, by - 1.5, tx - 0.4 * (tx - bx), ty + 0.6, tx, ty);
        cairo_set_line_width(cr_, w + 1.4 * lw_);
        art::set_rgb(cr_, kOutline);
        cairo_stroke_preserve(cr_);
        cairo_set_line_width(cr_, w);
        art::set_rgb(cr_, darken(kSkin, 0.15));
        cairo_stroke(cr_);
        if (broken) {
            spark(tx, ty);
            return;
        }
        ellipse_path(cr_, tx, ty, 1.75, 1.75);
        set_ball_shading(cr_, tx, ty, 1.75, 1.75, kBulb);
        fill_and_ink(cr_, lw_);
    }

    void spark(double x, double y) {
        cairo_save(cr_);
        cairo_translate(cr_, x, y);
        cairo_move_to(cr_, 0, -2.6);
        for (int i = 1; i < 8; ++i) {
            const double a = -kPi / 2 + i * kPi / 4;
            const double r = i % 2 ? 0.8 : 2.6;
            cairo_line_to(cr_, r * std::cos(a), r * std::sin(a));
        }
        cairo_close_path(cr_);
        art::set_rgb(cr_, {255, 236, 90});
        cairo_fill_preserve(cr_);
        art::set_rgb(cr_, {255, 140, 30});
        cairo_set_line_width(cr_, lw_ * 0.5);
        cairo_stroke(cr_);
        cairo_restore(cr_);
    }

    struct Limb {
        double sx, sy, hx, hy, depth;
    };

    Limb limb(int side) const {
        const double b = p_.yaw + side * kPi / 2;
        double hb = b, r = 15.5, hy = side > 0 ? -9.5 : -7.0, sy = -12.5;
        switch (p_.arms) {
            case Arms::Riding:
                hb = b - 0.45;  // one hand forward, one back: a surfer's balance
                break;
            case Arms::Flailing: {
                // Flung up and out past the head, whichever way the figure is turned.
                const double out = std::sin(b) >= 0 ? 1 : -1;
                return {sx(b, 8.2), sy, out * 14.5, -27.0 + side * 1.5, std::cos(b)};
            }
            case Arms::Waving:
                if (side > 0) {
                    r = 11;
                    hy = -29;
                } else {
                    hb = b - 0.45;
                }
                break;
            case Arms::Hanging: {
                // Straight up beside the head, and behind it, so the face stays clear.
                const double out = std::sin(b) >= 0 ? 1 : -1;
                return {sx(b, 8.2), -14.5, out * 10.5, -31.5, -0.1};
            }
            case Arms::Peeking:
                hb = b - side * 0.5;
                r = 10.5;
                hy = -15.5;
                break;
            case Arms::Grabbing:
                hb = b - side * 0.35;
                r = 16;
                hy = -25 + side;
                break;
        }
        return {sx(b, 9.0), sy, sx(hb, r), hy, std::cos(hb)};
    }

    double arm_depth(int side) const { return limb(side).depth; }

    void arm(int side) {
        const Limb l = limb(side);
        const double mx = (l.sx + l.hx) / 2 + (l.hx >= l.sx ? 0.8 : -0.8), my = (l.sy + l.hy) / 2 + 1.4;
        cairo_move_to(cr_, l.sx, l.sy);
        cairo_curve_to(cr_, mx, my, mx, my, l.hx, l.hy);
        art::set_rgb(cr_, kOutline);
        cairo_set_line_width(cr_, 3.0 + 2 * lw_);
        cairo_stroke_preserve(cr_);
        art::set_rgb(cr_, lighten(kSuit, 0.12));
        cairo_set_line_width(cr_, 3.0);
        cairo_stroke(cr_);
        hand(l.hx, l.hy, std::atan2(l.hy - my, l.hx - mx));
    }

    void hand(double x, double y, double dir) {
        // Three fingers, or three claws for the big one, spread along the arm's direction.
        const bool claws = p_.arms == Arms::Grabbing;
        for (int f = -1; f <= 1; ++f) {
            const double a = dir + f * 0.62;
            if (claws) {
                const double bx = x + 1.5 * std::cos(a), by = y + 1.5 * std::sin(a);
                const double px = -std::sin(a) * 0.75, py = std::cos(a) * 0.75;
                cairo_move_to(cr_, bx + px, by + py);
                cairo_line_to(cr_, bx + 3.6 * std::cos(a + 0.25), by + 3.6 * std::sin(a + 0.25));
                cairo_line_to(cr_, bx - px, by - py);
                cairo_close_path(cr_);
                art::set_rgb(cr_, {236, 232, 214});
                fill_and_ink(cr_, lw_ * 0.8);
            } else {
                const double fx = x + 2.1 * std::cos(a), fy = y + 2.1 * std::sin(a);
                ellipse_path(cr_, fx, fy, 0.95, 0.95);
                art::set_rgb(cr_, kSkin);
                fill_and_ink(cr_, lw_ * 0.8);
            }
        }
        ellipse_path(cr_, x, y, 2.1, 2.1);
        set_ball_shading(cr_, x, y, 2.1, 2.1, kSkin);
        fill_and_ink(cr_, lw_);
    }

    cairo_t* cr_;
    const IronePose& p_;
    double s_, c_, lw_;
};

}  // namespace

void draw_irone(cairo_t* cr, const IronePose& pose) { Figure(cr, pose).draw(); }

}  // namespace creatures
