// SPDX-License-Identifier: GPL-3.0-or-later
// Shared drawing of the menu pages and panel: text in DejaVu Sans, headings, the page's
// dark screen and frame, lamps, INFO buttons and entry boxes, so every page has one look.
#pragma once

#include "canvas.h"

#include <string>
#include <vector>

namespace screens {

// Palette of the menu: dark navy screens (never pure black, which would be see-through),
// cyan frames, yellow headings, light body text.
inline constexpr art::Rgb kScreenTop{16, 22, 44};
inline constexpr art::Rgb kScreenBottom{9, 13, 28};
inline constexpr art::Rgb kFrame{64, 170, 220};
inline constexpr art::Rgb kHeading{255, 206, 64};
inline constexpr art::Rgb kBody{222, 230, 242};
inline constexpr art::Rgb kMuted{150, 172, 200};
inline constexpr art::Rgb kAccent{120, 230, 255};
inline constexpr art::Rgb kWarn{255, 92, 64};
inline constexpr art::Rgb kShadow{6, 8, 16};

enum class Align { Left, Centre, Right };

struct TextStyle {
    double size = 11;
    bool bold = false;
    art::Rgb colour = kBody;
    double condense = 1.0;  // horizontal scale of the face, 1 = DejaVu Sans as designed
};

// Width in pixels of a single line of text in the given style.
double text_width(cairo_t* cr, const std::string& line, const TextStyle& style);

// One line of text on a baseline. A line wider than max_width (when max_width > 0) is
// squeezed horizontally to fit rather than running over whatever lies beside it.
void text(cairo_t* cr, double x, double baseline, const std::string& line, const TextStyle& style,
          Align align = Align::Left, double max_width = 0);

// Lines of running text, baseline to baseline line_height apart; empty lines leave a gap.
void text_lines(cairo_t* cr, double x, double first_baseline, double line_height, const std::vector<std::string>& lines,
                const TextStyle& style, double max_width);

// Page heading: bold yellow capitals with a dark drop shadow.
void heading(cairo_t* cr, double x, double baseline, const std::string& line, double size = 15, double max_width = 0);

// The page's dark screen with its rounded cyan frame, covering the whole canvas.
void page_screen(art::Canvas& page);

// Only the rounded frame and the metal corners outside it, for pages that paint their own
// background (the title art).
void page_frame(art::Canvas& page);

// A softly lit panel inside a page (behind a list, a counter, a figure).
void inset_panel(cairo_t* cr, double x, double y, double w, double h, art::Rgb fill = {20, 28, 54});

enum class LampColour { Green, Red };
enum class LampLook { Bright, Normal, Dim };

// A round lamp in a metal socket; the glass fills the circle of radius r around (cx, cy),
// the socket ring lies outside it.
void lamp(cairo_t* cr, double cx, double cy, double r, LampColour colour, LampLook look);

// A lamp with its socket inside the 20 x 20 square at (left, top), where the menu draws
// its lit or dimmed piece over it.
void small_lamp(cairo_t* cr, double left, double top, LampColour colour, LampLook look);

// The INFO button of a page, under the 36 x 20 lit label the menu draws at page (250, 12).
void info_button(cairo_t* cr);

// A dark entry box around a text field whose text starts at (x, y) and is w wide and 16 high.
void entry_box(cairo_t* cr, double x, double y, double w);

// Rounded-rectangle path helper.
void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r);

}  // namespace screens
