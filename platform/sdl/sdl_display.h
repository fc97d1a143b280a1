// SPDX-License-Identifier: GPL-3.0-or-later
// The window and renderer that show the 640 x 480 picture, scaled as the player chose and
// letterboxed, presented in step with the display and never faster than it refreshes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/sdl/picture_layout.h"
#include "platform/sdl/picture_presenter.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/window_surface_presenter.h"
#include "platform/surface.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Rect;

namespace platform {

class SdlDisplay {
  public:
    // Opens the window; throws DisplayError with SDL's reason when that fails.
    explicit SdlDisplay(const SdlOptions& options);
    ~SdlDisplay();
    SdlDisplay(const SdlDisplay&) = delete;
    SdlDisplay& operator=(const SdlDisplay&) = delete;

    // Shows a 640 x 480 frame and, where vsync does not hold us back, waits for the next frame
    // time. A frame equal to the one on screen is not drawn again.
    void Present(const Surface& back);
    void ToggleFullscreen();
    // Recomputes the picture's place after the window changed size or moved to another display.
    void Relayout();
    // The window's contents were lost (uncovered without a compositor): show the last frame again.
    void Repaint();
    // The renderer lost its textures (device or targets reset); Held() is false until they are made anew.
    void NoteRendererReset() { resetPending_ = renderer_ != nullptr; }
    // False once after a renderer reset, while the textures are made anew.
    bool Held();

    // Frames drawn on the screen so far (unchanged and hidden ones are not drawn).
    uint64_t framesShown() const { return framesShown_; }
    bool fullscreen() const;
    // False while minimised or hidden.
    bool visible() const;
    SDL_Window* window() const { return window_.get(); }
    const PictureRect& picture() const { return picture_; }
    // The picture's rectangle in window coordinates (for confining the system pointer to it).
    SDL_Rect pictureInWindow() const;
    // Output pixels per window coordinate (above 1 on high-density outputs).
    double pixelsPerPoint() const { return pixelsPerPoint_; }

  private:
    void show();
    // Covers the screen with the window before it goes fullscreen, keeping its place as a window.
    void enterFullscreen();
    void presentOnWindowSurface(const Surface& back);
    void waitForFrameTime(bool presenting);
    void noteFrameInterval();

    struct Deleter {
        void operator()(SDL_Window* w) const;
        void operator()(SDL_Renderer* r) const;
    };
    std::unique_ptr<SDL_Window, Deleter> window_;
    std::unique_ptr<SDL_Renderer, Deleter> renderer_;
    std::unique_ptr<PicturePresenter> presenter_;
    std::unique_ptr<WindowSurfacePresenter> surface_;  // instead of a renderer and presenter
    Scaling scaling_;
    PictureRect picture_;
    int outputW_ = 0, outputH_ = 0;
    int windowedX_ = 0, windowedY_ = 0, windowedW_ = 0, windowedH_ = 0;  // the window's place outside fullscreen
    double pixelsPerPoint_ = 1;
    std::vector<uint16_t> shown_;  // the frame on screen, to skip presenting an unchanged one
    bool redraw_ = true;           // the next frame is presented even when unchanged
    bool resetPending_ = false;
    bool vsync_ = false;      // the present waits for the display
    int measuredFrames_ = 0;  // frames and their time since the last check of the vsync
    uint64_t measuredTime_ = 0;
    uint64_t framePeriod_ = 0;  // performance-counter ticks per display refresh
    uint64_t nextFrame_ = 0;
    uint64_t lastPresent_ = 0;
    uint64_t framesShown_ = 0;
};

}  // namespace platform
