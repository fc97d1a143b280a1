// SPDX-License-Identifier: GPL-3.0-or-later
// The ageing portrait: the hero's princess in the left dome of the bottom panel, in eight stages
// from young to old. Each stage is cut from the whole panel, so it fits the dome around it exactly.
#include "cockpit.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace cockpit {
namespace {

// Each stage is cut from the panel at the place where the game paints it.
constexpr int kPortraitX = 57, kPortraitY = 13, kPortraitW = 103, kPortraitH = 85;
constexpr int kAgeStages = 8;
constexpr double kDomeX = 108.5, kDomeY = 407.5, kDomeRx = 45.5, kDomeRy = 37.5;

void set(cairo_t* cr, art::Rgb c, double a = 1) { art::set_rgb(cr, c, a); }
art::Rgb shade(art::Rgb c, double k) {
    auto ch = [k](uint8_t v) { return static_cast<uint8_t>(std::clamp(v * k, 0.0, 250.0)); };
    return {ch(c.r), ch(c.g), ch(c.b)};
}
double ramp(double age, double from, double to) { return std::clamp((age - from) / (to - from), 0.0, 1.0); }

// Hair: golden in youth, greying from the middle stages, silver at the end.
art::Rgb hair_colour(double age) {
    const art::Rgb gold{242, 198, 86}, ash{176, 164, 140}, silver{214, 214, 222};
    return age < 0.55 ? art::mix(gold, ash, ramp(age, 0.2, 0.55)) : art::mix(ash, silver, ramp(age, 0.55, 1));
}

void backdrop(cairo_t* cr) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, -38, 0, 38);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.24, 0.17, 0.45);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.52, 0.30, 0.58);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    p = cairo_pattern_create_radial(0, -6, 4, 0, -6, 40);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 0.85, 0.95, 0.45);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 0.85, 0.95, 0);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
}

void hair_back(cairo_t* cr, double age) {
    const double thin = 1.5 * age;  // the hair loses a little volume with the years
    cairo_move_to(cr, 0, -33 + thin);
    cairo_curve_to(cr, 18 - thin, -33 + thin, 26 - thin, -22, 25 - thin, -8);
    cairo_curve_to(cr, 24.5 - thin, 2, 28 - thin, 10, 29 - thin, 18);
    cairo_curve_to(cr, 30, 24, 27, 29, 24, 31);
    cairo_line_to(cr, -24, 31);
    cairo_curve_to(cr, -27, 29, -30, 24, -29 + thin, 18);
    cairo_curve_to(cr, -28 + thin, 10, -24.5 + thin, 2, -25 + thin, -8);
    cairo_curve_to(cr, -26 + thin, -22, -18 + thin, -33 + thin, 0, -33 + thin);
    cairo_close_path(cr);
    set(cr, shade(hair_colour(age), 0.78));
    cairo_fill_preserve(cr);
    set(cr, shade(hair_colour(age), 0.45));
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
}

void shoulders(cairo_t* cr, art::Rgb skin) {
    cairo_move_to(cr, -6, 4);
    cairo_line_to(cr, 6, 4);
    cairo_line_to(cr, 7, 22);
    cairo_line_to(cr, -7, 22);
    cairo_close_path(cr);
    set(cr, shade(skin, 0.88));
    cairo_fill(cr);
    // Shadow under the chin.
    cairo_move_to(cr, -6, 9);
    cairo_curve_to(cr, -3, 14, 3, 14, 6, 9);
    cairo_line_to(cr, 6, 6);
    cairo_line_to(cr, -6, 6);
    cairo_close_path(cr);
    set(cr, shade(skin, 0.72));
    cairo_fill(cr);

    cairo_move_to(cr, -46, 42);
    cairo_curve_to(cr, -44, 28, -28, 22, -9, 20);
    cairo_curve_to(cr, -6, 27, 6, 27, 9, 20);
    cairo_curve_to(cr, 28, 22, 44, 28, 46, 42);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(-30, 20, 30, 42);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.93, 0.38, 0.62);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.58, 0.14, 0.40);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    set(cr, {70, 16, 46});
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
    // A string of pearls along the neckline.
    for (int i = -3; i <= 3; ++i) {
        const double t = i / 3.0;
        cairo_arc(cr, t * 7.2, 21.5 + 3.6 * (1 - t * t), 0.95, 0, 2 * M_PI);
        set(cr, {246, 238, 222});
        cairo_fill(cr);
    }
}

