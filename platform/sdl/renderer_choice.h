// Which SDL renderer draws the window: the one the player names, or SDL's first choice unless
// that is OpenGL drawn by the processor (llvmpipe, softpipe, swrast), where SDL's own software
// renderer does the same work for a fraction of the time.
#pragma once

#include <string>
#include <string_view>

struct SDL_Window;
struct SDL_Renderer;

namespace platform {

// True for the OpenGL renderer names of Mesa's processor-drawn drivers.
bool IsSoftwareOpenGl(std::string_view glRenderer);

// The renderer for `window`, or nullptr with the reason in `error`. An empty name chooses.
SDL_Renderer* CreateRendererFor(SDL_Window* window, const std::string& name, bool vsync, std::string& error);

}  // namespace platform
