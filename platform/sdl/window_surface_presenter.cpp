// SPDX-License-Identifier: GPL-3.0-or-later
// The picture straight into the window's own surface.
#include "platform/sdl/window_surface_presenter.h"

#include <SDL.h>

namespace platform {

namespace {

bool holdsXrgb8888(const SDL_Surface* s) {
    // Our pixels carry a full alpha, so a surface that keeps one takes them as they are.
    return s->format->format == SDL_PIXELFORMAT_XRGB8888 || s->format->format == SDL_PIXELFORMAT_ARGB8888;
}

bool samePlace(const PictureRect& a, const PictureRect& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

}  // namespace

void WindowSurfacePresenter::SurfaceDeleter::operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }

WindowSurfacePresenter::WindowSurfacePresenter(SDL_Window* window, Scaling scaling)
    : window_(window), scaling_(scaling) {}

WindowSurfacePresenter::~WindowSurfacePresenter() = default;

bool WindowSurfacePresenter::OutputSize(int& width, int& height) {
    const SDL_Surface* s = SDL_GetWindowSurface(window_);
    if (!s) return false;
    width = s->w;
    height = s->h;
    return true;
}

bool WindowSurfacePresenter::Draw(const Surface& back, const PictureRect& picture) {
    SDL_Surface* s = SDL_GetWindowSurface(window_);
    if (!s || picture.x < 0 || picture.y < 0 || picture.x + picture.w > s->w || picture.y + picture.h > s->h)
        return false;
    if (!scaler_ || scaler_->width() != picture.w || scaler_->height() != picture.h)
        scaler_.emplace(scaling_, back.width(), back.height(), picture.w, picture.h);
    // A new surface or a new place: the bars are cleared and the whole surface shown, once.
    const bool whole = wholePending_ || s != drawnOn_ || !samePlace(picture, drawnAt_);
    if (whole) SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0, 0, 0));
    const SDL_Rect area{picture.x, picture.y, picture.w, picture.h};
    if (holdsXrgb8888(s)) {
        if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) return false;
        uint8_t* topLeft = static_cast<uint8_t*>(s->pixels) + static_cast<size_t>(picture.y) * s->pitch +
                           static_cast<size_t>(picture.x) * 4;
        scaler_->Draw(back, topLeft, static_cast<size_t>(s->pitch));
        if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
    } else {
        if (!staging_ || staging_->w != picture.w || staging_->h != picture.h)
            staging_.reset(SDL_CreateRGBSurfaceWithFormat(0, picture.w, picture.h, 32, SDL_PIXELFORMAT_XRGB8888));
        if (!staging_) return false;
        scaler_->Draw(back, static_cast<uint8_t*>(staging_->pixels), static_cast<size_t>(staging_->pitch));
        SDL_Rect to = area;
        SDL_BlitSurface(staging_.get(), nullptr, s, &to);
    }
    if (whole) {
        SDL_UpdateWindowSurface(window_);
        drawnOn_ = s;
        drawnAt_ = picture;
        wholePending_ = false;
    } else {
        SDL_UpdateWindowSurfaceRects(window_, &area, 1);
    }
    return true;
}

void WindowSurfacePresenter::Repaint() {
    if (drawnOn_ && SDL_GetWindowSurface(window_) == drawnOn_) SDL_UpdateWindowSurface(window_);
}

}  // namespace platform
