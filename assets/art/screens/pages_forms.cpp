// SPDX-License-Identifier: GPL-3.0-or-later
// The menu pages the player acts on: preferences, high score, result, upload form, the
// voided-game warning and the message page. Lamps, boxes and wheels sit exactly where the
// menu lights them, tests clicks on them and writes its text (page = screen - (166, 82)).
#include "page_kit.h"
#include "screens.h"
#include "world_figures.h"

#include <cmath>

namespace screens {

namespace {

constexpr int kPageWidth = 320, kPageHeight = 240;

// The lamps at the bottom of the result, upload and message pages, 20 x 20 each.
constexpr double kNoLampLeft = 67, kYesLampLeft = 192, kOkLampLeft = 151, kBottomLampTop = 213;

void lamp_with_label(cairo_t* cr, double left, double top, LampColour colour, const std::string& label) {
    small_lamp(cr, left, top, colour, LampLook::Normal);
    text(cr, left + 26, top + 15, label, {12, true, kBody});
}

void rule(cairo_t* cr, double x0, double x1, double y) {
    cairo_set_line_width(cr, 1);
    art::set_rgb(cr, kFrame, 0.45);
    cairo_move_to(cr, x0, y + 0.5);
    cairo_line_to(cr, x1, y + 0.5);
    cairo_stroke(cr);
}

void speaker_icon(cairo_t* cr, double x, double y) {
    art::set_rgb(cr, kMuted);
    cairo_move_to(cr, x, y - 4);
    cairo_line_to(cr, x + 6, y - 4);
    cairo_line_to(cr, x + 13, y - 10);
    cairo_line_to(cr, x + 13, y + 10);
    cairo_line_to(cr, x + 6, y + 4);
    cairo_line_to(cr, x, y + 4);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_set_line_width(cr, 2);
    for (double r : {7.0, 12.0}) {
        cairo_arc(cr, x + 13, y, r, -0.3 * M_PI, 0.3 * M_PI);
        cairo_new_sub_path(cr);
    }
    cairo_stroke(cr);
}

void note_icon(cairo_t* cr, double x, double y) {
    art::set_rgb(cr, kMuted);
    for (double dx : {0.0, 16.0}) {
        cairo_save(cr);
        cairo_translate(cr, x + dx + 4, y + 7);
        cairo_rotate(cr, -0.35);
        cairo_scale(cr, 5, 3.6);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);
        cairo_fill(cr);
    }
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, x + 8.5, y + 6);
    cairo_line_to(cr, x + 8.5, y - 11);
    cairo_line_to(cr, x + 24.5, y - 14);
    cairo_line_to(cr, x + 24.5, y + 6);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 4);
    cairo_move_to(cr, x + 8.5, y - 9);
    cairo_line_to(cr, x + 24.5, y - 12);
    cairo_stroke(cr);
}

void nebula_icon(cairo_t* cr, double x, double y) {
    rounded_rect(cr, x, y - 12, 34, 24, 3);
    art::set_rgb(cr, {20, 26, 50});
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.5);
    art::set_rgb(cr, kMuted);
    cairo_stroke(cr);
    cairo_save(cr);
    rounded_rect(cr, x + 1, y - 11, 32, 22, 3);
    cairo_clip(cr);
    nebula(cr, x + 13, y - 2, 14, 9, {190, 80, 220}, 0.8);
    nebula(cr, x + 23, y + 4, 10, 7, {60, 170, 230}, 0.8);
    cairo_restore(cr);
    sparkle(cr, x + 26, y - 6, 3, {255, 255, 255});
}

void draw_preferences(const std::filesystem::path& dir) {
    art::Canvas c(kPageWidth, kPageHeight);
    cairo_t* cr = c.cr();
    page_screen(c);
    heading(cr, 12, 28, "PREFERENCES", 16);
    rule(cr, 10, 310, 42);
    text(cr, 14, 60, "Klicke auf eine Lampe, um umzuschalten.", {11, false, kMuted});
    struct Row {
        const char* name;
        double lamp_top;
        const char* on;
        const char* off;
    };
    // Left lamp switches the setting on, right lamp off; the menu dims the one not in force.
    const Row rows[3] = {{"SOUND", 75, "AN", "AUS"}, {"MUSIK", 136, "AN", "AUS"}, {"GRAFIK", 199, "HIGH", "LOW"}};
    for (const Row& row : rows) {
        text(cr, 14, row.lamp_top + 15, row.name, {13, true, kBody});
        small_lamp(cr, 87, row.lamp_top, LampColour::Green, LampLook::Bright);
        small_lamp(cr, 170, row.lamp_top, LampColour::Green, LampLook::Bright);
        text(cr, 97, row.lamp_top + 31, row.on, {10.5, true, kMuted}, Align::Centre);
        text(cr, 180, row.lamp_top + 31, row.off, {10.5, true, kMuted}, Align::Centre);
    }
    rule(cr, 10, 310, 124);
    rule(cr, 10, 310, 186);
    speaker_icon(cr, 248, 85);
    note_icon(cr, 248, 148);
    nebula_icon(cr, 246, 209);
    c.write_bmp(dir, "menue_preferences.bmp", art::Key::Black);
}

