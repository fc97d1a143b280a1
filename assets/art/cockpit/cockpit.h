// SPDX-License-Identifier: GPL-3.0-or-later
// The cockpit pictures: the frame around the play window with its instruments, the counter
// digits, the bitmap font, the ageing portrait and the small pieces of the menu frame.
#pragma once

#include "canvas.h"

#include <cstdint>
#include <filesystem>
#include <functional>

namespace cockpit {

namespace fs = std::filesystem;

// The bottom panel's top row on the screen.
constexpr int kPanelTop = 352;

// The look of the eight segments of the ammunition bar.
enum class AmmoLook { Full, Spent, HalfSpent };

// What changes between the renderings of the whole cockpit.
struct CockpitLook {
    int portrait_stage = 0;
    AmmoLook ammo = AmmoLook::Full;
};

// ---- helpers (metal.cpp) ----

enum class Grain { Horizontal, Vertical };
// Fills the area that `shape` outlines (a cairo path, filled even-odd) with brushed metal of the
// given base colour, streaked along `grain`.
void brushed_metal(art::Canvas& c, const std::function<void(cairo_t*)>& shape, art::Rgb base, Grain grain,
                   uint64_t seed);

// A domed rivet head with its shadow, lit from the upper left.
void rivet(cairo_t* cr, double x, double y, double r);
// Adds an ellipse to the current path.
void ellipse_path(cairo_t* cr, double cx, double cy, double rx, double ry);
void rounded_rect_path(cairo_t* cr, double x0, double y0, double x1, double y1, double r);
// Replaces the rectangle at (dx, dy) of dst with the rectangle (sx, sy, w, h) of src, alpha included.
void copy_rect(art::Canvas& dst, int dx, int dy, art::Canvas& src, int sx, int sy, int w, int h);
// Turns every opaque pure white pixel into a near-white, for pictures that end up in white-keyed ones.
void avoid_pure_white(art::Canvas& c);
// A bolted metal ring of width `ring` around the glass ellipse (rx, ry) of a dome, with its shadow.
void dome_bezel(cairo_t* cr, double cx, double cy, double rx, double ry, double ring);
// The glass over a dome's contents: darker towards the rim, a crescent of light at the upper left.
void glass_shine(cairo_t* cr, double cx, double cy, double rx, double ry);
// Shows `text` centred on (cx, cy) by its ink box.
void centred_text(cairo_t* cr, const char* text, double cx, double cy);

// ---- the pieces one picture borrows from another ----

// frame.cpp: the whole 640 x 480 cockpit, transparent where the view is.
void draw_cockpit(art::Canvas& screen, const CockpitLook& look);
// instruments.cpp: the ammunition bar, the radar face and the counter dome's face.
void draw_ammo_bar(cairo_t* cr, AmmoLook look);
void draw_radar(art::Canvas& screen);
void draw_counter_dome(art::Canvas& screen);
// portrait.cpp: the portrait dome's contents for one stage, in screen coordinates.
void draw_portrait_dome(art::Canvas& screen, int stage);
// digits.cpp: the drum digit sheet, and the places of its 20 x 20 cells on the sheet and the panel.
void draw_score_sheet(art::Canvas& sheet);
struct DrumPlace {
    int sheet_x, sheet_y;  // within a digit's band of 55 rows
    int panel_x, panel_y;  // on the bottom panel
};
constexpr int kDrumCell = 20, kDrumBand = 55;
constexpr DrumPlace kYearDrums[3] = {{21, 4, 504, 27}, {39, 4, 522, 27}, {57, 4, 540, 27}};
constexpr DrumPlace kScoreDrums[5] = {
    {2, 28, 485, 51}, {19, 28, 502, 51}, {37, 28, 520, 51}, {55, 31, 538, 54}, {73, 35, 556, 58}};

// ---- writers, one per picture family ----
void write_frame(const fs::path& dir);        // oben, links, rechts, unten
void write_instruments(const fs::path& dir);  // oben_rot
void write_digits(const fs::path& dir);       // Score, zahlen, ergebniszahlen
void write_font(const fs::path& dir);         // SchriftSatz
void write_portrait(const fs::path& dir);     // altern
void write_menu_bits(const fs::path& dir);    // logo, button

}  // namespace cockpit
