// SPDX-License-Identifier: GPL-3.0-or-later
// The riding Irones in their 36 facings (one strip per board size) and their somersault
// sheets: column 0 tumbles off to the right, column 1 to the left, eight phases each.
#include "creatures.h"

namespace creatures {
namespace {

constexpr double kOutlinePx[3] = {1.0, 0.85, 0.6};

void write_riders(const fs::path& dir, int size) {
    const RiderSize& r = rider(size);
    art::Canvas sheet(r.irone_w, r.irone_h * kFacings);
    for (int k = 0; k < kFacings; ++k) {
        draw_cell(sheet, 0, k * r.irone_h, r.irone_w, r.irone_h, [&](cairo_t* cr) {
            IronePose pose;
            pose.x = r.feet_x();
            pose.y = r.feet_y();
            pose.scale = r.scale;
            pose.yaw = facing_yaw(k);
            pose.lean = 0.1;
            pose.outline_px = kOutlinePx[size];
            draw_irone(cr, pose);
        });
    }
    write_sheet(sheet, dir, r.irone_name);
}

void write_salto(const fs::path& dir, int size) {
    const RiderSize& r = rider(size);
    const int c = r.salto_cell;
    art::Canvas sheet(2 * c, 8 * c);
    for (int column = 0; column < 2; ++column) {
        // Facings 0..17 move right on the screen and tumble from column 0, the others from
        // column 1; a figure flung to the right somersaults forwards, that is clockwise.
        const double turn = column == 0 ? 1 : -1;
        for (int row = 0; row < 8; ++row) {
            draw_cell(sheet, column * c, row * c, c, c, [&](cairo_t* cr) {
                IronePose pose;
                pose.scale = c / 54.0;
                pose.x = c / 2.0;
                pose.y = c / 2.0 + kIroneMiddle * pose.scale;
                pose.yaw = turn * 0.95;
                pose.roll = turn * row * kPi / 4;
                pose.arms = Arms::Flailing;
                pose.mood = Mood::Shocked;
                pose.outline_px = kOutlinePx[size];
                draw_irone(cr, pose);
            });
        }
    }
    write_sheet(sheet, dir, r.salto_name);
}

}  // namespace

void write_irones(const fs::path& dir) {
    for (int size = 0; size < 3; ++size) {
        write_riders(dir, size);
        write_salto(dir, size);
    }
}

}  // namespace creatures
