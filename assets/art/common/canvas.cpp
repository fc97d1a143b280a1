// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace art {

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

Rgb Canvas::pixel(int x, int y) const {
    cairo_surface_flush(surface_);
    const auto* row = cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    uint32_t v = reinterpret_cast<const uint32_t*>(row)[x];
    uint32_t a = v >> 24;
    if (a == 0) return {0, 0, 0};
    auto un = [a](uint32_t c) { return static_cast<uint8_t>(std::min<uint32_t>(255, (c * 255 + a / 2) / a)); };
    return {un((v >> 16) & 255), un((v >> 8) & 255), un(v & 255)};
}

uint8_t Canvas::alpha(int x, int y) const {
    cairo_surface_flush(surface_);
    const auto* row = cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    return static_cast<uint8_t>(reinterpret_cast<const uint32_t*>(row)[x] >> 24);
}

void Canvas::set_pixel(int x, int y, Rgb c, uint8_t a) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    cairo_surface_flush(surface_);
    auto* row = cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    auto pre = [a](uint8_t v) { return static_cast<uint32_t>((v * a + 127) / 255); };
    reinterpret_cast<uint32_t*>(row)[x] = (uint32_t(a) << 24) | (pre(c.r) << 16) | (pre(c.g) << 8) | pre(c.b);
    cairo_surface_mark_dirty(surface_);
}

void Canvas::paste(const Canvas& src, int x, int y) {
    cairo_save(cr_);
    cairo_set_source_surface(cr_, src.surface_, x, y);
    cairo_paint(cr_);
    cairo_restore(cr_);
}

void Canvas::write_bmp(const std::filesystem::path& dir, const std::string& name, Key key) const {
    const int row_bytes = (width_ * 3 + 3) & ~3;
    const uint32_t image_size = static_cast<uint32_t>(row_bytes * height_);
    std::vector<uint8_t> out(54 + image_size, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    auto put16 = [&](size_t at, uint16_t v) {
        out[at] = static_cast<uint8_t>(v);
        out[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<uint32_t>(out.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width_));
    put32(22, static_cast<uint32_t>(height_));
    put16(26, 1);
    put16(28, 24);
    put32(34, image_size);
    put32(38, 2835);
    put32(42, 2835);
    for (int y = 0; y < height_; ++y) {
        uint8_t* dst = out.data() + 54 + static_cast<size_t>(height_ - 1 - y) * row_bytes;
        for (int x = 0; x < width_; ++x) {
            Rgb c = pixel(x, y);
            uint8_t a = alpha(x, y);
            // The display keeps 5-6-5 bits, so every colour that lands on the key's 16-bit value
            // (not only the exact key) would punch a hole into the figure.
            if (key == Key::Black) {
                if (a < 128)
                    c = {0, 0, 0};
                else if (c.r < 8 && c.g < 4 && c.b < 8)
                    c = {8, 8, 8};
            } else if (key == Key::White) {
                if (a < 128)
                    c = {255, 255, 255};
                else if (c.r >= 248 && c.g >= 252 && c.b >= 248)
                    c = {240, 240, 240};
            }
            dst[x * 3 + 0] = c.b;
            dst[x * 3 + 1] = c.g;
            dst[x * 3 + 2] = c.r;
        }
    }
    std::filesystem::create_directories(dir);
    std::ofstream f(dir / name, std::ios::binary);
    f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!f) throw std::runtime_error("cannot write " + (dir / name).string());
}

uint64_t Rng::next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Rng::uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

double Rng::range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

int Rng::int_range(int lo, int hi) { return lo + static_cast<int>(uniform() * (hi - lo + 1)); }

void set_rgb(cairo_t* cr, Rgb c, double alpha) {
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

Rgb mix(Rgb a, Rgb b, double t) {
    auto m = [t](uint8_t x, uint8_t y) { return static_cast<uint8_t>(std::lround(x + (y - x) * t)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

void select_font(cairo_t* cr, const char* family, double size, bool bold) {
    cairo_select_font_face(cr, family, CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

}  // namespace art