void draw_highscore(const std::filesystem::path& dir) {
    art::Canvas c(kPageWidth, kPageHeight);
    cairo_t* cr = c.cr();
    page_screen(c);
    heading(cr, 12, 28, "HIGHSCORE", 16);
    info_button(cr);

    // The menu writes name, years, months and days of entry i at page y 22 i + 35,
    // from x 32, 192, 235 and 275; the column heads stand above those places.
    const TextStyle head{10.5, true, kAccent, 0.84};
    text(cr, 32, 49, "NAME", head);
    text(cr, 201, 49, "JAHRE", head, Align::Centre);
    text(cr, 244, 49, "MONATE", head, Align::Centre);
    text(cr, 284, 49, "TAGE", head, Align::Centre);
    for (int i = 1; i <= 8; ++i) {
        const double y = 22 * i + 35;
        cairo_rectangle(cr, 6, y - 3, 308, 21);
        art::set_rgb(cr, i % 2 ? art::Rgb{22, 32, 62} : art::Rgb{15, 22, 46});
        cairo_fill(cr);
        text(cr, 27, y + 13, std::to_string(i) + ".", {12, true, kHeading}, Align::Right);
    }
    cairo_set_line_width(cr, 1);
    art::set_rgb(cr, {60, 96, 150}, 0.7);
    for (double x : {183.5, 226.5, 267.5}) {
        cairo_move_to(cr, x, 54);
        cairo_line_to(cr, x, 229);
    }
    cairo_stroke(cr);
    c.write_bmp(dir, "menue_highscore.bmp", art::Key::Black);
}

// The result counter: three pairs of wheel windows, the wheels themselves are copied in
// by the menu at page x 49, 85, 132, 165, 213, 246 (23 wide), y 49 (30 high).
void result_counter(cairo_t* cr) {
    struct Pair {
        double first, second;
        const char* label;
    };
    const Pair pairs[3] = {{49, 85, "JAHRE"}, {132, 165, "MONATE"}, {213, 246, "TAGE"}};
    for (const Pair& p : pairs) {
        const double x = p.first - 7, w = p.second + 23 + 7 - x;
        rounded_rect(cr, x, 42, w, 44, 5);
        cairo_pattern_t* metal = cairo_pattern_create_linear(0, 42, 0, 86);
        cairo_pattern_add_color_stop_rgb(metal, 0, 0.78, 0.81, 0.87);
        cairo_pattern_add_color_stop_rgb(metal, 0.5, 0.48, 0.52, 0.60);
        cairo_pattern_add_color_stop_rgb(metal, 1, 0.26, 0.28, 0.34);
        cairo_set_source(cr, metal);
        cairo_fill(cr);
        cairo_pattern_destroy(metal);
        for (double d : {p.first, p.second}) {
            cairo_rectangle(cr, d - 2, 47, 27, 34);
            art::set_rgb(cr, {18, 20, 28});
            cairo_fill(cr);
            cairo_rectangle(cr, d, 49, 23, 30);
            art::set_rgb(cr, {44, 48, 60});
            cairo_fill(cr);
        }
        text(cr, (p.first + p.second + 23) / 2, 100, p.label, {11, true, kAccent}, Align::Centre);
    }
}

void draw_ergebnis(const std::filesystem::path& dir) {
    art::Canvas c(kPageWidth, kPageHeight);
    cairo_t* cr = c.cr();
    page_screen(c);
    heading(cr, 12, 28, "SPIELERGEBNIS", 16, 230);
    info_button(cr);
    result_counter(cr);

    // Name box: the menu writes the name (or "Nicht gut genug") from page (94, 138).
    text(cr, 80, 151, "NAME", {11, true, kMuted}, Align::Right);
    rounded_rect(cr, 86.5, 132.5, 138, 24, 4);
    art::set_rgb(cr, {8, 12, 24});
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    art::set_rgb(cr, {80, 120, 168});
    cairo_stroke(cr);

    // The question line the menu writes from page (24, 178), answered by NEIN and JA.
    inset_panel(cr, 14, 172, 292, 26, {18, 26, 52});

    lamp_with_label(cr, kNoLampLeft, kBottomLampTop, LampColour::Red, "NEIN");
    lamp_with_label(cr, kYesLampLeft, kBottomLampTop, LampColour::Green, "JA");
    c.write_bmp(dir, "menue_ergebnis.bmp", art::Key::Black);
}

