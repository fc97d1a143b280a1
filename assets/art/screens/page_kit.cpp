// SPDX-License-Identifier: GPL-3.0-or-later
// Shared drawing of the menu pages and panel: text, headings, screens, lamps, buttons, boxes.
#include "page_kit.h"

#include <cmath>

namespace screens {

namespace {

void apply_style(cairo_t* cr, const TextStyle& style, double condense) {
    art::select_font(cr, "DejaVu Sans", style.size, style.bold);
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, style.size * condense, style.size);
    cairo_set_font_matrix(cr, &m);
    // Hinted outlines keep 11-pixel text crisp at 1:1.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

double width_with(cairo_t* cr, const std::string& line, const TextStyle& style, double condense) {
    apply_style(cr, style, condense);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, line.c_str(), &ext);
    return ext.x_advance;
}

}  // namespace

double text_width(cairo_t* cr, const std::string& line, const TextStyle& style) {
    return width_with(cr, line, style, style.condense);
}

void text(cairo_t* cr, double x, double baseline, const std::string& line, const TextStyle& style, Align align,
          double max_width) {
    double condense = style.condense;
    double w = width_with(cr, line, style, condense);
    if (max_width > 0 && w > max_width) {
        condense *= max_width / w;
        w = max_width;
    }
    double left = x;
    if (align == Align::Centre) left = x - w / 2;
    if (align == Align::Right) left = x - w;
    apply_style(cr, style, condense);
    art::set_rgb(cr, style.colour);
    cairo_move_to(cr, std::round(left), std::round(baseline));
    cairo_show_text(cr, line.c_str());
    cairo_new_path(cr);
}

void text_lines(cairo_t* cr, double x, double first_baseline, double line_height, const std::vector<std::string>& lines,
                const TextStyle& style, double max_width) {
    double baseline = first_baseline;
    for (const auto& line : lines) {
        if (!line.empty()) text(cr, x, baseline, line, style, Align::Left, max_width);
        baseline += line_height;
    }
}

void heading(cairo_t* cr, double x, double baseline, const std::string& line, double size, double max_width) {
    TextStyle shadow{size, true, kShadow};
    text(cr, x + 1, baseline + 1, line, shadow, Align::Left, max_width);
    text(cr, x + 2, baseline + 2, line, {size, true, {30, 24, 8}}, Align::Left, max_width);
    text(cr, x, baseline, line, {size, true, kHeading}, Align::Left, max_width);
}

void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void page_frame(art::Canvas& page) {
    cairo_t* cr = page.cr();
    const double w = page.width(), h = page.height();
    // The corners outside the rounded frame are the dark metal of the recess.
    cairo_rectangle(cr, 0, 0, w, h);
    rounded_rect(cr, 1, 1, w - 2, h - 2, 9);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    art::set_rgb(cr, {28, 32, 42});
    cairo_fill(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);

    cairo_set_line_width(cr, 1.5);
    rounded_rect(cr, 1.75, 1.75, w - 3.5, h - 3.5, 8.5);
    art::set_rgb(cr, kFrame);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 1);
    rounded_rect(cr, 3.5, 3.5, w - 7, h - 7, 7);
    art::set_rgb(cr, kFrame, 0.28);
    cairo_stroke(cr);
}

void page_screen(art::Canvas& page) {
    cairo_t* cr = page.cr();
    const double w = page.width(), h = page.height();
    cairo_pattern_t* bg = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgb(bg, 0, kScreenTop.r / 255.0, kScreenTop.g / 255.0, kScreenTop.b / 255.0);
    cairo_pattern_add_color_stop_rgb(bg, 1, kScreenBottom.r / 255.0, kScreenBottom.g / 255.0, kScreenBottom.b / 255.0);
    cairo_set_source(cr, bg);
    cairo_paint(cr);
    cairo_pattern_destroy(bg);

    // Faint scan lines give the screen its glass; too faint to disturb text over them.
    for (int y = 3; y < h - 3; y += 3) {
        art::set_rgb(cr, {40, 60, 110}, 0.10);
        cairo_rectangle(cr, 3, y, w - 6, 1);
        cairo_fill(cr);
    }
    page_frame(page);
}

void inset_panel(cairo_t* cr, double x, double y, double w, double h, art::Rgb fill) {
    rounded_rect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 4);
    art::set_rgb(cr, fill);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    art::set_rgb(cr, {52, 90, 140});
    cairo_stroke(cr);
}

