// SPDX-License-Identifier: GPL-3.0-or-later
// The frame's way from the back buffer to the renderer's output, per scaling.
#include "platform/sdl/picture_presenter.h"

#include <SDL.h>

#include <stdexcept>
#include <string>

#include "platform/sdl/pixel_conversion.h"

namespace platform {

namespace {

std::runtime_error sdlFailure(const char* what) { return std::runtime_error(std::string(what) + SDL_GetError()); }

}  // namespace

void PicturePresenter::Deleter::operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }

PicturePresenter::PicturePresenter(SDL_Renderer* renderer, Scaling scaling) : renderer_(renderer), scaling_(scaling) {
    frame_.reset(SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING, kPictureWidth,
                                   kPictureHeight));
    if (!frame_) throw sdlFailure("cannot make the picture's texture: ");
    SDL_SetTextureScaleMode(frame_.get(), scaling_ == Scaling::Smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
}

PicturePresenter::~PicturePresenter() = default;

void PicturePresenter::Upload(const Surface& back) {
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(frame_.get(), nullptr, &pixels, &pitch) != 0) throw sdlFailure("cannot show the frame: ");
    ConvertToXrgb8888(back, static_cast<uint8_t*>(pixels), static_cast<size_t>(pitch));
    SDL_UnlockTexture(frame_.get());
    enlargedCurrent_ = false;
}

void PicturePresenter::prepareSharpTarget(int factor) {
    if (factor != enlargedFactor_ || !enlarged_) {
        enlarged_.reset(SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_TARGET,
                                          kPictureWidth * factor, kPictureHeight * factor));
        if (!enlarged_) throw sdlFailure("cannot make the enlarged picture: ");
        SDL_SetTextureScaleMode(enlarged_.get(), SDL_ScaleModeLinear);
        enlargedFactor_ = factor;
        enlargedCurrent_ = false;
    }
    if (enlargedCurrent_) return;
    SDL_SetRenderTarget(renderer_, enlarged_.get());
    SDL_RenderCopy(renderer_, frame_.get(), nullptr, nullptr);
    SDL_SetRenderTarget(renderer_, nullptr);
    enlargedCurrent_ = true;
}

void PicturePresenter::Draw(const PictureRect& picture, int outputWidth, int outputHeight) {
    SDL_Texture* source = frame_.get();
    // Where the rectangle is a whole multiple of the picture, the sharp scaling is the integer one.
    const int factor = SharpFactor(picture);
    if (scaling_ == Scaling::Sharp && picture.w != kPictureWidth * factor) {
        prepareSharpTarget(factor);
        source = enlarged_.get();
    }
    if (picture.x > 0 || picture.y > 0 || picture.w < outputWidth || picture.h < outputHeight) {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
    }
    const SDL_Rect dst{picture.x, picture.y, picture.w, picture.h};
    SDL_RenderCopy(renderer_, source, nullptr, &dst);
}

}  // namespace platform
