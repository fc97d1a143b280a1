// What starting a sound copy costs on SDL2_mixer: playing once from where the copy stands (a view
// of the decoded sound) against looping from there (the sound turned round to begin at that
// point), for a sound as long as the music, which loops on from where the last game stopped it.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "platform/sdl/sdl_platform.h"

namespace {

namespace fs = std::filesystem;

// 42 seconds of quiet noise in the game's sound format.
void writeMusicLengthWave(const fs::path& path) {
    const uint32_t frames = 22050u * 42u;
    std::vector<int16_t> samples(frames * 2);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>((i * 7919u) % 2001u) - 1000;
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::ofstream f(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
    f.write("RIFF", 4);
    u32(36 + dataBytes);
    f.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(2);
    u32(22050);
    u32(88200);
    u16(4);
    u16(16);
    f.write("data", 4);
    u32(dataBytes);
    f.write(reinterpret_cast<const char*>(samples.data()), dataBytes);
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
