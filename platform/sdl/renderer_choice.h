// SPDX-License-Identifier: GPL-3.0-or-later
// What draws the window: the SDL renderer the player names, or SDL's first choice unless that is
// OpenGL drawn by the processor (llvmpipe, softpipe, swrast), where drawing on the processor
// ourselves does the same work for a fraction of the time. Where SDL's software renderer is named
// or chosen and the window has a surface of its own, no renderer is made at all: the picture goes
// straight into that surface, and no 3-D engine stands behind it.
#pragma once

#include <string>
#include <string_view>

struct SDL_Window;
struct SDL_Renderer;

namespace platform {

// The video drivers whose windows have a surface in plain memory that SDL shows without a GPU.
bool WindowHasOwnSurface();

// Tells Mesa's processor-drawn OpenGL to start none of its threads and to keep no shader cache
// (a GPU's driver does not read these); a setting the player made stays.
void QuietenProcessorOpenGl();

// True when the renderer draws on the processor: SDL's software renderer or processor-drawn OpenGL.
bool DrawsOnTheProcessor(SDL_Renderer* renderer);

// True for the OpenGL renderer names of Mesa's processor-drawn drivers.
bool IsSoftwareOpenGl(std::string_view glRenderer);

// The renderer for `window`, or nullptr with the reason in `error`. An empty name chooses.
SDL_Renderer* CreateRendererFor(SDL_Window* window, const std::string& name, bool vsync, std::string& error);

struct DrawingChoice {
    SDL_Renderer* renderer = nullptr;  // owned by the caller
    bool windowSurface = false;        // no renderer: draw into the window's own surface
    std::string error;                 // why neither
};

// Decides before anything has asked for the window's surface, so that SDL keeps it in plain
// memory (without the framebuffer hint, SDL copies it through an OpenGL texture again). An empty
// name chooses.
DrawingChoice ChooseDrawing(SDL_Window* window, const std::string& name, bool vsync);

}  // namespace platform
