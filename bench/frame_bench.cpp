// SPDX-License-Identifier: GPL-3.0-or-later
// What one busy game frame of copies costs: our blit family against SDL's own software blitter
// (plain and RLE-accelerated colour keys) and against one memcpy of the bytes the frame moves.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/surface.h"

namespace {

struct Copy {
    int sprite;  // index into the sprite list
    int x, y;
    bool keyed;
};

struct SpriteSize {
    int w, h;
};

// Sizes of a busy frame: nebulae, planets, moons and stations, boards with their Irones,
// Raumtanks, fragments, satellites, explosion, floating digits, the pointer and the cockpit.
const std::vector<SpriteSize> kSizes = {
    {375, 420}, {150, 250}, {300, 330}, {300, 350},  // 0..3 nebulae
    {100, 100}, {200, 200}, {150, 150}, {160, 160},
    {120, 120}, {180, 180},  // 4..9 planets
    {50, 50},   {150, 23},  {52, 42},   {108, 17},
    {37, 30},   {66, 10},  // 10 moon, 11..16 boards and Irones
    {23, 20},   {28, 70},   {25, 25},   {120, 100},
    {100, 120}, {50, 50},  // 17 tank 18 fragment 19,20 sats 21 expl.
    {20, 20},   {41, 25},   {640, 32},  {98, 320},
    {640, 128}, {275, 47},  // 22 digit 23 pointer 24..26 cockpit 27 castle
};

std::vector<Copy> busyFrame() {
    std::vector<Copy> c;
    auto add = [&](int s, int n, int x0, int y0, int dx, int dy, bool keyed = true) {
        for (int i = 0; i < n; ++i) c.push_back({s, x0 + dx * i % 520, y0 + dy * i % 300, keyed});
    };
    add(0, 1, 40, 30, 0, 0);
    add(1, 1, 300, 60, 0, 0);
    add(2, 1, 200, 40, 0, 0);
    add(3, 1, 100, 50, 0, 0);
    for (int p = 4; p <= 9; ++p) add(p, 1, 40 + 70 * (p - 4), 40 + 20 * (p - 4), 0, 0);
    add(27, 3, 60, 40, 150, 90);
    add(10, 15, 40, 40, 37, 23);
    add(11, 15, 50, 60, 31, 19);
    add(12, 15, 80, 50, 31, 19);
    add(13, 12, 60, 90, 41, 17);
    add(14, 12, 90, 80, 41, 17);
    add(15, 8, 70, 120, 53, 29);
    add(16, 8, 90, 110, 53, 29);
    add(17, 9, 40, 100, 57, 13);
    add(18, 15, 50, 60, 43, 31);
    add(19, 1, 300, 200, 0, 0);
    add(20, 1, 400, 100, 0, 0);
    add(21, 1, 250, 150, 0, 0);
    add(22, 10, 300, 200, 20, 0);
    add(23, 1, 300, 220, 0, 0);
    c.push_back({24, 0, 0, true});
    c.push_back({25, 0, 30, true});
    c.push_back({25, 542, 30, true});
    c.push_back({26, 0, 352, true});
    for (int i = 0; i < 6; ++i) c.push_back({22, 100 + 20 * i, 400, false});  // counters
    return c;
}

// Sprite content: a disc of colour on the key, so about a fifth to a half of the pixels are keyed.
void fillSprite(uint16_t* p, int pitch, int w, int h, int seed) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double dx = (x + 0.5) / w - 0.5, dy = (y + 0.5) / h - 0.5;
            p[y * pitch + x] = dx * dx + dy * dy < 0.23 ? static_cast<uint16_t>(0x1234 + seed * 77 + x * 3 + y) : 0;
        }
}

struct Scene {
    std::vector<Copy> copies = busyFrame();
    std::vector<platform::Surface> ours;
    std::vector<SDL_Surface*> sdl;
    size_t bytesMoved = 0;

