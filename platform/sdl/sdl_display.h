// The window, renderer and streaming texture that show the 640 x 480 picture, scaled by whole
// factors and letterboxed, presented in step with the display.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/sdl/picture_layout.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/surface.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace platform {

class SdlDisplay {
public:
    // Opens the window; throws DisplayError with SDL's reason when that fails.
    explicit SdlDisplay(const SdlOptions& options);
    ~SdlDisplay();
    SdlDisplay(const SdlDisplay&) = delete;
    SdlDisplay& operator=(const SdlDisplay&) = delete;

    // Shows a 640 x 480 frame and, where vsync does not hold us back, waits for the next frame time.
    void Present(const Surface& back);
    void ToggleFullscreen();
    // Recomputes the picture's place after the window changed size or moved to another display.
    void Relayout();

    bool fullscreen() const;
    // False while minimised or hidden.
    bool visible() const;
    SDL_Window* window() const { return window_.get(); }
    const PictureRect& picture() const { return picture_; }
    // Output pixels per window coordinate (above 1 on high-density outputs).
    double pixelsPerPoint() const { return pixelsPerPoint_; }

private:
    void waitForFrameTime(bool presenting);
    void noteFrameInterval();

    struct Deleter {
        void operator()(SDL_Window* w) const;
        void operator()(SDL_Renderer* r) const;
        void operator()(SDL_Texture* t) const;
    };
    std::unique_ptr<SDL_Window, Deleter> window_;
    std::unique_ptr<SDL_Renderer, Deleter> renderer_;
    std::unique_ptr<SDL_Texture, Deleter> texture_;
    PictureRect picture_;
    double pixelsPerPoint_ = 1;
    bool vsync_ = false;  // the present waits for the display
    int measuredFrames_ = 0;     // frames and their time since the last check of the vsync
    uint64_t measuredTime_ = 0;
    uint64_t framePeriod_ = 0;  // performance-counter ticks per display refresh
    uint64_t nextFrame_ = 0;
    uint64_t lastPresent_ = 0;
};

}  // namespace platform
