// SPDX-License-Identifier: GPL-3.0-or-later
// Where the 640 x 480 picture sits in the window for each way of scaling it (letterboxed), and how
// the pointer we keep ourselves follows window positions and relative mouse motion.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

inline constexpr int kPictureWidth = 640;
inline constexpr int kPictureHeight = 480;

// The picture's rectangle in output pixels.
struct PictureRect {
    int x = 0, y = 0, w = kPictureWidth, h = kPictureHeight;
};

// Sharp: enlarged by the nearest whole factor without blurring, then smoothly to fill the largest
// 4:3 rectangle. Integer: whole factors only. Smooth: linear filtering straight to that rectangle.
enum class Scaling { Sharp, Integer, Smooth };
std::optional<Scaling> ScalingFromName(std::string_view name);

// The picture's rectangle in an output, centred. Integer takes the largest whole factor that fits;
// the others the largest 4:3 rectangle. An output smaller than the picture always gets the
// largest size of the picture's shape that fits, so something sensible is still shown.
PictureRect FitPicture(int outputWidth, int outputHeight, Scaling scaling = Scaling::Integer);

// The whole factor by which the sharp scaling first enlarges the picture, for a picture of `rect`.
int SharpFactor(const PictureRect& rect);

// The pointer in picture coordinates. Relative motion arrives in output pixels; the fractions
// are kept, so slow movements at a large scale still add up.
class PictureCursor {
  public:
    int32_t x() const { return x_; }
    int32_t y() const { return y_; }
    void Set(int32_t x, int32_t y);
    // A window position (output pixels) mapped through the scaling and letterbox.
    void FollowWindow(double outX, double outY, const PictureRect& picture);
    // Motion in output pixels; a scale of 2 needs two pixels of motion for one picture pixel.
    void MoveBy(double outDx, double outDy, const PictureRect& picture);

  private:
    int32_t x_ = kPictureWidth / 2, y_ = kPictureHeight / 2;
    double fracX_ = 0, fracY_ = 0;
};

}  // namespace platform
