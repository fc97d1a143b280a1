// SPDX-License-Identifier: GPL-3.0-or-later
// Shows the picture without any renderer where SDL's software renderer would draw it: converted
// and scaled by our own code straight into the window's own surface, of which only the picture's
// rectangle goes to the screen each frame (the black bars once, after each change of size).
#pragma once

#include <memory>
#include <optional>

#include "platform/sdl/picture_layout.h"
#include "platform/sdl/picture_scaler.h"
#include "platform/surface.h"

struct SDL_Window;
struct SDL_Surface;

namespace platform {

class WindowSurfacePresenter {
  public:
    WindowSurfacePresenter(SDL_Window* window, Scaling scaling);
    ~WindowSurfacePresenter();
    WindowSurfacePresenter(const WindowSurfacePresenter&) = delete;
    WindowSurfacePresenter& operator=(const WindowSurfacePresenter&) = delete;

    // The size of the window's surface in pixels: SDL makes the surface anew after the window
    // changed size, so this is the size that the next frame is drawn at. False when there is none.
    bool OutputSize(int& width, int& height);
    // Draws the frame into `picture` of the window's surface and shows it. False when the
    // surface is gone or has another size than the picture was placed in (place it anew then).
    bool Draw(const Surface& back, const PictureRect& picture);
    // Shows the surface again as it stands (the window's contents were lost).
    void Repaint();
    // The window changed: the next frame clears the bars and shows the whole surface, as SDL
    // may have made the surface anew where the old one was.
    void ShowWholeNext() { wholePending_ = true; }

  private:
    struct SurfaceDeleter {
        void operator()(SDL_Surface* s) const;
    };

    SDL_Window* window_;
    Scaling scaling_;
    std::optional<PictureScaler> scaler_;
    // Where the window's surface has a pixel format of another kind: the picture is drawn here
    // and converted by SDL.
    std::unique_ptr<SDL_Surface, SurfaceDeleter> staging_;
    SDL_Surface* drawnOn_ = nullptr;  // the surface the bars were cleared on
    PictureRect drawnAt_{-1, -1, 0, 0};
    bool wholePending_ = true;
};

}  // namespace platform
