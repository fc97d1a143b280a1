// SPDX-License-Identifier: GPL-3.0-or-later
// The full-screen title picture "start.bmp" and the closing picture "ende.bmp".
#include "page_kit.h"
#include "screens.h"
#include "world_figures.h"

#include <cmath>

namespace screens {

namespace {

// Big friendly lettering with a dark outline and a cool gradient, for the farewell.
void outlined_text(cairo_t* cr, const std::string& line, double cx, double baseline, double size, art::Rgb top,
                   art::Rgb bottom) {
    art::select_font(cr, "DejaVu Sans", size, true);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, line.c_str(), &ext);
    cairo_move_to(cr, cx - ext.width / 2 - ext.x_bearing, baseline);
    cairo_text_path(cr, line.c_str());
    cairo_path_t* path = cairo_copy_path(cr);
    cairo_new_path(cr);

    cairo_save(cr);
    cairo_translate(cr, 3, 4);
    cairo_append_path(cr, path);
    cairo_restore(cr);
    art::set_rgb(cr, {10, 8, 30}, 0.8);
    cairo_fill(cr);

    cairo_append_path(cr, path);
    cairo_set_line_width(cr, size * 0.08);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    art::set_rgb(cr, {24, 18, 60});
    cairo_stroke(cr);

    cairo_pattern_t* fill = cairo_pattern_create_linear(0, baseline - size * 0.75, 0, baseline);
    cairo_pattern_add_color_stop_rgb(fill, 0, top.r / 255.0, top.g / 255.0, top.b / 255.0);
    cairo_pattern_add_color_stop_rgb(fill, 1, bottom.r / 255.0, bottom.g / 255.0, bottom.b / 255.0);
    cairo_append_path(cr, path);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
    cairo_path_destroy(path);
}

// A caption with a one-pixel shadow so it reads over stars and clouds.
void caption(cairo_t* cr, const std::string& line, double cx, double baseline, double size, art::Rgb colour) {
    text(cr, cx + 1, baseline + 1, line, {size, true, kShadow}, Align::Centre);
    text(cr, cx, baseline, line, {size, true, colour}, Align::Centre);
}

void draw_start(const std::filesystem::path& dir) {
    art::Canvas c(640, 480);
    cairo_t* cr = c.cr();
    art::Rng rng(0x5717A7E1ull);
    space_backdrop(c, rng, {8, 10, 34}, {24, 12, 48}, 460);

    // A banded giant with rings in the lower right.
    planet_ring(cr, 560, 410, 120, -0.28, {230, 190, 140}, false);
    planet(cr, rng, 560, 410, 120, {246, 170, 90}, {110, 40, 50}, true, 0);
    planet_ring(cr, 560, 410, 120, -0.28, {230, 190, 140}, true);

    // The Irones' castle planet on the left, with its moons.
    planet(cr, rng, 118, 372, 82, {176, 128, 236}, {46, 24, 96}, false, 9);
    castle(cr, 118, 296, 1.25, {255, 70, 70});
    planet(cr, rng, 226, 314, 15, {200, 204, 214}, {60, 64, 80}, false, 3);
    planet(cr, rng, 30, 258, 10, {150, 230, 200}, {30, 80, 90}, false, 2);

    // Irones on their boards, a Raumtank and the hero's ship.
    irone_on_board(cr, 250, 236, 0.75, 0.1, false);
    irone_on_board(cr, 458, 228, 1.0, -0.14, false);
    irone_on_board(cr, 340, 312, 1.35, 0.08, true);
    raumtank(cr, 588, 176, 0.9, {80, 150, 236});
    hero_ship(cr, 236, 420, 1.3, -0.32);

    chrome_title(cr, "VORLANIX", 320, 126, 94);
    caption(cr, "Rette die Prinzessin, bevor sie alt wird!", 320, 164, 17, {170, 236, 255});
    caption(cr, "Mausklick zum Starten", 320, 462, 14, {255, 226, 150});

    // The glint on the title; the game reads its white from the middle of it.
    sparkle(cr, 250, 110, 11, {255, 255, 255});
    for (auto [dx, dy] : {std::pair{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
        c.set_pixel(250 + dx, 110 + dy, {255, 255, 255});
    }
    c.write_bmp(dir, "start.bmp", art::Key::Black);
}

void draw_ende(const std::filesystem::path& dir) {
    art::Canvas c(640, 480);
    cairo_t* cr = c.cr();
    art::Rng rng(0xE9DE0B7Eull);
    space_backdrop(c, rng, {8, 8, 32}, {58, 22, 62}, 380);

    // Home: a blue world rising at the bottom, lit by a warm sun behind its rim.
    nebula(cr, 470, 392, 260, 90, {255, 170, 90}, 0.55);
    planet(cr, rng, 320, 930, 560, {90, 170, 240}, {16, 40, 96}, true, 0);
    sparkle(cr, 470, 372, 18, {255, 240, 200});

    // Far behind, the Irones' castle planet.
    planet(cr, rng, 84, 168, 40, {176, 128, 236}, {46, 24, 96}, false, 4);
    castle(cr, 84, 131, 0.6, {255, 70, 70});

    // The hero flies home; two Irones wave him off.
    hero_ship(cr, 430, 332, 1.4, 0.3);
    irone_on_board(cr, 104, 340, 1.2, 0.08, true);
    irone_on_board(cr, 574, 160, 0.9, -0.1, true);

    chrome_title(cr, "VORLANIX", 320, 108, 76);
    outlined_text(cr, "Auf Wiedersehen!", 320, 236, 54, {255, 255, 255}, {140, 214, 255});
    caption(cr, "Danke fürs Spielen \u2013 bis zum nächsten Flug!", 320, 274, 17, {255, 226, 150});
    caption(cr, "Mausklick beendet das Spiel", 320, 462, 14, {200, 226, 255});
    c.write_bmp(dir, "ende.bmp", art::Key::Black);
}

}  // namespace

void draw_title_screens(const std::filesystem::path& dir) {
    draw_start(dir);
    draw_ende(dir);
}

}  // namespace screens
