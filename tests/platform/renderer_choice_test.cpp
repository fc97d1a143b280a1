// SPDX-License-Identifier: GPL-3.0-or-later
// Which renderer draws the window when the player names none: SDL's own choice, except OpenGL
// drawn by the processor, which costs several times what SDL's software renderer does.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/sdl/renderer_choice.h"

using platform::CreateRendererFor;
using platform::IsSoftwareOpenGl;

TEST(RendererChoice, KnowsTheOpenGlDriversThatDrawOnTheProcessor) {
    const struct {
        const char* glRenderer;
        bool software;
    } cases[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
        {"softpipe", true},
        {"Mesa DRI swrast", true},
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
        {"AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)", false},  // LLVM, but a GPU
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsSoftwareOpenGl(c.glRenderer), c.software) << c.glRenderer;
}

namespace {

std::string rendererName(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    return SDL_GetRendererInfo(renderer, &info) == 0 ? info.name : "";
}

// The OpenGL renderer string behind an OpenGL (or OpenGL ES) SDL renderer; empty for others.
std::string glRendererBehind(SDL_Renderer* renderer) {
    if (rendererName(renderer).rfind("opengl", 0) != 0) return {};
    using GetString = const unsigned char* (*)(unsigned);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = getString ? getString(0x1F01) : nullptr;
    return name ? reinterpret_cast<const char*>(name) : "";
}

}  // namespace

TEST(RendererChoice, OpenGlOnTheProcessorGivesWayToTheSoftwareRenderer) {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_Window* window = SDL_CreateWindow("renderer choice", 0, 0, 64, 48, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr) << SDL_GetError();

    SDL_Renderer* sdlsOwn = SDL_CreateRenderer(window, -1, 0);
    ASSERT_NE(sdlsOwn, nullptr) << SDL_GetError();
    const std::string ownName = rendererName(sdlsOwn);
    const std::string glName = glRendererBehind(sdlsOwn);
    SDL_DestroyRenderer(sdlsOwn);

    std::string error;
    SDL_Renderer* chosen = CreateRendererFor(window, "", false, error);
    ASSERT_NE(chosen, nullptr) << error;
    if (IsSoftwareOpenGl(glName))
        EXPECT_EQ(rendererName(chosen), "software") << "SDL chose " << ownName << " on " << glName;
    else
        EXPECT_EQ(rendererName(chosen), ownName) << "SDL's own choice runs on " << glName;
    SDL_DestroyRenderer(chosen);

    // A driver the player names is taken as named, even the processor-drawn OpenGL.
    chosen = CreateRendererFor(window, ownName, false, error);
    ASSERT_NE(chosen, nullptr) << error;
    EXPECT_EQ(rendererName(chosen), ownName);
    SDL_DestroyRenderer(chosen);

    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