namespace {

struct Glass {
    art::Rgb centre, middle, edge;
};

Glass glass_of(LampColour colour, LampLook look) {
    if (colour == LampColour::Green) {
        switch (look) {
            case LampLook::Bright: return {{210, 255, 190}, {70, 225, 90}, {12, 120, 36}};
            case LampLook::Normal: return {{120, 200, 120}, {40, 140, 58}, {12, 62, 24}};
            case LampLook::Dim: return {{74, 96, 78}, {36, 56, 42}, {18, 28, 22}};
        }
    }
    switch (look) {
        case LampLook::Bright: return {{255, 214, 190}, {245, 70, 50}, {130, 14, 12}};
        case LampLook::Normal: return {{220, 120, 110}, {170, 42, 36}, {78, 14, 14}};
        case LampLook::Dim: return {{100, 76, 76}, {60, 36, 36}, {30, 18, 18}};
    }
    return {};
}

void radial(cairo_t* cr, double cx, double cy, double r, const Glass& g) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.35, r * 0.1, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(p, 0, g.centre.r / 255.0, g.centre.g / 255.0, g.centre.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 0.55, g.middle.r / 255.0, g.middle.g / 255.0, g.middle.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, g.edge.r / 255.0, g.edge.g / 255.0, g.edge.b / 255.0);
    cairo_set_source(cr, p);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

}  // namespace

void lamp(cairo_t* cr, double cx, double cy, double r, LampColour colour, LampLook look) {
    const Glass g = glass_of(colour, look);
    if (look == LampLook::Bright && r >= 10) {
        // A soft halo so a big bright lamp reads as switched on. Small lamps go without:
        // the menu covers them with 20 x 20 pieces, and a halo would show around those.
        cairo_pattern_t* halo = cairo_pattern_create_radial(cx, cy, r, cx, cy, r + 7);
        cairo_pattern_add_color_stop_rgba(halo, 0, g.middle.r / 255.0, g.middle.g / 255.0, g.middle.b / 255.0, 0.45);
        cairo_pattern_add_color_stop_rgba(halo, 1, g.middle.r / 255.0, g.middle.g / 255.0, g.middle.b / 255.0, 0);
        cairo_set_source(cr, halo);
        cairo_arc(cr, cx, cy, r + 7, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(halo);
    }
    // Socket: a bevelled metal ring, light at the top left, dark at the bottom right.
    cairo_pattern_t* ring = cairo_pattern_create_linear(cx - r, cy - r, cx + r, cy + r);
    cairo_pattern_add_color_stop_rgb(ring, 0, 0.80, 0.83, 0.88);
    cairo_pattern_add_color_stop_rgb(ring, 1, 0.22, 0.24, 0.29);
    cairo_set_source(cr, ring);
    cairo_arc(cr, cx, cy, r + 3, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(ring);
    art::set_rgb(cr, {20, 22, 28});
    cairo_arc(cr, cx, cy, r + 1, 0, 2 * M_PI);
    cairo_fill(cr);

    radial(cr, cx, cy, r, g);

    // Glint on the glass.
    cairo_save(cr);
    cairo_translate(cr, cx - r * 0.35, cy - r * 0.42);
    cairo_scale(cr, r * 0.42, r * 0.26);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    art::set_rgb(cr, {255, 255, 250}, look == LampLook::Dim ? 0.25 : 0.6);
    cairo_fill(cr);
}

void small_lamp(cairo_t* cr, double left, double top, LampColour colour, LampLook look) {
    lamp(cr, left + 10, top + 10, 7.5, colour, look);
}

void info_button(cairo_t* cr) {
    const double x = 250, y = 12, w = 36, h = 20;
    rounded_rect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 4);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.16, 0.26, 0.42);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.08, 0.13, 0.24);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_line_width(cr, 1);
    art::set_rgb(cr, kFrame);
    cairo_stroke(cr);
    text(cr, x + w / 2, y + 15, "INFO", {11, true, kAccent}, Align::Centre);
}

void entry_box(cairo_t* cr, double x, double y, double w) {
    const double left = x - 4, top = y - 2, bw = w + 7, bh = 19;
    rounded_rect(cr, left + 0.5, top + 0.5, bw - 1, bh - 1, 3);
    art::set_rgb(cr, {12, 16, 28});
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    art::set_rgb(cr, {80, 120, 168});
    cairo_stroke(cr);
    // Inner shadow along the top edge: the box reads as sunk into the screen.
    art::set_rgb(cr, {4, 6, 12}, 0.8);
    cairo_rectangle(cr, left + 2, top + 1, bw - 4, 1);
    cairo_fill(cr);
}

}  // namespace screens