void face_path(cairo_t* cr, double age) {
    const double jowl = 1.6 * ramp(age, 0.45, 1), chin = 1.2 * ramp(age, 0.5, 1);
    cairo_move_to(cr, -14.5, -6);
    cairo_curve_to(cr, -14.5, -20, -8, -24.5, 0, -24.5);
    cairo_curve_to(cr, 8, -24.5, 14.5, -20, 14.5, -6);
    cairo_curve_to(cr, 14.5 + jowl * 0.3, 3 + jowl, 8 + jowl, 11.5 + chin, 0, 13 + chin);
    cairo_curve_to(cr, -8 - jowl, 11.5 + chin, -14.5 - jowl * 0.3, 3 + jowl, -14.5, -6);
    cairo_close_path(cr);
}

void face(cairo_t* cr, double age, art::Rgb skin) {
    face_path(cr, age);
    cairo_pattern_t* p = cairo_pattern_create_radial(-4, -8, 2, 0, -4, 20);
    const art::Rgb lit = shade(skin, 1.04), dark = shade(skin, 0.80);
    cairo_pattern_add_color_stop_rgb(p, 0, lit.r / 255.0, lit.g / 255.0, lit.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 0.7, skin.r / 255.0, skin.g / 255.0, skin.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, dark.r / 255.0, dark.g / 255.0, dark.b / 255.0);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    set(cr, shade(skin, 0.55));
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);

    // Rosy cheeks fade with the years.
    for (double side : {-1.0, 1.0}) {
        cairo_save(cr);
        cairo_translate(cr, side * 8.8, 2);
        cairo_scale(cr, 1, 0.7);
        cairo_pattern_t* b = cairo_pattern_create_radial(0, 0, 0, 0, 0, 4.2);
        cairo_pattern_add_color_stop_rgba(b, 0, 1, 0.45, 0.5, 0.42 - 0.3 * age);
        cairo_pattern_add_color_stop_rgba(b, 1, 1, 0.45, 0.5, 0);
        cairo_set_source(cr, b);
        cairo_arc(cr, 0, 0, 4.2, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(b);
        cairo_restore(cr);
    }
}

