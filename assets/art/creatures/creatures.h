// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the creature pictures: the Irone figure, the hover board, the rider
// geometry that ties a figure strip to its board strip, and small drawing helpers.
#pragma once

#include "canvas.h"

#include <cairo.h>

#include <filesystem>
#include <functional>

namespace creatures {

using art::Rgb;
namespace fs = std::filesystem;

// One writer per file of this family; each writes its bitmaps into dir.
void write_irones(const fs::path& dir);
void write_boards(const fs::path& dir);
void write_big_irone(const fs::path& dir);
void write_castle(const fs::path& dir);
void write_satellites(const fs::path& dir);
void write_tanks(const fs::path& dir);
void write_station(const fs::path& dir);

// The ink of every outline: a deep navy, far enough from black that it never becomes the key.
inline constexpr Rgb kOutline{24, 18, 48};
inline constexpr double kPi = 3.14159265358979323846;

Rgb lighten(Rgb c, double t);
Rgb darken(Rgb c, double t);  // towards the outline ink, so shadows stay cool

void ellipse_path(cairo_t* cr, double cx, double cy, double rx, double ry);
void rounded_rect_path(cairo_t* cr, double x, double y, double w, double h, double r);
// A ball-like radial shading lit from the upper left, used as the source of the next fill.
void set_ball_shading(cairo_t* cr, double cx, double cy, double rx, double ry, Rgb base);
// A vertical metal shading across [x0, x1], bright on the left, dark on the right.
void set_cylinder_shading(cairo_t* cr, double x0, double x1, Rgb base);
// Fills the current path with the current source and inks its outline; the path is consumed.
void fill_and_ink(cairo_t* cr, double outline_width);

// Paints one cell of a sheet: the painter sees the cell's own coordinates and cannot spill
// into the neighbouring cells, which the game cuts out as separate frames.
void draw_cell(art::Canvas& sheet, int x, int y, int w, int h, const std::function<void(cairo_t*)>& paint);
// Writes a black-keyed sheet. Figure pixels so dark that the 16-bit display would turn
// them into the key (and so into holes for the pixel hit tests) are lifted first.
void write_sheet(art::Canvas& sheet, const fs::path& dir, const char* name);

// ---- The Irone ----------------------------------------------------------------------

enum class Arms { Riding, Flailing, Waving, Hanging, Peeking, Grabbing };
enum class Mood { Cheeky, Shocked, Menacing };

// The figure is modelled in units with its feet at (0, 0) and its antenna tips 35 units up;
// the large rider is drawn at one pixel per unit.
struct IronePose {
    double x = 0, y = 0;  // where the feet stand
    double scale = 1;     // pixels per unit
    double yaw = 0;       // 0 faces the viewer, +pi/2 faces right, pi faces away
    double lean = 0;      // forward lean in the direction it faces
    double roll = 0;      // turn of the whole figure around its middle (somersaults)
    Arms arms = Arms::Riding;
    Mood mood = Mood::Cheeky;
    bool damaged = false;  // the big Irone after a hit: bent antenna, dazed eye
    double outline_px = 1.0;
};
inline constexpr double kIroneMiddle = 17.5;  // units above the feet
void draw_irone(cairo_t* cr, const IronePose& pose);

// ---- The hover board ----------------------------------------------------------------

struct BoardLook {
    Rgb deck, stripe, side;
};
struct BoardShape {
    double half_length = 62, half_width = 18, thickness = 4.5;
    double squash = 0.118;  // how flat the board's plane looks: the boards are seen nearly edge-on
};
// Draws a board whose deck centre (where the rider's feet stand) is at (cx, cy); its nose
// points along the yaw as the rider faces.
void draw_board(cairo_t* cr, double cx, double cy, double scale, double yaw, const BoardShape& shape,
                const BoardLook& look, double outline_px);

// ---- Riders: an Irone strip and its board strip ---------------------------------------

// The board cell is drawn at (rider x - board_dx, rider y + board_dy), so the deck centre
// (board_w / 2, deck_y) of the board cell is where the rider's feet stand.
struct RiderSize {
    const char* irone_name;
    const char* board_name;
    const char* salto_name;
    int irone_w, irone_h;
    int board_w, board_h;
    int board_dx, board_dy;
    int salto_cell;
    double scale;
    double deck_y;
    BoardLook look;

    double feet_x() const { return board_w / 2.0 - board_dx; }
    double feet_y() const { return board_dy + deck_y; }
};
inline constexpr int kFacings = 36;
const RiderSize& rider(int size);  // 0 large, 1 middle, 2 small
// Facing k is the direction of travel 10 k degrees: 0 down the screen (towards the viewer),
// 9 right, 18 up (away), 27 left.
double facing_yaw(int k);

}  // namespace creatures
