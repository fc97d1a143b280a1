// SPDX-License-Identifier: GPL-3.0-or-later
// The crosshair pointer (six frames; the last five pulse in the final phase) and the six radar marks.
#include "space_art.h"

#include <array>

namespace space {

namespace {

// The pointer is drawn 20 pixels left of and 12 above the mouse, so the mouse sits on pixel (20, 12).
constexpr int kPointerW = 41, kPointerH = 25;
constexpr double kHotX = 20.5, kHotY = 12.5;

void crosshair_path(cairo_t* cr) {
    cairo_new_path(cr);
    cairo_arc(cr, kHotX, kHotY, 7.0, 0, 2 * 3.14159265358979);
    cairo_new_sub_path(cr);
    cairo_move_to(cr, 4, kHotY);
    cairo_line_to(cr, 17, kHotY);
    cairo_move_to(cr, 24, kHotY);
    cairo_line_to(cr, 37, kHotY);
    cairo_move_to(cr, kHotX, 2);
    cairo_line_to(cr, kHotX, 10);
    cairo_move_to(cr, kHotX, 15);
    cairo_line_to(cr, kHotX, 23);
    // Range ticks at the ends of the long arms.
    cairo_move_to(cr, 4.5, kHotY - 3);
    cairo_line_to(cr, 4.5, kHotY + 3);
    cairo_move_to(cr, 36.5, kHotY - 3);
    cairo_line_to(cr, 36.5, kHotY + 3);
}

// In the final phase two chevrons close in from the range ticks on the ring, one step per frame.
void chevron_path(cairo_t* cr, int frame) {
    cairo_new_path(cr);
    const double d = 14.5 - 1.5 * (frame - 1);
    cairo_move_to(cr, kHotX - d - 2.5, kHotY - 2.5);
    cairo_line_to(cr, kHotX - d, kHotY);
    cairo_line_to(cr, kHotX - d - 2.5, kHotY + 2.5);
    cairo_move_to(cr, kHotX + d + 2.5, kHotY - 2.5);
    cairo_line_to(cr, kHotX + d, kHotY);
    cairo_line_to(cr, kHotX + d + 2.5, kHotY + 2.5);
}

Image pointer_frame(int frame) {
    art::Canvas canvas(kPointerW, kPointerH);
    cairo_t* cr = canvas.cr();
    // Frame 0 is the calm green crosshair; frames 1 to 5 glow through amber to red and back.
    const double heat = frame == 0 ? 0.0 : std::sin(3.14159265358979 * frame / 6.0);
    const Colour line = ramp({{0.0, rgb(110, 255, 140)}, {0.5, rgb(255, 196, 60)}, {1.0, rgb(255, 72, 52)}}, heat);
    const Colour edge = blend(rgb(14, 40, 24), rgb(48, 14, 14), heat);
    auto stroke = [&](const std::function<void()>& path, Colour c, double width) {
        path();
        cairo_set_source_rgb(cr, c.r, c.g, c.b);
        cairo_set_line_width(cr, width);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
        cairo_stroke(cr);
    };
    const auto chevrons = [&] { chevron_path(cr, frame); };
    const auto crosshair = [&] { crosshair_path(cr); };
    if (frame > 0) stroke(chevrons, edge, 3.0);
    stroke(crosshair, edge, 3.0);
    if (frame > 0) stroke(chevrons, rgb(255, 244, 160), 1.0);
    stroke(crosshair, line, 1.0);
    cairo_rectangle(cr, kHotX - 0.5, kHotY - 0.5, 1, 1);
    cairo_set_source_rgb(cr, 1.0, 1.0, 0.85);
    cairo_fill(cr);
    return from_canvas(canvas);
}

}  // namespace

void draw_pointer(const fs::path& dir) {
    Image image(kPointerW * 6, kPointerH);
    for (int frame = 0; frame < 6; ++frame) image.place(pointer_frame(frame), frame * kPointerW, 0);
    write_picture(image, dir, "pointer.bmp", art::Key::Black);
}

void draw_radar(const fs::path& dir) {
    // Cells: 0 tank, 1 large Irone, 2 middle Irone, 3 small Irone, 4 castle or satellite, 5 tank after the
    // tanks changed state. Letters: '#' body, '+' highlight, '.' transparent.
    struct Mark {
        std::array<const char*, 6> rows;
        Colour body, light;
    };
    const Mark marks[6] = {
        {{"..##..", ".+###.", ".+###.", ".+###.", ".+###.", "..##.."}, rgb(255, 176, 32), rgb(255, 232, 150)},
        {{".####.", "#++###", "#+####", "######", "######", ".####."}, rgb(255, 60, 64), rgb(255, 190, 180)},
        {{"......", "..##..", ".+###.", ".####.", "..##..", "......"}, rgb(255, 136, 36), rgb(255, 214, 150)},
        {{"......", "......", "..+#..", "..##..", "......", "......"}, rgb(255, 240, 70), rgb(255, 255, 200)},
        {{"..##..", "..+#..", "##++##", "######", "..##..", "..##.."}, rgb(80, 226, 255), rgb(210, 250, 255)},
        {{"..##..", ".+###.", ".+###.", ".+###.", ".+###.", "..##.."}, rgb(80, 255, 100), rgb(210, 255, 210)},
    };
    Image image(36, 6);
    for (int cell = 0; cell < 6; ++cell)
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x) {
                const char c = marks[cell].rows[y][x];
                if (c == '#') image.set(cell * 6 + x, y, marks[cell].body);
                if (c == '+') image.set(cell * 6 + x, y, marks[cell].light);
            }
    write_picture(image, dir, "radar.bmp", art::Key::Black);
}

}  // namespace space
