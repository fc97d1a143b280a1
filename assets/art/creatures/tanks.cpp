// SPDX-License-Identifier: GPL-3.0-or-later
// The Raumtank: a floating fuel tank with a filler valve and nozzle, in its three states
// side by side: blue while the castles stand, green once they are down, red in the final phase.
#include "creatures.h"

namespace creatures {
namespace {

constexpr int kW = 28, kH = 70;
constexpr Rgb kSteel{176, 184, 204};

struct TankColours {
    Rgb body, fuel;
};
constexpr TankColours kStates[3] = {
    {{78, 136, 214}, {110, 232, 255}},
    {{70, 196, 96}, {222, 255, 92}},
    {{234, 72, 66}, {255, 214, 70}},
};

void band(cairo_t* cr, double y, double h, bool hazard) {
    cairo_rectangle(cr, 2.5, y, 23, h);
    set_cylinder_shading(cr, 2.5, 25.5, kSteel);
    cairo_fill_preserve(cr);
    if (hazard) {
        cairo_save(cr);
        cairo_clip_preserve(cr);
        art::set_rgb(cr, {40, 30, 40});
        for (double x = -2; x < 28; x += 4) {
            cairo_move_to(cr, x, y + h);
            cairo_line_to(cr, x + 2, y + h);
            cairo_line_to(cr, x + 2 + h, y);
            cairo_line_to(cr, x + h, y);
            cairo_close_path(cr);
        }
        cairo_fill(cr);
        cairo_restore(cr);
    }
    art::set_rgb(cr, kOutline);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
}

void paint_tank(cairo_t* cr, int state) {
    const TankColours& c = kStates[state];
    // A small exhaust flame keeps it floating upwards.
    cairo_move_to(cr, 11, 64);
    cairo_curve_to(cr, 11, 68, 14, 70, 14, 70);
    cairo_curve_to(cr, 14, 70, 17, 68, 17, 64);
    cairo_close_path(cr);
    art::set_rgb(cr, {255, 170, 60});
    cairo_fill(cr);
    ellipse_path(cr, 14, 65.5, 1.6, 2.2);
    art::set_rgb(cr, {255, 246, 200});
    cairo_fill(cr);

    for (double side : {-1.0, 1.0}) {
        const double x = 14 + side * 9;
        cairo_move_to(cr, x - side * 3, 50);
        cairo_line_to(cr, x + side * 3.5, 60);
        cairo_line_to(cr, x + side * 3.5, 67);
        cairo_line_to(cr, x - side * 1, 62);
        cairo_close_path(cr);
        art::set_rgb(cr, darken(c.body, 0.25));
        fill_and_ink(cr, 0.8);
    }
    cairo_move_to(cr, 10, 58);
    cairo_line_to(cr, 18, 58);
    cairo_line_to(cr, 19.5, 65);
    cairo_line_to(cr, 8.5, 65);
    cairo_close_path(cr);
    set_cylinder_shading(cr, 8.5, 19.5, {130, 134, 150});
    fill_and_ink(cr, 0.8);

    rounded_rect_path(cr, 3, 10, 22, 50, 10.5);
    set_cylinder_shading(cr, 3, 25, c.body);
    fill_and_ink(cr, 1);
    band(cr, 18, 3, state == 2);
    band(cr, 49, 3, state == 2);

    // Fuel gauge: a window with the level and its ticks.
    rounded_rect_path(cr, 10.5, 24, 7, 22, 2.5);
    art::set_rgb(cr, {28, 34, 66});
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    cairo_rectangle(cr, 10, 28, 8, 20);
    set_cylinder_shading(cr, 10.5, 17.5, c.fuel);
    cairo_fill(cr);
    art::set_rgb(cr, lighten(c.fuel, 0.6));
    cairo_rectangle(cr, 10, 27.5, 8, 1);
    cairo_fill(cr);
    cairo_restore(cr);
    art::set_rgb(cr, kOutline);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    art::set_rgb(cr, {236, 240, 250});
    cairo_set_line_width(cr, 0.7);
    for (double y = 30; y < 46; y += 4) {
        cairo_move_to(cr, 18.5, y);
        cairo_line_to(cr, 21, y);
    }
    cairo_stroke(cr);

    // Filler neck, valve wheel and the bent nozzle.
    cairo_rectangle(cr, 11, 5, 6, 6);
    set_cylinder_shading(cr, 11, 17, kSteel);
    fill_and_ink(cr, 0.8);
    cairo_move_to(cr, 16, 7.5);
    cairo_curve_to(cr, 21, 7.5, 23, 8.5, 23, 12.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    art::set_rgb(cr, kOutline);
    cairo_set_line_width(cr, 4.2);
    cairo_stroke_preserve(cr);
    art::set_rgb(cr, kSteel);
    cairo_set_line_width(cr, 2.6);
    cairo_stroke(cr);
    cairo_move_to(cr, 21, 12);
    cairo_line_to(cr, 25, 12);
    cairo_line_to(cr, 26, 17);
    cairo_line_to(cr, 20, 17);
    cairo_close_path(cr);
    set_cylinder_shading(cr, 20, 26, {226, 190, 80});
    fill_and_ink(cr, 0.8);
    ellipse_path(cr, 14, 4, 5.5, 2.3);
    art::set_rgb(cr, c.body);
    fill_and_ink(cr, 0.9);
    ellipse_path(cr, 14, 4, 1.5, 0.8);
    art::set_rgb(cr, kSteel);
    cairo_fill(cr);
}

}  // namespace

void write_tanks(const fs::path& dir) {
    art::Canvas sheet(3 * kW, kH);
    for (int state = 0; state < 3; ++state)
        draw_cell(sheet, state * kW, 0, kW, kH, [state](cairo_t* cr) { paint_tank(cr, state); });
    write_sheet(sheet, dir, "raumtank.bmp");
}

}  // namespace creatures
