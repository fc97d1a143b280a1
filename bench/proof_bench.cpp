// SPDX-License-Identifier: GPL-3.0-or-later
// What proving an upload by its replay costs the server, against the plain re-simulation of the
// same replay in the same run: proofs per second per core, and the ratio of the two.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "replay/play_replay.h"
#include "server/replay_proof.h"

namespace {

struct RecordedUpload {
    std::vector<uint8_t> replay, upload;
};

// The first recorded game of tests/replay/corpus that writes an upload file.
const RecordedUpload& recorded_upload() {
    static const RecordedUpload found = [] {
        for (const auto& file :
             std::filesystem::directory_iterator(std::filesystem::path(VORLANIX_SOURCE_DIR) / "tests/replay/corpus")) {
            if (file.path().extension() != ".vxr") continue;
            std::ifstream in(file.path(), std::ios::binary);
            RecordedUpload game{{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}, {}};
            for (const auto& written : replay::PlayReplay(game.replay, {}).written) {
                if (written.path.extension() == ".qhs") game.upload = written.bytes;
            }
            if (!game.upload.empty()) return game;
        }
        return RecordedUpload{};
    }();
    return found;
}

void BM_PlainResimulation(benchmark::State& state) {
    const auto& game = recorded_upload();
    if (game.upload.empty()) state.SkipWithError("no recorded game writes an upload file");
    for (auto _ : state) {
        benchmark::DoNotOptimize(replay::PlayReplay(game.replay, {}).frames);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlainResimulation)->Unit(benchmark::kMillisecond);

void BM_ProofByReplay(benchmark::State& state) {
    const auto& game = recorded_upload();
    if (game.upload.empty()) state.SkipWithError("no recorded game writes an upload file");
    for (auto _ : state) {
        if (bestenliste::prove_by_replay(game.replay, game.upload, std::chrono::seconds(60)).reason !=
            bestenliste::Reason::Accepted) {
            state.SkipWithError("the recorded game does not prove its upload");
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ProofByReplay)->Unit(benchmark::kMillisecond);

}  // namespace