void draw_upload(const std::filesystem::path& dir) {
    art::Canvas c(kPageWidth, kPageHeight);
    cairo_t* cr = c.cr();
    page_screen(c);
    heading(cr, 12, 27, "EINTRAG FÜR DEN UPLOAD", 14, 232);
    info_button(cr);

    struct Field {
        const char* label;
        double x, y, width;  // where the menu writes the field's text, in screen pixels
        double label_right;  // right end of the label, in page pixels
    };
    const Field fields[8] = {{"Nickname", 249, 125, 222, 76}, {"Name", 249, 149, 222, 76},
                             {"Vorname", 249, 172, 222, 76},  {"Geboren", 249, 195, 222, 76},
                             {"Strasse", 249, 218, 222, 76},  {"PLZ", 213, 241, 61, 40},
                             {"Ort", 322, 241, 149, 148},     {"eMail", 249, 264, 222, 76}};
    for (const Field& f : fields) {
        const double x = f.x - 166, y = f.y - 82;
        entry_box(cr, x, y, f.width);
        text(cr, f.label_right, y + 12, f.label, {11, false, kBody}, Align::Right);
    }
    lamp_with_label(cr, kNoLampLeft, kBottomLampTop, LampColour::Red, "LÖSCHEN");
    lamp_with_label(cr, kYesLampLeft, kBottomLampTop, LampColour::Green, "SICHERN");
    c.write_bmp(dir, "menue_upload.bmp", art::Key::Black);
}

void warning_stripes(cairo_t* cr, double y, double h) {
    cairo_save(cr);
    cairo_rectangle(cr, 4, y, kPageWidth - 8, h);
    cairo_clip(cr);
    art::set_rgb(cr, {200, 40, 34});
    cairo_paint(cr);
    art::set_rgb(cr, {40, 14, 18});
    for (double s = -h; s < kPageWidth; s += 14) {
        cairo_move_to(cr, s, y + h);
        cairo_line_to(cr, s + h, y);
        cairo_line_to(cr, s + h + 7, y);
        cairo_line_to(cr, s + 7, y + h);
        cairo_close_path(cr);
    }
    cairo_fill(cr);
    cairo_restore(cr);
}

void draw_idiot(const std::filesystem::path& dir) {
    art::Canvas c(kPageWidth, kPageHeight);
    cairo_t* cr = c.cr();
    page_screen(c);
    nebula(cr, 160, 120, 150, 110, {150, 20, 30}, 0.35);
    warning_stripes(cr, 6, 10);
    warning_stripes(cr, 224, 10);

    art::select_font(cr, "DejaVu Sans", 50, true);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, "FATAL", &ext);
    cairo_move_to(cr, 160 - ext.width / 2 - ext.x_bearing, 70);
    cairo_text_path(cr, "FATAL");
    cairo_set_line_width(cr, 4);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    art::set_rgb(cr, {40, 8, 12});
    cairo_stroke_preserve(cr);
    cairo_pattern_t* red = cairo_pattern_create_linear(0, 34, 0, 70);
    cairo_pattern_add_color_stop_rgb(red, 0, 1.0, 0.62, 0.45);
    cairo_pattern_add_color_stop_rgb(red, 1, 0.86, 0.10, 0.08);
    cairo_set_source(cr, red);
    cairo_fill(cr);
    cairo_pattern_destroy(red);

    text(cr, 161, 99, "LASER + LUPE = MEGALASER", {16, true, kShadow}, Align::Centre);
    text(cr, 160, 98, "LASER + LUPE = MEGALASER", {16, true, kHeading}, Align::Centre);

    // The laser beam strikes the middle of the lens.
    const double lx = 200, ly = 148;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (auto [width, alpha] : {std::pair{7.0, 0.25}, {4.0, 0.5}, {1.6, 1.0}}) {
        cairo_set_line_width(cr, width);
        art::set_rgb(cr, alpha < 1 ? art::Rgb{255, 60, 40} : art::Rgb{255, 220, 200}, alpha);
        cairo_move_to(cr, 40, 124);
        cairo_line_to(cr, lx, ly);
        cairo_stroke(cr);
    }
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    hero_ship(cr, 34, 122, 0.6, 0.15);
    lens(cr, lx, ly, 0.75);
    nebula(cr, lx, ly, 26, 26, {255, 200, 80}, 0.8);
    sparkle(cr, lx, ly, 16, {255, 250, 220});

    const TextStyle body{11, false, kBody};
    text(cr, 160, 196, "Du hast die Mitte der Lupe getroffen.", body, Align::Centre);
    text(cr, 160, 210, "Dieses Spiel wird nicht gewertet.", {11, true, kBody}, Align::Centre);
    c.write_bmp(dir, "menue_idiot.bmp", art::Key::Black);
}

void draw_msg(const std::filesystem::path& dir) {
    art::Canvas c(kPageWidth, kPageHeight);
    cairo_t* cr = c.cr();
    page_screen(c);
    // The twelve message lines are written from page (10, 14) down to y 206.
    inset_panel(cr, 5, 7, 310, 203, {17, 24, 50});
    lamp_with_label(cr, kOkLampLeft, kBottomLampTop, LampColour::Green, "OK");
    c.write_bmp(dir, "menue_msg.bmp", art::Key::Black);
}

}  // namespace

void draw_form_pages(const std::filesystem::path& dir) {
    draw_preferences(dir);
    draw_highscore(dir);
    draw_ergebnis(dir);
    draw_upload(dir);
    draw_idiot(dir);
    draw_msg(dir);
}

}  // namespace screens
