// SPDX-License-Identifier: GPL-3.0-or-later
// The least an SDL program does to show a changing 640 x 480 RGB565 picture fullscreen, scaled
// with SDL's own means: the yardstick that bench/present_cpu.sh measures the game beside.
// Usage: vorlanix-present-reference RENDERER nearest|linear; runs until SIGTERM or SIGINT ends it,
// and prints the number of frames shown so far on SIGUSR1.
#include <SDL.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

volatile std::sig_atomic_t stop = 0, tell = 0;
extern "C" void onSignal(int) { stop = 1; }
extern "C" void onTell(int) { tell = 1; }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s RENDERER nearest|linear\n", argv[0]);
        return 2;
    }
    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);
    std::signal(SIGUSR1, onTell);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Window* window = SDL_CreateWindow("reference", 0, 0, 1280, 960, SDL_WINDOW_FULLSCREEN_DESKTOP);
    int index = -1;
    for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
        SDL_RendererInfo info;
        if (SDL_GetRenderDriverInfo(i, &info) == 0 && std::strcmp(info.name, argv[1]) == 0) index = i;
    }
    SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, index, SDL_RENDERER_PRESENTVSYNC) : nullptr;
    if (!renderer) {
        std::fprintf(stderr, "%s\n", SDL_GetError());
        return 1;
    }
    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, 640, 480);
    SDL_SetTextureScaleMode(texture, std::strcmp(argv[2], "linear") == 0 ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    SDL_RenderSetLogicalSize(renderer, 640, 480);
    std::vector<uint16_t> picture(640 * 480);
    const uint64_t period = SDL_GetPerformanceFrequency() / 60;
    uint64_t next = SDL_GetPerformanceCounter();
    uint32_t frame = 0;
    for (; !stop; ++frame) {
        if (tell) {
            tell = 0;
            std::printf("frames %u\n", frame);
            std::fflush(stdout);
        }
        SDL_Event e;
        while (SDL_PollEvent(&e))
            if (e.type == SDL_QUIT) stop = 1;
        for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint16_t>(i * 7 + frame * 131);
        SDL_UpdateTexture(texture, nullptr, picture.data(), 640 * 2);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
        next += period;
        const uint64_t now = SDL_GetPerformanceCounter();
        if (now < next)
            SDL_Delay(static_cast<Uint32>((next - now) * 1000 / SDL_GetPerformanceFrequency()));
        else
            next = now;
    }
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
