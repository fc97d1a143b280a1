// SPDX-License-Identifier: GPL-3.0-or-later
// The window icon: the big Irone's first 320 x 320 cell of the built-in pictures, its black made
// transparent and scaled down, as the icon generator does for the desktop icons.
#include "platform/sdl/window_icon.h"

#include <SDL.h>

#include <vector>

#include "platform/resources.h"

namespace platform {

namespace {

constexpr int kCell = 320;
constexpr int kIconSize = 64;

}  // namespace

void SetWindowIcon(SDL_Window* window) {
    const std::vector<uint8_t> bytes = EmbeddedBitmap("Irone0.bmp");
    SDL_Surface* picture = SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
    if (!picture) return;
    SDL_Surface* cell = SDL_CreateRGBSurfaceWithFormat(0, kCell, kCell, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, kIconSize, kIconSize, 32, SDL_PIXELFORMAT_ARGB8888);
    if (cell && icon) {
        SDL_SetColorKey(picture, SDL_TRUE, SDL_MapRGB(picture->format, 0, 0, 0));
        SDL_FillRect(cell, nullptr, 0);
        SDL_Rect source{0, 0, kCell, kCell};
        SDL_BlitSurface(picture, &source, cell, nullptr);
        if (SDL_SoftStretchLinear(cell, nullptr, icon, nullptr) == 0) SDL_SetWindowIcon(window, icon);
    }
    SDL_FreeSurface(icon);
    SDL_FreeSurface(cell);
    SDL_FreeSurface(picture);
}

}  // namespace platform
