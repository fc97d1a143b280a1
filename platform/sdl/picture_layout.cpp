// SPDX-License-Identifier: GPL-3.0-or-later
// The letterboxed picture's place in the window and the pointer's way through it.
#include "platform/sdl/picture_layout.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

int32_t clampTo(double v, int32_t size) {
    return static_cast<int32_t>(std::clamp(std::floor(v), 0.0, static_cast<double>(size - 1)));
}

}  // namespace

std::optional<Scaling> ScalingFromName(std::string_view name) {
    if (name == "sharp") return Scaling::Sharp;
    if (name == "integer") return Scaling::Integer;
    if (name == "smooth") return Scaling::Smooth;
    return std::nullopt;
}

PictureRect FitPicture(int outputWidth, int outputHeight, Scaling scaling) {
    PictureRect r;
    const int factor = std::min(outputWidth / kPictureWidth, outputHeight / kPictureHeight);
    if (factor >= 1 && scaling == Scaling::Integer) {
        r.w = kPictureWidth * factor;
        r.h = kPictureHeight * factor;
    } else if (outputWidth * kPictureHeight < outputHeight * kPictureWidth) {
        r.w = std::max(outputWidth, 1);
        r.h = std::max(outputWidth * kPictureHeight / kPictureWidth, 1);
    } else {
        r.h = std::max(outputHeight, 1);
        r.w = std::max(outputHeight * kPictureWidth / kPictureHeight, 1);
    }
    r.x = (outputWidth - r.w) / 2;
    r.y = (outputHeight - r.h) / 2;
    return r;
}

int SharpFactor(const PictureRect& rect) {
    return std::max(1, static_cast<int>(std::lround(static_cast<double>(rect.w) / kPictureWidth)));
}

void PictureCursor::Set(int32_t x, int32_t y) {
    x_ = std::clamp(x, 0, kPictureWidth - 1);
    y_ = std::clamp(y, 0, kPictureHeight - 1);
    fracX_ = fracY_ = 0;
}

void PictureCursor::FollowWindow(double outX, double outY, const PictureRect& picture) {
    x_ = clampTo((outX - picture.x) * kPictureWidth / picture.w, kPictureWidth);
    y_ = clampTo((outY - picture.y) * kPictureHeight / picture.h, kPictureHeight);
    fracX_ = fracY_ = 0;
}

void PictureCursor::MoveBy(double outDx, double outDy, const PictureRect& picture) {
    const double dx = fracX_ + outDx * kPictureWidth / picture.w;
    const double dy = fracY_ + outDy * kPictureHeight / picture.h;
    const double wholeX = std::trunc(dx), wholeY = std::trunc(dy);
    fracX_ = dx - wholeX;
    fracY_ = dy - wholeY;
    const double nx = x_ + wholeX, ny = y_ + wholeY;
    // At an edge the leftover fraction would only push further out; drop it there.
    if (nx < 0 || nx > kPictureWidth - 1) fracX_ = 0;
    if (ny < 0 || ny > kPictureHeight - 1) fracY_ = 0;
    x_ = clampTo(nx, kPictureWidth);
    y_ = clampTo(ny, kPictureHeight);
}

}  // namespace platform
