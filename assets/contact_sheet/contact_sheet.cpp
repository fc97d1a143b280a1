// SPDX-License-Identifier: GPL-3.0-or-later
// Writes one PNG showing every generated bitmap at 1:1 with its name on mid-grey, so a reviewer
// sees all the art at once: contact_sheet BITMAP_DIR OUTPUT.png
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Picture {
    std::string name;
    cairo_surface_t* surface;
};

// Reads an uncompressed 24-bit BMP; nullptr for anything else.
cairo_surface_t* readBmp(const std::filesystem::path& file) {
    std::ifstream f(file, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    auto u32 = [&](size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | unsigned(b[at + 3]) << 24; };
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || (b[28] | b[29] << 8) != 24) return nullptr;
    const int w = static_cast<int>(u32(18)), h = static_cast<int>(u32(22));
    const size_t offset = u32(10), row = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
    if (w <= 0 || h <= 0 || offset + row * h > b.size()) return nullptr;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < h; ++y) {
        const unsigned char* p = b.data() + offset + row * (h - 1 - y);
        auto* d = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < w; ++x) d[x] = uint32_t(p[3 * x + 2]) << 16 | p[3 * x + 1] << 8 | p[3 * x];
    }
    cairo_surface_mark_dirty(s);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: contact_sheet BITMAP_DIR OUTPUT.png\n");
        return 2;
    }
    std::vector<Picture> pictures;
    for (const auto& e : std::filesystem::directory_iterator(argv[1]))
        if (e.path().extension() == ".bmp")
            if (cairo_surface_t* s = readBmp(e.path())) pictures.push_back({e.path().filename().string(), s});
    std::sort(pictures.begin(), pictures.end(), [](const Picture& a, const Picture& b) {
        return cairo_image_surface_get_height(a.surface) > cairo_image_surface_get_height(b.surface);
    });

    // Shelf packing: pictures sorted by height fill rows of a fixed width.
    const int width = 2600, gap = 12, label = 16;
    struct Place {
        int x, y;
    };
    std::vector<Place> places;
    int x = gap, y = gap, shelf = 0;
    for (const Picture& p : pictures) {
        const int w = std::max(cairo_image_surface_get_width(p.surface), 110);
        const int h = cairo_image_surface_get_height(p.surface) + label;
        if (x + w + gap > width) {
            x = gap;
            y += shelf + gap;
            shelf = 0;
        }
        places.push_back({x, y});
        x += w + gap;
        shelf = std::max(shelf, h);
    }
    const int height = y + shelf + gap;

    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(sheet);
    cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
    cairo_paint(cr);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 12);
    for (size_t i = 0; i < pictures.size(); ++i) {
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_move_to(cr, places[i].x, places[i].y + 12);
        cairo_show_text(cr, pictures[i].name.c_str());
        cairo_set_source_surface(cr, pictures[i].surface, places[i].x, places[i].y + label);
        cairo_paint(cr);
        cairo_surface_destroy(pictures[i].surface);
    }
    cairo_destroy(cr);
    const cairo_status_t status = cairo_surface_write_to_png(sheet, argv[2]);
    cairo_surface_destroy(sheet);
    if (status != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "contact_sheet: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("contact sheet of %zu pictures: %s\n", pictures.size(), argv[2]);
    return 0;
}
