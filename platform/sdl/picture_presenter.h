// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the 640 x 480 picture into its rectangle of a renderer's output in one of the three
// scalings: the frame converted into a streaming texture, and for the sharp scaling enlarged by
// a whole factor into a target texture first, which is then filtered to the rectangle.
#pragma once

#include <memory>

#include "platform/sdl/picture_layout.h"
#include "platform/surface.h"

struct SDL_Renderer;
struct SDL_Texture;

namespace platform {

class PicturePresenter {
  public:
    // Throws std::runtime_error with SDL's reason when the textures cannot be made.
    PicturePresenter(SDL_Renderer* renderer, Scaling scaling);
    ~PicturePresenter();
    PicturePresenter(const PicturePresenter&) = delete;
    PicturePresenter& operator=(const PicturePresenter&) = delete;

    // Converts the frame into the texture (the pixels, nothing else).
    void Upload(const Surface& back);
    // Draws the last uploaded frame into `picture` of an output of the given size. The bars
    // beside it are cleared to black; an output the picture covers is not cleared at all.
    void Draw(const PictureRect& picture, int outputWidth, int outputHeight);

  private:
    struct Deleter {
        void operator()(SDL_Texture* t) const;
    };
    void prepareSharpTarget(int factor);

    SDL_Renderer* renderer_;
    Scaling scaling_;
    std::unique_ptr<SDL_Texture, Deleter> frame_;
    std::unique_ptr<SDL_Texture, Deleter> enlarged_;  // the sharp scaling's whole-factor picture
    int enlargedFactor_ = 0;
    bool enlargedCurrent_ = false;  // holds the last uploaded frame
};

}  // namespace platform
