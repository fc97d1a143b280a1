// SPDX-License-Identifier: GPL-3.0-or-later
// The RGB565 surface's copies, scaled copy, colour fill and locked pixel access.
#include "platform/surface.h"

#include <algorithm>
#include <cstring>

namespace platform {

Surface::Surface(int32_t width, int32_t height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, 0) {}

bool Surface::inside(const Rect& r) const {
    return r.left >= 0 && r.top >= 0 && r.right <= width_ && r.bottom <= height_ && r.left < r.right &&
           r.top < r.bottom;
}

namespace {

// The hot path of every frame: a keyed row copy, sixteen pixels at a time as one vector
// compare and blend (GCC/Clang vector extensions), the rest pixel by pixel. Built twice, for
// AVX2 and for plain x86-64, and the loader picks the one the processor runs best. Other
// processors (and WebAssembly) get the portable build alone.
typedef uint16_t Pixels16 __attribute__((vector_size(32)));
// The pick is an ifunc, which only ELF programs have; Windows programs take the portable build.
#if defined(__x86_64__) && defined(__ELF__)
#define AVX2_AND_DEFAULT __attribute__((target_clones("avx2", "default")))
#else
#define AVX2_AND_DEFAULT
#endif

AVX2_AND_DEFAULT void copyKeyedRow(uint16_t* __restrict d, const uint16_t* __restrict s, int32_t n, uint16_t key) {
    const Pixels16 keys = {key, key, key, key, key, key, key, key, key, key, key, key, key, key, key, key};
    int32_t i = 0;
    for (; i + 16 <= n; i += 16) {
        Pixels16 vs, vd;
        std::memcpy(&vs, s + i, sizeof vs);
        std::memcpy(&vd, d + i, sizeof vd);
        const Pixels16 transparent = reinterpret_cast<Pixels16>(vs == keys);
        vd = (vd & transparent) | (vs & ~transparent);
        std::memcpy(d + i, &vd, sizeof vd);
    }
    for (; i < n; ++i) {
        const uint16_t v = s[i];
        if (v != key) d[i] = v;
    }
}

// Every frame starts with a full-screen fill; written with vector stores because the compiler
// leaves a plain fill loop unvectorised at -O2.
inline void fillRow(uint16_t* d, int32_t n, uint16_t v) {
    const Pixels16 values = {v, v, v, v, v, v, v, v, v, v, v, v, v, v, v, v};
    int32_t i = 0;
    for (; i + 16 <= n; i += 16) std::memcpy(d + i, &values, sizeof values);
    for (; i < n; ++i) d[i] = v;
}

}  // namespace

bool Surface::BltFast(int32_t x, int32_t y, const Surface& src, Rect r, bool keyed) {
    if (locked_ || src.locked_ || !src.inside(r)) return false;
    const int32_t w = r.right - r.left;
    const int32_t h = r.bottom - r.top;
    if (x < 0 || y < 0 || x + w > width_ || y + h > height_) return false;
    if (&src == this) {
        // Overlapping copy within one picture: go through a temporary so rows never smear.
        Surface copy(w, h);
        copy.BltFast(0, 0, src, r, false);
        copy.key_ = key_;
        return BltFast(x, y, copy, Rect{0, 0, w, h}, keyed);
    }
    for (int32_t j = 0; j < h; ++j) {
        uint16_t* d = row(y + j) + x;
        const uint16_t* s = src.row(r.top + j) + r.left;
        if (keyed)
            copyKeyedRow(d, s, w, src.key_);
        else
            std::memcpy(d, s, static_cast<size_t>(w) * sizeof(uint16_t));
    }
    return true;
}

bool Surface::Blt(Rect d, const Surface& src, Rect s) {
    if (locked_ || src.locked_ || !src.inside(s) || !inside(d)) return false;
    const int32_t dw = d.right - d.left, dh = d.bottom - d.top;
    const int32_t sw = s.right - s.left, sh = s.bottom - s.top;
    // Target column i reads source column i * sw / dw, truncated. The columns are worked out once
    // per copy, stepped by whole part and remainder (sx * dw + rest == i * sw, rest < dw) instead
    // of divided per pixel; the rows are stepped the same way.
    std::vector<int32_t> columns(static_cast<size_t>(dw));
    const int32_t colWhole = sw / dw, colRest = sw % dw;
    for (int32_t i = 0, sx = s.left, rest = 0; i < dw; ++i) {
        columns[i] = sx;
        sx += colWhole;
        rest += colRest;
        if (rest >= dw) {
            rest -= dw;
            ++sx;
        }
    }
    const int32_t rowWhole = sh / dh, rowRest = sh % dh;
    for (int32_t j = 0, sy = s.top, rest = 0; j < dh; ++j) {
        const uint16_t* srow = src.row(sy);
        uint16_t* drow = row(d.top + j) + d.left;
        for (int32_t i = 0; i < dw; ++i) drow[i] = srow[columns[i]];
        sy += rowWhole;
        rest += rowRest;
        if (rest >= dh) {
            rest -= dh;
            ++sy;
        }
    }
    return true;
}

bool Surface::BltColorFill(Rect r, uint32_t raw) {
    if (locked_ || !inside(r)) return false;
    const uint16_t v = static_cast<uint16_t>(raw);
    for (int32_t j = r.top; j < r.bottom; ++j) fillRow(row(j) + r.left, r.right - r.left, v);
    return true;
}

bool Surface::Lock(Rect r) {
    if (locked_ || refuseLocks || !inside(r)) return false;
    locked_ = true;
    lockRect_ = r;
    return true;
}

void Surface::Unlock() { locked_ = false; }

uint16_t Surface::GetLockedPixel(int32_t x, int32_t y) const {
    if (x < lockRect_.left || y < lockRect_.top || x >= lockRect_.right || y >= lockRect_.bottom) return 0;
    return row(y)[x];
}

void Surface::SetLockedPixel(int32_t x, int32_t y, uint32_t raw) {
    if (x < lockRect_.left || y < lockRect_.top || x >= lockRect_.right || y >= lockRect_.bottom) return;
    row(y)[x] = static_cast<uint16_t>(raw);
}

}  // namespace platform