    explicit Scene(bool rle) {
        for (size_t i = 0; i < kSizes.size(); ++i) {
            auto [w, h] = kSizes[i];
            ours.emplace_back(w, h);
            fillSprite(ours.back().data(), w, w, h, static_cast<int>(i));
            SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 16, SDL_PIXELFORMAT_RGB565);
            for (int y = 0; y < h; ++y)
                std::memcpy(static_cast<uint8_t*>(s->pixels) + y * s->pitch, ours.back().row(y), w * 2);
            SDL_SetColorKey(s, SDL_TRUE, 0);
            if (rle) SDL_SetSurfaceRLE(s, 1);
            sdl.push_back(s);
        }
        for (const Copy& c : copies) {
            auto [w, h] = kSizes[c.sprite];
            bytesMoved += static_cast<size_t>(clipW(c.x, w)) * clipH(c.y, h) * 2;
        }
        bytesMoved += 640 * 480 * 2;
    }
    ~Scene() {
        for (SDL_Surface* s : sdl) SDL_FreeSurface(s);
    }
    static int clipW(int x, int w) { return std::max(0, std::min(640, x + w) - std::max(0, x)); }
    static int clipH(int y, int h) { return std::max(0, std::min(480, y + h) - std::max(0, y)); }
};

void drawOurs(Scene& s, platform::Surface& back) {
    back.BltColorFill(platform::Rect{0, 0, 640, 480}, 0);
    for (const Copy& c : s.copies) {
        const platform::Surface& src = s.ours[c.sprite];
        const int w = Scene::clipW(c.x, src.width()), h = Scene::clipH(c.y, src.height());
        back.BltFast(c.x, c.y, src, platform::Rect{0, 0, w, h}, c.keyed);
    }
}

void drawSdl(Scene& s, SDL_Surface* back) {
    SDL_FillRect(back, nullptr, 0);
    for (const Copy& c : s.copies) {
        SDL_Surface* src = s.sdl[c.sprite];
        SDL_SetColorKey(src, c.keyed ? SDL_TRUE : SDL_FALSE, 0);
        SDL_Rect d{c.x, c.y, 0, 0};
        SDL_BlitSurface(src, nullptr, back, &d);
    }
}

void BM_OurBlitFamily(benchmark::State& state) {
    Scene scene(false);
    platform::Surface back(640, 480);
    for (auto _ : state) {
        drawOurs(scene, back);
        benchmark::DoNotOptimize(back.data());
    }
    state.counters["MB/frame"] = scene.bytesMoved / 1e6;
}

void sdlBench(benchmark::State& state, bool rle) {
    Scene scene(rle);
    SDL_Surface* back = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 16, SDL_PIXELFORMAT_RGB565);
    platform::Surface ours(640, 480);
    drawOurs(scene, ours);
    drawSdl(scene, back);
    // Both must give the same picture, or the comparison means nothing.
    for (int y = 0; y < 480; ++y)
        if (std::memcmp(static_cast<uint8_t*>(back->pixels) + y * back->pitch, ours.row(y), 1280) != 0) {
            state.SkipWithError("SDL's frame differs from ours");
            break;
        }
    for (auto _ : state) {
        drawSdl(scene, back);
        benchmark::DoNotOptimize(back->pixels);
    }
    SDL_FreeSurface(back);
}

void BM_SdlBlitSurface(benchmark::State& state) { sdlBench(state, false); }
void BM_SdlBlitSurfaceRle(benchmark::State& state) { sdlBench(state, true); }

void BM_MemcpyFloor(benchmark::State& state) {
    Scene scene(false);
    std::vector<uint8_t> from(scene.bytesMoved), to(scene.bytesMoved);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size());
        benchmark::DoNotOptimize(to.data());
    }
}

}  // namespace

BENCHMARK(BM_OurBlitFamily)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SdlBlitSurface)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SdlBlitSurfaceRle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemcpyFloor)->Unit(benchmark::kMicrosecond);
