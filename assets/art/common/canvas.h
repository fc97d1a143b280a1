// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing surface for the art generators: a cairo ARGB canvas that is written out
// as a 24-bit BMP with the picture's colour key (black or white) where it is transparent.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace art {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

// How transparency turns into the picture's key colour when it is written.
enum class Key {
    Black,  // transparent pixels become (0,0,0); colours that are black in 16 bits become (8,8,8)
    White,  // transparent pixels become (255,255,255); colours that are white in 16 bits become (240,240,240)
    None,   // opaque picture: written as drawn, no key hygiene
};

class Canvas {
  public:
    // A canvas starts fully transparent.
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    cairo_t* cr() { return cr_; }
    cairo_surface_t* surface() { return surface_; }

    // Straight (un-premultiplied) colour and alpha of one pixel.
    Rgb pixel(int x, int y) const;
    uint8_t alpha(int x, int y) const;
    void set_pixel(int x, int y, Rgb c, uint8_t alpha = 255);

    // Copies another canvas (or a part of it) onto this one at (x, y), keeping alpha.
    void paste(const Canvas& src, int x, int y);

    // Writes dir/name as an uncompressed 24-bit bottom-up BMP. Pixels with alpha below 128
    // become the key colour; the others take their straight colour, so antialiased edges
    // never fade towards black (no dark halos around figures).
    void write_bmp(const std::filesystem::path& dir, const std::string& name, Key key) const;

  private:
    int width_, height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// Deterministic random numbers (splitmix64), so every build writes the same bytes.
class Rng {
  public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next();
    double uniform();                    // [0, 1)
    double range(double lo, double hi);  // [lo, hi)
    int int_range(int lo, int hi);       // lo..hi inclusive

  private:
    uint64_t state_;
};

// Convenience setters for cairo colours given as 0..255 components.
void set_rgb(cairo_t* cr, Rgb c, double alpha = 1.0);
Rgb mix(Rgb a, Rgb b, double t);  // a*(1-t) + b*t

// Selects a DejaVu face ("DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif") and size in pixels.
void select_font(cairo_t* cr, const char* family, double size, bool bold);

}  // namespace art
