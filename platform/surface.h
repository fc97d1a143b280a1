// SPDX-License-Identifier: GPL-3.0-or-later
// A 16-bit RGB565 picture in memory with a source colour key: the display surfaces of the game
// and the raw operations on them (fast copy, scaled copy, colour fill, locked pixel access).
// Copies clip nothing: a copy whose rectangles do not lie wholly inside both surfaces is refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// Left and top inclusive, right and bottom exclusive.
struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

class Surface {
  public:
    Surface(int32_t width, int32_t height);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    uint16_t* row(int32_t y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
    const uint16_t* row(int32_t y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
    uint16_t* data() { return pixels_.data(); }
    const uint16_t* data() const { return pixels_.data(); }

    // Source colour key: keyed copies skip source pixels of exactly this value.
    void SetColorKey(uint16_t key) { key_ = key; }
    uint16_t colorKey() const { return key_; }

    // Copies rectangle r of src to (x, y); keyed honours src's colour key. Returns false (and
    // draws nothing) when r is empty, not inside src, or the target area is not inside this surface.
    bool BltFast(int32_t x, int32_t y, const Surface& src, Rect r, bool keyed);
    // Scaled opaque copy of src's rectangle s onto this surface's rectangle d (nearest neighbour).
    bool Blt(Rect d, const Surface& src, Rect s);
    // Fills r with the low 16 bits of raw.
    bool BltColorFill(Rect r, uint32_t raw);

    // Locked pixel access. Lock fails for a rectangle outside the surface, for a surface that is
    // already locked, and while refuseLocks is set (a lost surface refuses its lock).
    bool Lock(Rect r);
    void Unlock();
    bool locked() const { return locked_; }
    uint16_t GetLockedPixel(int32_t x, int32_t y) const;
    void SetLockedPixel(int32_t x, int32_t y, uint32_t raw);
    bool refuseLocks = false;

  private:
    bool inside(const Rect& r) const;

    int32_t width_, height_;
    uint16_t key_ = 0;
    bool locked_ = false;
    Rect lockRect_{};
    std::vector<uint16_t> pixels_;
};

// 24-bit colour to the display's RGB565 value: white is 0xFFFF, black 0.
constexpr uint16_t ToRgb565(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

}  // namespace platform
