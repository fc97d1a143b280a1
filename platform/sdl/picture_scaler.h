// SPDX-License-Identifier: GPL-3.0-or-later
// The RGB565 picture converted and scaled in one pass into XRGB8888 output rows, for drawing
// straight into a window's own surface: whole factors by repeating pixels and rows, the sharp and
// smooth scalings by a two-tap filter whose source pixels and weights are worked out once per size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/sdl/picture_layout.h"
#include "platform/surface.h"

namespace platform {

// Filter weights are in 64ths: an output pixel is source pixel `first` times (64 - weight) plus
// the pixel after it times weight, along one axis.
inline constexpr int32_t kScaleWeightOne = 64;
struct ScaleTap {
    int32_t first = 0;
    int32_t weight = 0;  // 0 .. 63
};

// The taps that scale `srcLen` pixels to `dstLen` along one axis. Smooth filters linearly between
// the source pixel centres; sharp enlarges by the nearest whole factor first and filters that
// linearly, which blends two pixels only where an output pixel straddles their border; integer
// (at a size that is no whole factor) takes the nearest source pixel. `sharpFactor` is the whole
// factor of the sharp scaling's enlargement (the same along both axes).
std::vector<ScaleTap> ScaleTaps(Scaling scaling, int32_t srcLen, int32_t dstLen, int32_t sharpFactor);

// Which build of the loops draws: the widest the processor has, or one named (for tests).
enum class ScalerBuild { Best, Baseline, Avx2 };
bool Avx2ScalerAvailable();

class PictureScaler {
  public:
    // Prepares the scaling of a srcWidth x srcHeight picture to width x height output pixels.
    PictureScaler(Scaling scaling, int32_t srcWidth, int32_t srcHeight, int32_t width, int32_t height);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    // True when whole rows and pixels are repeated (a whole factor in both directions).
    bool replicates() const { return factor_ > 0; }

    // Writes the scaled picture into height() rows of `pitch` bytes from dst (its top-left pixel).
    void Draw(const Surface& src, uint8_t* dst, size_t pitch, ScalerBuild build = ScalerBuild::Best);

  private:
    const uint16_t* filteredRow(const Surface& src, int32_t y, bool avx2);

    int32_t srcWidth_, srcHeight_, width_, height_;
    int32_t factor_ = 0;                       // the whole factor when replicating, else 0
    std::vector<int32_t> columnFirst_;         // per output column: its first source pixel
    std::vector<uint8_t> columnWeights_;       // per output column: (64 - weight, weight) four times
    std::vector<uint32_t> columnFirstWord_;    // per output column: where its first source pixel's channels start
    std::vector<uint16_t> columnWeightWords_;  // per output column: 64 - weight four times, weight four times
    std::vector<int32_t> columnOffsets_;       // per output column: its first source pixel less its block's
    std::vector<uint8_t> blockFits_;           // per eight output columns: their source pixels lie within eight
    std::vector<uint8_t> blockWeights_;        // per eight output columns: their weights, in the AVX2 loop's order
    std::vector<ScaleTap> rowTaps_;
    std::vector<uint32_t> widened_;       // one source row in XRGB8888, its last pixel repeated once
    std::vector<uint16_t> widenedWords_;  // the same with each channel in 16 bits
    std::vector<uint16_t> filtered_[2];   // two source rows filtered across, 4 channels per pixel
    int32_t filteredRowOf_[2] = {-1, -1};
};

}  // namespace platform
