// SPDX-License-Identifier: GPL-3.0-or-later
// The SDL window and renderer, and presenting one picture per flip.
#include "base/log.h"
#include "platform/sdl/sdl_display.h"

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <stdexcept>

#include "platform/sdl/renderer_choice.h"

namespace platform {

namespace {

constexpr int kDefaultScale = 2;

// The largest window scale the desktop holds (at least 1; unlimited where SDL cannot tell).
int largestFittingScale() {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return INT_MAX;
    return std::max(1, std::min(usable.w / kPictureWidth, usable.h / kPictureHeight));
}

// The window scale asked for, made smaller on a desktop that cannot hold it.
int windowScale(int requested) {
    const int fits = largestFittingScale();
    if (requested <= 0) return std::min(kDefaultScale, fits);
    if (requested <= fits) return requested;
    base::Log("--scale %d does not fit on the desktop; the window takes scale %d", requested, fits);
    return fits;
}

}  // namespace

void SdlDisplay::Deleter::operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
void SdlDisplay::Deleter::operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }

SdlDisplay::SdlDisplay(const SdlOptions& options)
    : scaling_(ScalingFromName(options.scaling).value_or(Scaling::Sharp)),
      shown_(static_cast<size_t>(kPictureWidth) * kPictureHeight) {
    const int scale = windowScale(options.scale);
    window_.reset(SDL_CreateWindow("Vorlanix", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kPictureWidth * scale,
                                   kPictureHeight * scale, SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN));
    if (!window_) throw DisplayError(false, SDL_GetError());
    SDL_SetWindowMinimumSize(window_.get(), kPictureWidth / 2, kPictureHeight / 2);

    DrawingChoice drawing = ChooseDrawing(window_.get(), options.renderer, options.vsync);
    if (drawing.windowSurface) {
        surface_ = std::make_unique<WindowSurfacePresenter>(window_.get(), scaling_);
    } else {
        renderer_.reset(drawing.renderer);
        if (!renderer_) throw DisplayError(false, drawing.error);
        SDL_RendererInfo info;
        vsync_ = SDL_GetRendererInfo(renderer_.get(), &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC);
        try {
            presenter_ = std::make_unique<PicturePresenter>(renderer_.get(), scaling_);
        } catch (const std::runtime_error& e) {
            throw DisplayError(false, e.what());
        }
    }
    // Shown only now: an OpenGL renderer makes the window anew, which would undo its placing.
    if (!options.window) enterFullscreen();
    SDL_ShowWindow(window_.get());
    if (!options.window) SDL_SetWindowFullscreen(window_.get(), SDL_WINDOW_FULLSCREEN_DESKTOP);
    Relayout();
}

SdlDisplay::~SdlDisplay() {
    presenter_.reset();
    renderer_.reset();
}

bool SdlDisplay::fullscreen() const { return (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_FULLSCREEN) != 0; }

