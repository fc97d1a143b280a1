// SPDX-License-Identifier: GPL-3.0-or-later
// What a screenshot costs the frame that takes it (a copy of the 640 x 480 frame) against what
// the worker thread pays to encode it as a PNG.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "platform/png_writer.h"
#include "platform/surface.h"

namespace {

constexpr int kW = 640, kH = 480;

// A frame with stars and noise compresses about as badly as a real one.
const platform::Surface& sampleFrame() {
    static platform::Surface frame = [] {
        platform::Surface s(kW, kH);
        std::mt19937 rng(11);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) s.row(y)[x] = static_cast<uint16_t>(rng() % 7 == 0 ? rng() : 0);
        return s;
    }();
    return frame;
}

void BM_ScreenshotCopyAtTheFlip(benchmark::State& state) {
    for (auto _ : state) {
        auto copy = std::make_unique<platform::Surface>(kW, kH);
        copy->BltFast(0, 0, sampleFrame(), platform::Rect{0, 0, kW, kH}, false);
        benchmark::DoNotOptimize(copy->data());
    }
}
BENCHMARK(BM_ScreenshotCopyAtTheFlip)->Unit(benchmark::kMicrosecond);

void BM_ScreenshotEncodeOnTheWorker(benchmark::State& state) {
    const auto file = std::filesystem::temp_directory_path() / "vorlanix-bench-screenshot.png";
    std::string error;
    for (auto _ : state) benchmark::DoNotOptimize(platform::WritePng(sampleFrame(), file, error));
    std::filesystem::remove(file);
}
BENCHMARK(BM_ScreenshotEncodeOnTheWorker)->Unit(benchmark::kMicrosecond);

}  // namespace
