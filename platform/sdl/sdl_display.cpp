// The SDL window, renderer and streaming texture, and presenting one picture per flip.
#include "platform/sdl/sdl_display.h"

#include <SDL.h>

#include <algorithm>
#include <stdexcept>

#include "platform/sdl/pixel_conversion.h"

namespace platform {

namespace {

constexpr int kDefaultScale = 2;

// The default window scale, made smaller on a desktop that cannot hold it.
int defaultScale() {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return kDefaultScale;
    int scale = kDefaultScale;
    while (scale > 1 && (kPictureWidth * scale > usable.w || kPictureHeight * scale > usable.h)) --scale;
    return scale;
}

}  // namespace

void SdlDisplay::Deleter::operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
void SdlDisplay::Deleter::operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
void SdlDisplay::Deleter::operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }

SdlDisplay::SdlDisplay(const SdlOptions& options) {
    const int scale = options.scale > 0 ? options.scale : defaultScale();
    const Uint32 flags = SDL_WINDOW_RESIZABLE | (options.window ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    window_.reset(SDL_CreateWindow("Vorlanix", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kPictureWidth * scale,
                                   kPictureHeight * scale, flags));
    if (!window_) throw DisplayError(false, SDL_GetError());
    SDL_SetWindowMinimumSize(window_.get(), kPictureWidth / 2, kPictureHeight / 2);

    renderer_.reset(SDL_CreateRenderer(window_.get(), -1, options.vsync ? SDL_RENDERER_PRESENTVSYNC : 0));
    if (!renderer_) renderer_.reset(SDL_CreateRenderer(window_.get(), -1, 0));
    if (!renderer_) throw DisplayError(false, SDL_GetError());
    SDL_RendererInfo info;
    vsync_ = SDL_GetRendererInfo(renderer_.get(), &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC);

    texture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING,
                                     kPictureWidth, kPictureHeight));
    if (!texture_) throw DisplayError(false, SDL_GetError());
    SDL_SetTextureScaleMode(texture_.get(), SDL_ScaleModeNearest);
    Relayout();
}

SdlDisplay::~SdlDisplay() = default;

bool SdlDisplay::fullscreen() const { return (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_FULLSCREEN) != 0; }

bool SdlDisplay::visible() const {
    return (SDL_GetWindowFlags(window_.get()) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0;
}

void SdlDisplay::ToggleFullscreen() {
    SDL_SetWindowFullscreen(window_.get(), fullscreen() ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    Relayout();
}

void SdlDisplay::Relayout() {
    int outW = 0, outH = 0, winW = 0, winH = 0;
    SDL_GetWindowSize(window_.get(), &winW, &winH);
    if (SDL_GetRendererOutputSize(renderer_.get(), &outW, &outH) != 0) {
        outW = winW;
        outH = winH;
    }
    picture_ = FitPicture(outW, outH);
    pixelsPerPoint_ = winW > 0 && outW > 0 ? static_cast<double>(outW) / winW : 1.0;

    SDL_DisplayMode mode;
    const int display = SDL_GetWindowDisplayIndex(window_.get());
    const int refresh =
        display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0 ? mode.refresh_rate : 60;
    framePeriod_ = SDL_GetPerformanceFrequency() / static_cast<uint64_t>(refresh);
}

void SdlDisplay::Present(const Surface& back) {
    if (back.width() != kPictureWidth || back.height() != kPictureHeight)
        throw std::invalid_argument("the back buffer must be 640 x 480");
    // A minimised window shows nothing; only the frame rate is kept, so a loop that goes on
    // drawing does not spin.
    if (!visible()) {
        waitForFrameTime(false);
        return;
    }
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_.get(), nullptr, &pixels, &pitch) != 0)
        throw std::runtime_error(std::string("cannot show the frame: ") + SDL_GetError());
    ConvertToXrgb8888(back, static_cast<uint8_t*>(pixels), static_cast<size_t>(pitch));
    SDL_UnlockTexture(texture_.get());

    SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
    SDL_RenderClear(renderer_.get());
    const SDL_Rect dst{picture_.x, picture_.y, picture_.w, picture_.h};
    SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, &dst);
    waitForFrameTime(true);
    SDL_RenderPresent(renderer_.get());
    noteFrameInterval();
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