bool SdlDisplay::visible() const {
    return (SDL_GetWindowFlags(window_.get()) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0;
}

void SdlDisplay::ToggleFullscreen() {
    if (fullscreen()) {
        SDL_SetWindowFullscreen(window_.get(), 0);
        SDL_SetWindowSize(window_.get(), windowedW_, windowedH_);
        SDL_SetWindowPosition(window_.get(), windowedX_, windowedY_);
    } else {
        enterFullscreen();
        SDL_SetWindowFullscreen(window_.get(), SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    Relayout();
}

void SdlDisplay::enterFullscreen() {
    SDL_GetWindowPosition(window_.get(), &windowedX_, &windowedY_);
    SDL_GetWindowSize(window_.get(), &windowedW_, &windowedH_);
    // Without a window manager nobody carries out the fullscreen request and the window would
    // stay where it is, showing a cut-off part of the screen's picture; covering the screen as a
    // window first looks the same as fullscreen there. The window's own place is kept for later.
    SDL_Rect screen;
    const int display = std::max(0, SDL_GetWindowDisplayIndex(window_.get()));
    if (SDL_GetDisplayBounds(display, &screen) != 0) return;
    SDL_SetWindowPosition(window_.get(), screen.x, screen.y);
    SDL_SetWindowSize(window_.get(), screen.w, screen.h);
}

void SdlDisplay::Relayout() {
    int winW = 0, winH = 0;
    SDL_GetWindowSize(window_.get(), &winW, &winH);
    const bool sized = surface_ ? surface_->OutputSize(outputW_, outputH_)
                                : SDL_GetRendererOutputSize(renderer_.get(), &outputW_, &outputH_) == 0;
    if (!sized) {
        outputW_ = winW;
        outputH_ = winH;
    }
    if (surface_) surface_->ShowWholeNext();
    picture_ = FitPicture(outputW_, outputH_, scaling_);
    pixelsPerPoint_ = winW > 0 && outputW_ > 0 ? static_cast<double>(outputW_) / winW : 1.0;
    redraw_ = true;

    SDL_DisplayMode mode;
    const int display = SDL_GetWindowDisplayIndex(window_.get());
    const int refresh = display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0
                            ? mode.refresh_rate
                            : 60;
    framePeriod_ = SDL_GetPerformanceFrequency() / static_cast<uint64_t>(refresh);
}

SDL_Rect SdlDisplay::pictureInWindow() const {
    auto points = [&](int pixels) { return static_cast<int>(pixels / pixelsPerPoint_); };
    return SDL_Rect{points(picture_.x), points(picture_.y), std::max(1, points(picture_.w)),
                    std::max(1, points(picture_.h))};
}

bool SdlDisplay::Held() {
    if (!resetPending_) return true;
    if (!visible()) return false;
    try {
        presenter_ = std::make_unique<PicturePresenter>(renderer_.get(), scaling_);
        resetPending_ = false;
        redraw_ = true;
    } catch (const std::runtime_error&) {
        // The device is not back yet; the game asks again after its next pump.
    }
    return false;
}

void SdlDisplay::show() {
    if (surface_) {
        surface_->Repaint();
        return;
    }
    presenter_->Draw(picture_, outputW_, outputH_);
    SDL_RenderPresent(renderer_.get());
}

void SdlDisplay::Repaint() {
    if (visible() && !resetPending_ && !redraw_) show();
}

void SdlDisplay::Present(const Surface& back) {
    if (back.width() != kPictureWidth || back.height() != kPictureHeight)
        throw std::invalid_argument("the back buffer must be 640 x 480");
    // A minimised window shows nothing, and a frame equal to the shown one needs no drawing; only
    // the frame rate is kept, so a loop that goes on drawing does not spin.
    const bool unchanged = !redraw_ && std::equal(shown_.begin(), shown_.end(), back.data());
    if (!visible() || resetPending_ || unchanged) {
        waitForFrameTime(false);
        return;
    }
    std::copy(back.data(), back.data() + shown_.size(), shown_.begin());
    if (surface_) {
        presentOnWindowSurface(back);
        return;
    }
    presenter_->Upload(back);
    presenter_->Draw(picture_, outputW_, outputH_);
    redraw_ = false;
    waitForFrameTime(true);
    SDL_RenderPresent(renderer_.get());
    ++framesShown_;
    noteFrameInterval();
}

void SdlDisplay::presentOnWindowSurface(const Surface& back) {
    waitForFrameTime(true);
    // The surface has the window's size as SDL last learnt it; the picture is placed in what is
    // really drawn on, also before the event of a change of size has come through.
    int w = 0, h = 0;
    if (surface_->OutputSize(w, h) && (w != outputW_ || h != outputH_)) Relayout();
    redraw_ = !surface_->Draw(back, picture_);
    if (!redraw_) ++framesShown_;
}

void SdlDisplay::noteFrameInterval() {
    // Some renderers claim vsync and do not wait (SDL's software renderer among them). Half a
    // second of frames that came faster on average than the display refreshes unmasks them.
    constexpr int kFramesMeasured = 30;
    const uint64_t now = SDL_GetPerformanceCounter();
    if (vsync_ && lastPresent_ != 0) {
        measuredTime_ += now - lastPresent_;
        if (++measuredFrames_ == kFramesMeasured) {
            if (measuredTime_ < framePeriod_ * kFramesMeasured * 9 / 10) vsync_ = false;
            measuredFrames_ = 0;
            measuredTime_ = 0;
        }
    }
    lastPresent_ = now;
}

void SdlDisplay::waitForFrameTime(bool presenting) {
    // With vsync the present waits for the display; the three-quarter frame here only holds back
    // a renderer whose vsync is not yet unmasked, and stays well clear of the next vertical blank.
    const uint64_t period = presenting && vsync_ ? framePeriod_ * 3 / 4 : framePeriod_;
    const uint64_t now = SDL_GetPerformanceCounter();
    if (now < nextFrame_) {
        SDL_Delay(static_cast<Uint32>((nextFrame_ - now) * 1000 / SDL_GetPerformanceFrequency()));
        nextFrame_ += period;
    } else {
        nextFrame_ = now + period;
    }
}

}  // namespace platform
