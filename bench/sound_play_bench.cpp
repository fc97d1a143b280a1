// SPDX-License-Identifier: GPL-3.0-or-later
// What starting a sound copy costs on SDL2_mixer: playing once from where the copy stands (a view
// of the decoded sound) against looping from there (the sound turned round to begin at that
// point), for a sound as long as the music, which loops on from where the last game stopped it.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/sdl/sdl_platform.h"
#include "tests/support/wave_writer.h"

namespace {

namespace fs = std::filesystem;

// 42 seconds of quiet noise in the game's sound format.
void writeMusicLengthWave(const fs::path& path) {
    std::vector<int16_t> samples(22050u * 42u * 2);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>((i * 7919u) % 2001u) - 1000;
    testing_support::WriteStereoWave(path, 22050, samples);
}

// Starts and stops a music-length copy that stands part-way into its sound.
void startAndStop(benchmark::State& state, bool looping) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    auto p = platform::CreateSdlPlatform({});
    if (!p->CreateSoundDevice()) {
        state.SkipWithError("no audio device");
        return;
    }
    const fs::path wave = fs::temp_directory_path() / "vorlanix_bench_music.wav";
    writeMusicLengthWave(wave);
    auto copy = p->CreateSoundBuffer(wave, 2, 1);  // decoded into memory: the file can go
    fs::remove(wave);
    copy->Play(false);
    SDL_Delay(100);
    copy->Stop();
    for (auto _ : state) {
        copy->Play(looping);
        copy->Stop();
    }
}

void BM_PlayOnceFromThePosition(benchmark::State& state) { startAndStop(state, false); }
BENCHMARK(BM_PlayOnceFromThePosition)->Unit(benchmark::kMicrosecond);

void BM_LoopFromThePosition(benchmark::State& state) { startAndStop(state, true); }
BENCHMARK(BM_LoopFromThePosition)->Unit(benchmark::kMicrosecond);

}  // namespace
