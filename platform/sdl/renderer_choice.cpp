// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing and creating the window's renderer.
#include "platform/sdl/renderer_choice.h"

#include <SDL.h>

#include "platform/sdl/first_choice_probe.h"

#include <cstdlib>
#include <optional>

namespace platform {

namespace {

constexpr unsigned kGlRenderer = 0x1F01;

int driverIndex(std::string_view name) {
    for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
        SDL_RendererInfo info;
        if (SDL_GetRenderDriverInfo(i, &info) == 0 && name == info.name) return i;
    }
    return -1;
}

std::string driverNames() {
    std::string names;
    for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
        SDL_RendererInfo info;
        if (SDL_GetRenderDriverInfo(i, &info) != 0) continue;
        names += names.empty() ? "" : ", ";
        names += info.name;
    }
    return names;
}

// The OpenGL renderer's name as the driver reports it, read while SDL's GL context is current.
std::string openGlRendererName(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || std::string_view(info.name).find("opengl") != 0) return {};
    using GetString = const unsigned char* (*)(unsigned);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = getString ? getString(kGlRenderer) : nullptr;
    return name ? reinterpret_cast<const char*>(name) : "";
}

}  // namespace

bool WindowHasOwnSurface() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    for (std::string_view own : {"x11", "windows", "offscreen", "dummy"})
        if (own == driver) return true;
    return false;
}

namespace {

// While SDL's first choice is tried, Mesa's OpenGL on the processor starts none of its threads
// (the rasterizer's and the shader cache's): they would stay for the whole run, although the
// choice then falls on our own drawing. A GPU's driver does not read these.
constexpr const char* kQuietSettings[][2] = {{"LP_NUM_THREADS", "0"}, {"MESA_SHADER_CACHE_DISABLE", "true"}};

class QuietProcessorOpenGl {
  public:
    QuietProcessorOpenGl() {
        for (int i = 0; i < 2; ++i) {
            settings_[i].name = kQuietSettings[i][0];
            // The player's own setting stays.
            if (!std::getenv(settings_[i].name))
                settings_[i].ours = setenv(settings_[i].name, kQuietSettings[i][1], 0) == 0;
        }
    }
    ~QuietProcessorOpenGl() {
        for (const Setting& s : settings_)
            if (s.ours) unsetenv(s.name);
    }
    QuietProcessorOpenGl(const QuietProcessorOpenGl&) = delete;
    QuietProcessorOpenGl& operator=(const QuietProcessorOpenGl&) = delete;

  private:
    struct Setting {
        const char* name = nullptr;
        bool ours = false;
    };
    Setting settings_[2];
};

DrawingChoice ownSurface() {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return {nullptr, true, {}};
}

std::string rendererName(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    return SDL_GetRendererInfo(renderer, &info) == 0 ? info.name : "";
}

SDL_Renderer* create(SDL_Window* window, int index, bool vsync) {
    SDL_Renderer* r = SDL_CreateRenderer(window, index, vsync ? SDL_RENDERER_PRESENTVSYNC : 0);
    // Some drivers refuse vsync outright; a renderer that does not wait is still a renderer.
    return r || !vsync ? r : SDL_CreateRenderer(window, index, 0);
}

}  // namespace

void QuietenProcessorOpenGl() {
    for (const auto& setting : kQuietSettings) setenv(setting[0], setting[1], 0);
}

bool DrawsOnTheProcessor(SDL_Renderer* renderer) {
    return rendererName(renderer) == "software" || IsSoftwareOpenGl(openGlRendererName(renderer));
}

bool IsSoftwareOpenGl(std::string_view glRenderer) {
    for (std::string_view soft : {"llvmpipe", "softpipe", "swrast"})
        if (glRenderer.find(soft) != std::string_view::npos) return true;
    return false;
}

SDL_Renderer* CreateRendererFor(SDL_Window* window, const std::string& name, bool vsync, std::string& error) {
    if (!name.empty()) {
        const int index = driverIndex(name);
        if (index < 0) {
            error = "no render driver \"" + name + "\" (there are: " + driverNames() + ")";
            return nullptr;
        }
        SDL_Renderer* r = create(window, index, vsync);
        if (!r) error = SDL_GetError();
        return r;
    }
    SDL_Renderer* r = create(window, -1, vsync);
    if (r && IsSoftwareOpenGl(openGlRendererName(r))) {
        const int software = driverIndex("software");
        if (software >= 0) {
            SDL_DestroyRenderer(r);
            r = create(window, software, vsync);
        }
    }
    if (!r) error = SDL_GetError();
    return r;
}

DrawingChoice ChooseDrawing(SDL_Window* window, const std::string& name, bool vsync) {
    const bool ownSurfaceAvailable = WindowHasOwnSurface();
    if (ownSurfaceAvailable &&
        (name == "software" || (name.empty() && driverIndex("software") >= 0 && SDL_GetNumRenderDrivers() == 1))) {
        StopAskingFirstChoice();
        return ownSurface();
    }
    if (!name.empty() || !ownSurfaceAvailable) {
        StopAskingFirstChoice();
        DrawingChoice choice;
        choice.renderer = CreateRendererFor(window, name, vsync, choice.error);
        return choice;
    }
    // Asked in a child process, the answer leaves no OpenGL library in this one.
    if (FirstChoiceAnswer() == FirstChoice::OnTheProcessor) return ownSurface();
    std::optional<QuietProcessorOpenGl> quiet(std::in_place);
    SDL_Renderer* r = create(window, -1, vsync);
    quiet.reset();
    if (!r) return {nullptr, false, SDL_GetError()};
    if (DrawsOnTheProcessor(r)) {
        SDL_DestroyRenderer(r);
        return ownSurface();
    }
    return {r, false, {}};
}

}  // namespace platform
