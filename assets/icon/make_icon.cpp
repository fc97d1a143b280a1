// SPDX-License-Identifier: GPL-3.0-or-later
// Makes a desktop icon from the big Irone's picture: make_icon Irone0.bmp SIZE OUTPUT.png.
// The black key becomes transparent, and the 320 x 320 cell is scaled to SIZE x SIZE.
#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
    const int size = argc == 4 ? std::atoi(argv[2]) : 0;
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "usage: make_icon Irone0.bmp SIZE OUTPUT.png (SIZE 16 to 1024)\n");
        return 2;
    }
    std::ifstream f(argv[1], std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    auto u32 = [&](size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | unsigned(b[at + 3]) << 24; };
    if (b.size() < 54 || (b[28] | b[29] << 8) != 24) {
        std::fprintf(stderr, "make_icon: %s is not a 24-bit BMP\n", argv[1]);
        return 1;
    }
    const int w = static_cast<int>(u32(18)), h = static_cast<int>(u32(22)), cell = 320;
    const size_t offset = u32(10), row = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
    if (w < cell || h < cell || offset + row * h > b.size()) {
        std::fprintf(stderr, "make_icon: %s is too small\n", argv[1]);
        return 1;
    }
    cairo_surface_t* src = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cell, cell);
    unsigned char* data = cairo_image_surface_get_data(src);
    for (int y = 0; y < cell; ++y) {
        const unsigned char* p = b.data() + offset + row * (h - 1 - y);
        auto* d = reinterpret_cast<uint32_t*>(data + y * cairo_image_surface_get_stride(src));
        for (int x = 0; x < cell; ++x) {
            const unsigned r = p[3 * x + 2], g = p[3 * x + 1], bl = p[3 * x];
            d[x] = (r | g | bl) ? (0xFF000000u | r << 16 | g << 8 | bl) : 0;
        }
    }
    cairo_surface_mark_dirty(src);
    cairo_surface_t* icon = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(icon);
    cairo_scale(cr, static_cast<double>(size) / cell, static_cast<double>(size) / cell);
    cairo_set_source_surface(cr, src, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BEST);
    cairo_paint(cr);
    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(icon, argv[3]) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(icon);
    cairo_surface_destroy(src);
    if (!ok) std::fprintf(stderr, "make_icon: cannot write %s\n", argv[3]);
    return ok ? 0 : 1;
}
