// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of replays, in one run: the same 100-second game played by the headless driver plain,
// played while recorded, and re-simulated from its recording. The frames counter gives frames per
// second of CPU for each, so re-simulation / plain and the recording's cost per frame read off
// directly.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "shell/options.h"
#include "shell/program.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/script_driver.h"
#include "replay/play_replay.h"
#include "replay/recording_platform.h"

namespace {

namespace fs = std::filesystem;

// Title, START, a few shots, the whole game to its result page.
constexpr const char* kGame = R"(
run 100
release left 300 200
run 100
click left 120 100
run 3000
click left 400 300
run 2000
click left 220 160
run-until AktMenue == 8 300000
run-until EndeAnimationLaeuft == 0
)";

// The data directory of the games, removed when the benchmarks end.
struct Scratch {
    Scratch() : dir(fs::temp_directory_path() / ("vorlanix_replay_bench_" + std::to_string(::getpid()))) {
        fs::create_directories(dir);
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    fs::path dir;
};

fs::path scratch() {
    static const Scratch s;
    return s.dir;
}

// Plays the game once; with `record`, into that replay file. Returns the frames it showed.
uint64_t playGame(const fs::path& record) {
    platform::HeadlessPlatform headless;
    const fs::path ended = scratch() / "ended.json";
    fs::remove(ended);
    auto driver =
        std::make_unique<platform::ScriptDriver>(std::string(kGame) + "dump " + ended.string() + "\n", "bench");
    platform::ScriptDriver* raw = driver.get();
    headless.AttachScript(std::move(driver));
    vorlanix::Options options;
    options.headless = true;
    options.dataDir = scratch();
    options.seed = 99;
    options.keepReplays = false;
    options.record = record;
    vorlanix::RunProgram(headless, options, raw);
    // A program that ends before its script (without sound/ beside it, say) would time a few
    // frames of the title instead of a game: that stops the benchmarks, loudly.
    if (!fs::exists(ended)) {
        std::fprintf(stderr, "replay_bench: the program ended after %llu frames, before its game did: %s\n",
                     static_cast<unsigned long long>(headless.frames()),
                     headless.messageBoxes().empty() ? "no message" : headless.messageBoxes().back().c_str());
        std::exit(1);
    }
    return headless.frames();
}

const std::vector<uint8_t>& recordedGame() {
    static const std::vector<uint8_t> bytes = [] {
        playGame(scratch() / "game.vxr");
        std::ifstream in(scratch() / "game.vxr", std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }();
    return bytes;
}

void BM_PlainHeadlessGame(benchmark::State& state) {
    uint64_t frames = 0;
    for (auto _ : state) frames += playGame({});
    state.counters["frames"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}

void BM_RecordedHeadlessGame(benchmark::State& state) {
    uint64_t frames = 0;
    for (auto _ : state) frames += playGame(scratch() / "recorded.vxr");
    state.counters["frames"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}

void BM_Resimulation(benchmark::State& state) {
    const auto& file = recordedGame();
    uint64_t frames = 0;
    for (auto _ : state) {
        const auto outcome = replay::PlayReplay(file, {});
        if (outcome.kind != replay::StopKind::Ended) state.SkipWithError(outcome.message.c_str());
        frames += outcome.frames;
    }
    state.counters["frames"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["bytes"] = static_cast<double>(file.size());
}

// What a menu frame asks of the machine, on the platform itself or through a recording of it: the
// difference is the recording's cost per frame, whichever backend it wraps.
void frameCalls(platform::Platform& p, const platform::Surface& back) {
    p.DoEvents();
    benchmark::DoNotOptimize(p.GetTickCount());
    int32_t x = 0, y = 0;
    p.GetCursorPos(x, y);
    benchmark::DoNotOptimize(p.TestCooperativeLevel());
    benchmark::DoNotOptimize(p.GetTickCount());
    p.Flip(back);
}

void BM_FrameCallsPlain(benchmark::State& state) {
    platform::HeadlessPlatform headless;
    const platform::Surface back(640, 480);
    for (auto _ : state) frameCalls(headless, back);
}

void BM_FrameCallsRecorded(benchmark::State& state) {
    platform::HeadlessPlatform headless;
    replay::RecordingPlatform recording(headless);
    const platform::Surface back(640, 480);
    for (auto _ : state) frameCalls(recording, back);
}

}  // namespace

BENCHMARK(BM_FrameCallsPlain);
BENCHMARK(BM_FrameCallsRecorded);
BENCHMARK(BM_PlainHeadlessGame)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RecordedHeadlessGame)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Resimulation)->Unit(benchmark::kMillisecond)->Iterations(3);
