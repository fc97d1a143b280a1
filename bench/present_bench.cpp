// SPDX-License-Identifier: GPL-3.0-or-later
// What presenting one frame costs: our RGB565 to XRGB8888 conversion (baseline and AVX2 builds)
// against a lookup table and SDL's converter; the whole scaled present on SDL's software renderer
// with our conversion against SDL's own RGB565 texture path; and the present of each scaling onto
// a 1366 x 768, 1920 x 1080 and 2560 x 1440 screen, SDL's software renderer against our own
// present into the window's surface, both against a plain copy of that screen's bytes
// (bench/present_ratios.py prints the ratios of one run).
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <stdexcept>
#include <vector>

#include "platform/sdl/picture_layout.h"
#include "platform/sdl/picture_presenter.h"
#include "platform/sdl/picture_scaler.h"
#include "platform/sdl/pixel_conversion.h"
#include "platform/surface.h"

namespace {

constexpr int kW = 640, kH = 480;

// A frame with every kind of colour, not just black.
const platform::Surface& sampleFrame() {
    static platform::Surface frame = [] {
        platform::Surface s(kW, kH);
        std::mt19937 rng(7);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) s.row(y)[x] = static_cast<uint16_t>(rng());
        return s;
    }();
    return frame;
}

void BM_ConvertOurs(benchmark::State& state) {
    std::vector<uint32_t> out(kW * kH);
    for (auto _ : state) {
        platform::ConvertToXrgb8888(sampleFrame(), reinterpret_cast<uint8_t*>(out.data()), kW * 4);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_ConvertOurs)->Unit(benchmark::kMicrosecond);

void convertWith(benchmark::State& state, void (*convert)(const platform::Surface&, uint8_t*, size_t)) {
    std::vector<uint32_t> out(kW * kH);
    for (auto _ : state) {
        convert(sampleFrame(), reinterpret_cast<uint8_t*>(out.data()), kW * 4);
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_ConvertBaseline(benchmark::State& state) { convertWith(state, platform::ConvertToXrgb8888Baseline); }
BENCHMARK(BM_ConvertBaseline)->Unit(benchmark::kMicrosecond);

void BM_ConvertAvx2(benchmark::State& state) {
    if (!platform::Avx2ConversionAvailable()) {
        state.SkipWithError("this processor has no AVX2");
        return;
    }
    convertWith(state, platform::ConvertToXrgb8888Avx2);
}
BENCHMARK(BM_ConvertAvx2)->Unit(benchmark::kMicrosecond);

void BM_ConvertLookupTable(benchmark::State& state) {
    static std::vector<uint32_t> table = [] {
        std::vector<uint32_t> t(65536);
        for (uint32_t p = 0; p < 65536; ++p) t[p] = platform::Rgb565ToXrgb8888(static_cast<uint16_t>(p));
        return t;
    }();
    std::vector<uint32_t> out(kW * kH);
    const uint16_t* in = sampleFrame().data();
    for (auto _ : state) {
        for (int i = 0; i < kW * kH; ++i) out[i] = table[in[i]];
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_ConvertLookupTable)->Unit(benchmark::kMicrosecond);

void BM_ConvertSdl(benchmark::State& state) {
    std::vector<uint32_t> out(kW * kH);
    for (auto _ : state) {
        SDL_ConvertPixels(kW, kH, SDL_PIXELFORMAT_RGB565, sampleFrame().data(), kW * 2, SDL_PIXELFORMAT_XRGB8888,
                          out.data(), kW * 4);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_ConvertSdl)->Unit(benchmark::kMicrosecond);

// The floor: moving the bytes of one converted frame.
void BM_CopyFrameBytes(benchmark::State& state) {
    std::vector<uint32_t> in(kW * kH, 0x123456), out(kW * kH);
    for (auto _ : state) {
        std::memcpy(out.data(), in.data(), in.size() * 4);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_CopyFrameBytes)->Unit(benchmark::kMicrosecond);

// One present at scale 2 on SDL's software renderer, drawing into a 1280 x 960 surface.
void presentOnSoftwareRenderer(benchmark::State& state, bool ourConversion) {
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, kW * 2, kH * 2, 32, SDL_PIXELFORMAT_XRGB8888);
    SDL_Renderer* renderer = target ? SDL_CreateSoftwareRenderer(target) : nullptr;
    if (!renderer) throw std::runtime_error(SDL_GetError());
    SDL_Texture* texture =
        SDL_CreateTexture(renderer, ourConversion ? SDL_PIXELFORMAT_XRGB8888 : SDL_PIXELFORMAT_RGB565,
                          SDL_TEXTUREACCESS_STREAMING, kW, kH);
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    const SDL_Rect dst{0, 0, kW * 2, kH * 2};
    for (auto _ : state) {
        if (ourConversion) {
            void* pixels;
            int pitch;
            SDL_LockTexture(texture, nullptr, &pixels, &pitch);
            platform::ConvertToXrgb8888(sampleFrame(), static_cast<uint8_t*>(pixels), static_cast<size_t>(pitch));
            SDL_UnlockTexture(texture);
        } else {
            SDL_UpdateTexture(texture, nullptr, sampleFrame().data(), kW * 2);
        }
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, &dst);
        SDL_RenderPresent(renderer);
        benchmark::DoNotOptimize(target->pixels);
    }
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(target);
}

void BM_PresentOurConversion(benchmark::State& state) { presentOnSoftwareRenderer(state, true); }
BENCHMARK(BM_PresentOurConversion)->Unit(benchmark::kMicrosecond);

void BM_PresentSdlRgb565Texture(benchmark::State& state) { presentOnSoftwareRenderer(state, false); }
BENCHMARK(BM_PresentSdlRgb565Texture)->Unit(benchmark::kMicrosecond);

// Screens of 1366 x 768, 1920 x 1080 and 2560 x 1440 (the scaling is the first argument).
void screenSizes(benchmark::internal::Benchmark* b) {
    for (int scaling = 0; scaling < 3; ++scaling)
        for (auto [w, h] : {std::pair{1366, 768}, std::pair{1920, 1080}, std::pair{2560, 1440}})
            b->Args({scaling, w, h});
    b->ArgNames({"scaling", "w", "h"});
}

const platform::Scaling kScalings[] = {platform::Scaling::Integer, platform::Scaling::Sharp, platform::Scaling::Smooth};

// SDL's own way: the converted frame in a streaming texture, scaled by SDL's software renderer.
void BM_PresentSdl(benchmark::State& state) {
    const platform::Scaling scaling = kScalings[state.range(0)];
    const int w = static_cast<int>(state.range(1)), h = static_cast<int>(state.range(2));
    SDL_Surface* screen = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_XRGB8888);
    SDL_Renderer* renderer = screen ? SDL_CreateSoftwareRenderer(screen) : nullptr;
    if (!renderer) throw std::runtime_error(SDL_GetError());
    {
        platform::PicturePresenter presenter(renderer, scaling);
        const platform::PictureRect picture = platform::FitPicture(w, h, scaling);
        for (auto _ : state) {
            presenter.Upload(sampleFrame());
            presenter.Draw(picture, w, h);
            SDL_RenderPresent(renderer);
            benchmark::DoNotOptimize(screen->pixels);
        }
    }
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(screen);
}
BENCHMARK(BM_PresentSdl)->Apply(screenSizes)->Unit(benchmark::kMicrosecond);

// Ours: converted and scaled in one pass into the picture's rectangle of the window's surface.
void presentOwn(benchmark::State& state, platform::ScalerBuild build) {
    if (build == platform::ScalerBuild::Avx2 && !platform::Avx2ScalerAvailable()) {
        state.SkipWithError("this processor has no AVX2");
        return;
    }
    const platform::Scaling scaling = kScalings[state.range(0)];
    const int w = static_cast<int>(state.range(1)), h = static_cast<int>(state.range(2));
    std::vector<uint32_t> screen(static_cast<size_t>(w) * h);
    const platform::PictureRect picture = platform::FitPicture(w, h, scaling);
    platform::PictureScaler scaler(scaling, kW, kH, picture.w, picture.h);
    uint8_t* topLeft = reinterpret_cast<uint8_t*>(screen.data() + static_cast<size_t>(picture.y) * w + picture.x);
    for (auto _ : state) {
        scaler.Draw(sampleFrame(), topLeft, static_cast<size_t>(w) * 4, build);
        benchmark::DoNotOptimize(screen.data());
    }
}

void BM_PresentOwn(benchmark::State& state) { presentOwn(state, platform::ScalerBuild::Best); }
BENCHMARK(BM_PresentOwn)->Apply(screenSizes)->Unit(benchmark::kMicrosecond);

void BM_PresentOwnBaseline(benchmark::State& state) { presentOwn(state, platform::ScalerBuild::Baseline); }
BENCHMARK(BM_PresentOwnBaseline)->Apply(screenSizes)->Unit(benchmark::kMicrosecond);

// The floor for a present: copying the bytes of the whole screen once.
void BM_CopyScreenBytes(benchmark::State& state) {
    const size_t n = static_cast<size_t>(state.range(0)) * state.range(1);
    std::vector<uint32_t> in(n, 0x123456), out(n);
    for (auto _ : state) {
        std::memcpy(out.data(), in.data(), n * 4);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_CopyScreenBytes)
    ->Args({1366, 768})
    ->Args({1920, 1080})
    ->Args({2560, 1440})
    ->ArgNames({"w", "h"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