void eye(cairo_t* cr, double side, double age, art::Rgb skin, art::Rgb brow) {
    cairo_save(cr);
    cairo_translate(cr, side * 6.3, -5.5);
    cairo_scale(cr, side, 1);
    auto outline = [cr]() {
        cairo_move_to(cr, -3.2, 0.3);
        cairo_curve_to(cr, -2.2, -2.5, 2.0, -2.9, 3.6, -0.2);
        cairo_curve_to(cr, 2.4, 1.9, -1.8, 2.2, -3.2, 0.3);
        cairo_close_path(cr);
    };
    outline();
    set(cr, {246, 244, 238});
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    cairo_arc(cr, 0.1, -0.3, 2.0, 0, 2 * M_PI);
    set(cr, art::mix({56, 128, 214}, {92, 118, 150}, age * 0.6));
    cairo_fill(cr);
    cairo_arc(cr, 0.1, -0.3, 0.95, 0, 2 * M_PI);
    set(cr, {18, 22, 40});
    cairo_fill(cr);
    cairo_arc(cr, -0.55, -1.05, 0.6, 0, 2 * M_PI);
    set(cr, {252, 252, 250});
    cairo_fill(cr);
    // With age the upper lid sinks over the eye.
    const double lid = -2.9 + 1.9 * ramp(age, 0.35, 1);
    cairo_move_to(cr, -4, -3.5);
    cairo_line_to(cr, 4, -3.5);
    cairo_line_to(cr, 4, lid + 0.6);
    cairo_curve_to(cr, 2, lid - 0.2, -2, lid - 0.2, -4, lid + 1.2);
    cairo_close_path(cr);
    set(cr, shade(skin, 0.93));
    cairo_fill(cr);
    cairo_restore(cr);

    // Upper lid line with a flick of lashes at the outer corner.
    cairo_move_to(cr, -3.3, 0.4);
    cairo_curve_to(cr, -2.2, -2.5, 2.0, -2.9, 3.7, -0.3);
    cairo_line_to(cr, 4.6, -1.3);
    cairo_set_line_width(cr, 1.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    set(cr, {54, 30, 34});
    cairo_stroke(cr);

    // Brow: full and dark at first, thinner and paler later.
    cairo_move_to(cr, -3.2, -5.0);
    cairo_curve_to(cr, -1, -6.9, 2.5, -7.0, 4.4, -5.0);
    cairo_set_line_width(cr, 1.3 - 0.45 * age);
    set(cr, brow);
    cairo_stroke(cr);

    // Bags under the eye and crow's feet at its corner.
    const double bags = ramp(age, 0.4, 1), feet = ramp(age, 0.3, 0.9);
    cairo_set_line_width(cr, 0.6);
    if (bags > 0) {
        cairo_move_to(cr, -2.6, 2.6);
        cairo_curve_to(cr, -1, 3.7, 1.5, 3.6, 3.0, 2.2);
        set(cr, shade(skin, 0.62), 0.8 * bags);
        cairo_stroke(cr);
    }
    if (feet > 0) {
        for (double dy : {-1.4, 0.3, 2.0}) {
            cairo_move_to(cr, 5.0, dy * 0.6);
            cairo_line_to(cr, 7.2, dy);
        }
        set(cr, shade(skin, 0.60), 0.85 * feet);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void nose_and_mouth(cairo_t* cr, double age, art::Rgb skin) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 1.2, -3.5);
    cairo_curve_to(cr, 2.2, -1, 2.6, 1, 1.4, 2.2);
    cairo_set_line_width(cr, 0.8);
    set(cr, shade(skin, 0.70));
    cairo_stroke(cr);
    cairo_move_to(cr, -1.6, 2.4);
    cairo_curve_to(cr, -0.6, 3.1, 0.6, 3.1, 1.6, 2.4);
    cairo_set_line_width(cr, 0.7);
    set(cr, shade(skin, 0.62));
    cairo_stroke(cr);

    // Lips: full and red when young, thinner and paler later; the smile stays.
    const double w = 4.3 - 0.5 * age, full = 1.0 - 0.45 * age, y = 6.8;
    const art::Rgb lip = art::mix({214, 56, 86}, {186, 112, 112}, age);
    cairo_move_to(cr, -w, y);
    cairo_curve_to(cr, -2, y - 1.6 * full, -0.7, y - 1.9 * full, 0, y - 1.2 * full);
    cairo_curve_to(cr, 0.7, y - 1.9 * full, 2, y - 1.6 * full, w, y);
    cairo_curve_to(cr, 2.5, y + 2.6 * full, -2.5, y + 2.6 * full, -w, y);
    cairo_close_path(cr);
    set(cr, lip);
    cairo_fill(cr);
    cairo_move_to(cr, -w - 0.3, y - 0.4);
    cairo_curve_to(cr, -1.5, y + 0.9, 1.5, y + 0.9, w + 0.3, y - 0.4);
    cairo_set_line_width(cr, 0.8);
    set(cr, {110, 34, 46});
    cairo_stroke(cr);
    cairo_arc(cr, -1.2, y + 1.3 * full, 0.55, 0, 2 * M_PI);
    set(cr, {255, 220, 225}, 0.7 - 0.4 * age);
    cairo_fill(cr);

    // Lines that deepen with the years: from the nose to the mouth, from the mouth down, the brow.
    const double folds = ramp(age, 0.25, 0.85), drop = ramp(age, 0.55, 1), brow = ramp(age, 0.4, 1);
    cairo_set_line_width(cr, 0.7);
    if (folds > 0) {
        for (double s : {-1.0, 1.0}) {
            cairo_move_to(cr, s * 3.6, 1.6);
            cairo_curve_to(cr, s * 6.0, 3.5, s * 6.4, 5.5, s * 5.6, 8.0);
        }
        set(cr, shade(skin, 0.62), 0.9 * folds);
        cairo_stroke(cr);
    }
    if (drop > 0) {
        for (double s : {-1.0, 1.0}) {
            cairo_move_to(cr, s * (w + 0.6), y + 0.6);
            cairo_curve_to(cr, s * (w + 1.2), y + 2.6, s * (w + 1.0), y + 4.0, s * (w + 1.6), y + 5.4);
        }
        cairo_move_to(cr, -2.2, 11.0);
        cairo_curve_to(cr, -0.8, 11.8, 0.8, 11.8, 2.2, 11.0);
        set(cr, shade(skin, 0.64), 0.9 * drop);
        cairo_stroke(cr);
    }
    if (brow > 0) {
        for (double y0 : {-16.0, -13.8}) {
            cairo_move_to(cr, -6.5, y0);
            cairo_curve_to(cr, -2.5, y0 - 1, 2.5, y0 - 1, 6.5, y0);
        }
        cairo_move_to(cr, -1.2, -11.5);
        cairo_line_to(cr, -0.8, -9.5);
        set(cr, shade(skin, 0.66), 0.8 * brow);
        cairo_stroke(cr);
    }
    // A few age spots at the very end.
    if (age > 0.9) {
        for (auto [x, y0] : {std::pair{-9.5, -12.0}, std::pair{8.5, -1.0}, std::pair{10.0, -14.0}}) {
            cairo_arc(cr, x, y0, 0.7, 0, 2 * M_PI);
            set(cr, shade(skin, 0.75), 0.8);
            cairo_fill(cr);
        }
    }
}

void hair_front(cairo_t* cr, double age) {
    const art::Rgb hair = hair_colour(age);
    // A fringe swept to her left, and locks falling along both cheeks to the shoulders.
    cairo_move_to(cr, -15.5, -2);
    cairo_curve_to(cr, -17.5, -20, -9, -28, 1, -27.5);
    cairo_curve_to(cr, 11, -27, 17.5, -20, 15.5, -2);
    cairo_curve_to(cr, 14.5, -10, 12, -15, 8, -17);
    cairo_curve_to(cr, 4, -13, -2, -13, -7, -17.5);
    cairo_curve_to(cr, -10, -15, -13.5, -10, -15.5, -2);
    cairo_close_path(cr);
    for (double s : {-1.0, 1.0}) {
        cairo_move_to(cr, s * 14.8, -12);
        cairo_curve_to(cr, s * 17.5, -2, s * 15.5, 8, s * 18.5, 16);
        cairo_curve_to(cr, s * 20.5, 22, s * 19, 26, s * 22.5, 30);
        cairo_curve_to(cr, s * 26.5, 28.5, s * 27.5, 24, s * 25.5, 19);
        cairo_curve_to(cr, s * 23, 11, s * 24, 0, s * 20.5, -12);
        cairo_close_path(cr);
    }
    cairo_pattern_t* p = cairo_pattern_create_linear(-10, -28, 10, 10);
    const art::Rgb hi = art::mix(hair, {255, 250, 235}, 0.35), lo = shade(hair, 0.8);
    cairo_pattern_add_color_stop_rgb(p, 0, hi.r / 255.0, hi.g / 255.0, hi.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 0.5, hair.r / 255.0, hair.g / 255.0, hair.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, lo.r / 255.0, lo.g / 255.0, lo.b / 255.0);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    set(cr, shade(hair, 0.45));
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);

    // Strands.
    cairo_set_line_width(cr, 0.6);
    set(cr, shade(hair, 0.62), 0.9);
    cairo_move_to(cr, -4, -26);
    cairo_curve_to(cr, -9, -23, -12, -17, -13.5, -8);
    cairo_move_to(cr, 5, -26);
    cairo_curve_to(cr, 10, -23, 13, -16, 14, -8);
    cairo_move_to(cr, 1, -24);
    cairo_curve_to(cr, 3, -21, 6, -19, 8, -17.5);
    for (double s : {-1.0, 1.0}) {
        cairo_move_to(cr, s * 19, -4);
        cairo_curve_to(cr, s * 19.5, 6, s * 19, 14, s * 22, 22);
        cairo_curve_to(cr, s * 23, 25, s * 22.5, 27, s * 23.5, 28.5);
    }
    cairo_stroke(cr);
}

