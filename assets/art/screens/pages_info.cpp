// SPDX-License-Identifier: GPL-3.0-or-later
// The menu pages that only inform: the start page, the story, the imprint and the three
// help pages (each with its three page dots where the menu lights them).
#include "page_kit.h"
#include "screens.h"
#include "world_figures.h"

#include <cmath>

namespace screens {

// The pages' texts stand one screen line to one source line, as the player reads them.
// clang-format off

namespace {

constexpr int kPageWidth = 320, kPageHeight = 240;
const TextStyle kRunning{11, false, kBody};
constexpr double kLineHeight = 13;

void rule(cairo_t* cr, double y) {
    cairo_set_line_width(cr, 1);
    art::set_rgb(cr, kFrame, 0.45);
    cairo_move_to(cr, 10, y + 0.5);
    cairo_line_to(cr, kPageWidth - 10, y + 0.5);
    cairo_stroke(cr);
}

void draw_start_page(const std::filesystem::path& dir) {
    art::Canvas c(kPageWidth, kPageHeight);
    cairo_t* cr = c.cr();
    art::Rng rng(0x57A27ull);
    space_backdrop(c, rng, {10, 14, 42}, {28, 14, 54}, 150);
    planet_ring(cr, 276, 150, 26, -0.3, {230, 190, 140}, false);
    planet(cr, rng, 276, 150, 26, {246, 170, 90}, {110, 40, 50}, true, 0);
    planet_ring(cr, 276, 150, 26, -0.3, {230, 190, 140}, true);
    planet(cr, rng, 56, 262, 84, {176, 128, 236}, {46, 24, 96}, false, 8);
    castle(cr, 56, 182, 0.9, {255, 70, 70});
    irone_on_board(cr, 188, 178, 0.85, -0.1, true);
    raumtank(cr, 118, 138, 0.5, {80, 150, 236});
    hero_ship(cr, 268, 218, 0.7, -0.4);
    chrome_title(cr, "VORLANIX", 160, 72, 50);
    text(cr, 161, 101, "Klicke auf START und fliege los!", {12, true, kShadow}, Align::Centre);
    text(cr, 160, 100, "Klicke auf START und fliege los!", {12, true, {170, 236, 255}}, Align::Centre);
    page_frame(c);
    c.write_bmp(dir, "menue_start.bmp", art::Key::Black);
}

void draw_story(const std::filesystem::path& dir) {
    art::Canvas c(kPageWidth, kPageHeight);
    cairo_t* cr = c.cr();
    page_screen(c);
    heading(cr, 12, 28, "STORY", 16);
    irone_on_board(cr, 112, 52, 0.55, 0.08, false);

    // She ages while the hero is away: young, then old.
    inset_panel(cr, 168, 8, 142, 60);
    princess(cr, 200, 36, 0.82, 0.0);
    princess(cr, 278, 36, 0.82, 1.0);
    art::set_rgb(cr, kHeading);
    cairo_move_to(cr, 226, 36);
    cairo_line_to(cr, 244, 36);
    cairo_line_to(cr, 244, 32);
    cairo_line_to(cr, 252, 38);
    cairo_line_to(cr, 244, 44);
    cairo_line_to(cr, 244, 40);
    cairo_line_to(cr, 226, 40);
    cairo_close_path(cr);
    cairo_fill(cr);

    rule(cr, 72);
    text_lines(cr, 12, 88, kLineHeight,
               {"Die Irones haben deine Prinzessin entführt",
                "und halten sie auf ihrem Planeten gefangen.",
                "Dort altert sie viel schneller als daheim \u2013",
                "jede Sekunde zählt!",
                "",
                "Fliege hin, schieße die Irones von ihren Brettern,",
                "zerstöre ihre Burgen und hole sie zurück.",
                "",
                "Nach 100 Sekunden ist dein Flug vorbei. Je mehr",
                "Punkte du holst, desto jünger ist sie, wenn du",
                "sie in die Arme schließt. Ihr Alter ist dein",
                "Ergebnis: je jünger, desto besser!"},
               kRunning, 296);
    c.write_bmp(dir, "menue_story.bmp", art::Key::Black);
}

void draw_impressum(const std::filesystem::path& dir) {
    art::Canvas c(kPageWidth, kPageHeight);
    cairo_t* cr = c.cr();
    page_screen(c);
    heading(cr, 12, 28, "IMPRESSUM", 16);
    hero_ship(cr, 268, 24, 0.8, -0.15);
    rule(cr, 42);
    text(cr, 160, 70, "Vorlanix für Linux", {16, true, kAccent}, Align::Centre);
    text(cr, 160, 87, "Version 1.0", {11, false, kMuted}, Align::Centre);
    const TextStyle centred{11, false, kBody};
    text(cr, 160, 112, "Programm, Grafik und Klänge:", centred, Align::Centre);
    text(cr, 160, 125, "das Team von Vorlanix für Linux", centred, Align::Centre);
    inset_panel(cr, 40, 136, 240, 42);
    text(cr, 160, 153, "Web: www.vorlanix.example", {11, true, kBody}, Align::Centre);
    text(cr, 160, 169, "E-Mail: post@vorlanix.example", {11, true, kBody}, Align::Centre);
    text(cr, 160, 198, "Alle Bilder und Klänge wurden für diese", centred, Align::Centre);
    text(cr, 160, 211, "Ausgabe neu gezeichnet und erzeugt.", centred, Align::Centre);
    text(cr, 160, 228, "Viel Spaß beim Retten der Prinzessin!", {11, true, kHeading}, Align::Centre);
    c.write_bmp(dir, "menue_impressum.bmp", art::Key::Black);
}

// The mouse with its right button lit: the reload click.
void mouse_icon(cairo_t* cr, double x, double y) {
    rounded_rect(cr, x, y, 22, 32, 10);
    art::set_rgb(cr, {214, 220, 232});
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.2);
    art::set_rgb(cr, {60, 66, 84});
    cairo_stroke(cr);
    cairo_move_to(cr, x + 11, y + 1);
    cairo_line_to(cr, x + 11, y + 13);
    cairo_move_to(cr, x + 1, y + 13);
    cairo_line_to(cr, x + 21, y + 13);
    cairo_stroke(cr);
    cairo_move_to(cr, x + 11.5, y + 1.5);
    cairo_line_to(cr, x + 11.5, y + 12.5);
    cairo_line_to(cr, x + 20.5, y + 12.5);
    cairo_arc_negative(cr, x + 12, y + 10, 8.5, 0, -M_PI / 2);
    cairo_close_path(cr);
    art::set_rgb(cr, {255, 150, 40});
    cairo_fill(cr);
}

// Heading, the three page dots (this page's bright, the others dimmed) and the topic.
void help_page(art::Canvas& c, int number, const std::string& topic) {
    cairo_t* cr = c.cr();
    page_screen(c);
    heading(cr, 12, 27, "HILFESEITE", 14, 96);
    for (int k = 1; k <= 3; ++k) {
        small_lamp(cr, 87 + 28 * k, 11, LampColour::Green, k == number ? LampLook::Bright : LampLook::Dim);
    }
    text(cr, 308, 26, topic, {12, true, kAccent}, Align::Right, 104);
    rule(cr, 37);
}

void draw_help_tanks(const std::filesystem::path& dir) {
    art::Canvas c(kPageWidth, kPageHeight);
    cairo_t* cr = c.cr();
    help_page(c, 1, "RAUMTANKS");
    raumtank(cr, 13, 50, 0.9, {80, 150, 236});
    mouse_icon(cr, 15, 130);
    text(cr, 26, 180, "16", {12, true, kHeading}, Align::Centre);
    text_lines(cr, 52, 54, kLineHeight,
               {"Linksklick schießt auf das Fadenkreuz.",
                "Das Magazin fasst 16 Schuss, die Leiste",
                "oben im Cockpit zeigt den Vorrat.",
                "Leer? Ein Rechtsklick auf einen Raumtank",
                "lädt 16 Schuss nach.",
                "",
                "Solange eine Burg steht, kostet jeder",
                "abgeschossene Tank 50 Punkte. Eine Burg",
                "fällt erst, wenn ihre drei Monde zerstört",
                "sind. Fallen alle drei Burgen, wechseln die",
                "Tanks die Farbe: Rechtsklick gibt dann",
                "endlose Munition und einmal 250 Punkte,",
                "ein Abschuss 50. Bleibt nur ein Tank übrig,",
                "beginnt die Endphase."},
               kRunning, 258);
    c.write_bmp(dir, "menue_hilfe1.bmp", art::Key::Black);
}

void draw_help_irones(const std::filesystem::path& dir) {
    art::Canvas c(kPageWidth, kPageHeight);
    cairo_t* cr = c.cr();
    help_page(c, 2, "IRONES");
    irone_on_board(cr, 27, 80, 0.45, 0.0, false);
    irone_on_board(cr, 27, 158, 0.62, 0.1, true);
    text_lines(cr, 52, 54, kLineHeight,
               {"Die Irones reiten auf Schwebebrettern:",
                "großes Brett 10, mittleres 25, kleines",
                "50 Punkte. Ein Treffer aufs Brett: 10.",
                "Irones am ersten Satelliten: je 75,",
                "Irone-Stationen (Monde): je 15 Punkte.",
                "",
                "Der große Irone kommt 13 bis 26 s nach dem",
                "Start und nach jedem Abschuss. Solange er",
                "wartet, frisst er deine Zeit, und der Alarm",
                "heult. Triff ihn (50 Punkte) oder schieß",
                "einen Raumtank ab.",
                "Am zweiten Satelliten schalte die drei",
                "Lampen rasch nacheinander ein (je 25):",
                "Dann ist sein Irone 150 Punkte wert."},
               kRunning, 258);
    c.write_bmp(dir, "menue_hilfe2.bmp", art::Key::Black);
}

void draw_help_cockpit(const std::filesystem::path& dir) {
    art::Canvas c(kPageWidth, kPageHeight);
    cairo_t* cr = c.cr();
    help_page(c, 3, "COCKPIT");
    princess(cr, 27, 76, 0.7, 0.6);
    lens(cr, 24, 170, 0.45);
    cairo_set_line_width(cr, 3);
    art::set_rgb(cr, kWarn);
    cairo_move_to(cr, 14, 160);
    cairo_line_to(cr, 34, 180);
    cairo_move_to(cr, 34, 160);
    cairo_line_to(cr, 14, 180);
    cairo_stroke(cr);
    text_lines(cr, 52, 54, kLineHeight,
               {"Oben die Munition (ein Feld = 2 Schuss),",
                "unten links altert deine Prinzessin, in der",
                "Mitte kreist das Radar, rechts stehen die",
                "Restzeit (JAHRE) und der SCORE.",
                "Die Maus lenkt den Blick, P hält an.",
                "",
                "Folgt ein Treffer binnen 1 s auf den letzten,",
                "verdoppeln sich die Punkte, bis 32-fach.",
                "Planeten und einfache Monde kosten 50.",
                "Endphase: Monde +50, Splitter je 1 s mehr",
                "Zeit, Satellit 150, Rand der Lupe 500."},
               kRunning, 258);
    text(cr, 52, 54 + 11 * kLineHeight, "Nie die Mitte der Lupe treffen!", {11, true, kWarn});
    text_lines(cr, 52, 54 + 12 * kLineHeight, kLineHeight,
               {"Je mehr Punkte, desto jünger ist deine",
                "Prinzessin am Ende \u2013 dein Ergebnis."},
               kRunning, 258);
    c.write_bmp(dir, "menue_hilfe3.bmp", art::Key::Black);
}

}  // namespace

void draw_info_pages(const std::filesystem::path& dir) {
    draw_start_page(dir);
    draw_story(dir);
    draw_impressum(dir);
    draw_help_tanks(dir);
    draw_help_irones(dir);
    draw_help_cockpit(dir);
}

}  // namespace screens
// clang-format on
