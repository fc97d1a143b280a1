// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the game's world as they appear on the title, closing and menu pictures:
// deep space, planets, castles, Irones on hover boards, Raumtanks, the lens, the hero's ship,
// the princess and the chrome VORLANIX lettering.
#pragma once

#include "canvas.h"

#include <string>

namespace screens {

// Deep space over the whole canvas: a vertical gradient, coloured nebula clouds and stars.
void space_backdrop(art::Canvas& c, art::Rng& rng, art::Rgb top, art::Rgb bottom, int stars);

// A soft glowing cloud (additive-looking radial fade).
void nebula(cairo_t* cr, double cx, double cy, double rx, double ry, art::Rgb colour, double alpha);

// A small star with a four-pointed glint.
void sparkle(cairo_t* cr, double cx, double cy, double size, art::Rgb colour);

// A shaded planet of radius r with bands or craters and a thin atmosphere.
void planet(cairo_t* cr, art::Rng& rng, double cx, double cy, double r, art::Rgb light, art::Rgb dark, bool bands,
            int craters);

// A ring around a planet; draw the back half before the planet and the front half after it.
void planet_ring(cairo_t* cr, double cx, double cy, double r, double tilt, art::Rgb colour, bool front);

// A small fortress standing on (cx, base_y), about 56 x 60 pixels at scale 1, with its flag.
void castle(cairo_t* cr, double cx, double base_y, double scale, art::Rgb flag);

// An Irone riding its hover board; (cx, cy) is the middle of the board's top, the creature
// stands above it. About 70 x 60 pixels at scale 1.
void irone_on_board(cairo_t* cr, double cx, double cy, double scale, double tilt, bool waving);

// A Raumtank, 28 x 70 pixels at scale 1 with its upper-left corner at (x, y).
void raumtank(cairo_t* cr, double x, double y, double scale, art::Rgb body);

// The lens: a brass-rimmed magnifying glass centred on its glass.
void lens(cairo_t* cr, double cx, double cy, double scale);

// The hero's little ship, nose pointing along angle (radians, 0 = right), with a flame.
void hero_ship(cairo_t* cr, double cx, double cy, double scale, double angle);

// The princess's portrait, head and shoulders centred on (cx, cy); age 0 is young, 1 old.
void princess(cairo_t* cr, double cx, double cy, double scale, double age);

// The name of the game in chrome capitals with a dark outline and a deep shadow,
// centred on cx with its baseline at baseline.
void chrome_title(cairo_t* cr, const std::string& word, double cx, double baseline, double size);

}  // namespace screens