void tiara(cairo_t* cr) {
    cairo_move_to(cr, -11, -24.5);
    cairo_curve_to(cr, -6, -26.5, 6, -26.5, 11, -24.5);
    cairo_line_to(cr, 10.5, -26.5);
    cairo_line_to(cr, 7, -29);
    cairo_line_to(cr, 4, -28);
    cairo_line_to(cr, 0, -33);
    cairo_line_to(cr, -4, -28);
    cairo_line_to(cr, -7, -29);
    cairo_line_to(cr, -10.5, -26.5);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, -33, 0, -24);
    cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.93, 0.55);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.80, 0.55, 0.12);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    set(cr, {100, 62, 10});
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    cairo_arc(cr, 0, -28.2, 1.6, 0, 2 * M_PI);
    set(cr, {40, 170, 230});
    cairo_fill(cr);
    cairo_arc(cr, -0.5, -28.7, 0.5, 0, 2 * M_PI);
    set(cr, {230, 250, 255});
    cairo_fill(cr);
}

void princess(cairo_t* cr, int stage) {
    const double age = stage / static_cast<double>(kAgeStages - 1);
    const art::Rgb skin = art::mix({255, 214, 184}, {232, 200, 182}, age);
    const art::Rgb brow = art::mix(shade(hair_colour(age), 0.55), shade(hair_colour(age), 0.75), age);
    backdrop(cr);
    hair_back(cr, age);
    shoulders(cr, skin);
    face(cr, age, skin);
    eye(cr, -1, age, skin, brow);
    eye(cr, 1, age, skin, brow);
    nose_and_mouth(cr, age, skin);
    hair_front(cr, age);
    tiara(cr);
}

}  // namespace

void draw_portrait_dome(art::Canvas& s, int stage) {
    cairo_t* cr = s.cr();
    dome_bezel(cr, kDomeX, kDomeY, kDomeRx, kDomeRy, 6);
    cairo_save(cr);
    ellipse_path(cr, kDomeX, kDomeY, kDomeRx, kDomeRy);
    cairo_clip(cr);
    cairo_translate(cr, kDomeX, kDomeY + 1);
    princess(cr, stage);
    cairo_restore(cr);
    glass_shine(cr, kDomeX, kDomeY, kDomeRx, kDomeRy);
}

void write_portrait(const fs::path& dir) {
    art::Canvas stages(kPortraitW, kPortraitH * kAgeStages);
    for (int s = 0; s < kAgeStages; ++s) {
        art::Canvas screen(640, 480);
        draw_cockpit(screen, {s, AmmoLook::Full});
        copy_rect(stages, 0, kPortraitH * s, screen, kPortraitX, kPanelTop + kPortraitY, kPortraitW, kPortraitH);
    }
    stages.write_bmp(dir, "altern.bmp", art::Key::White);
}

}  // namespace cockpit
