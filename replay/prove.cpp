// SPDX-License-Identifier: GPL-3.0-or-later
// The proof: re-simulate strictly without output and compare the upload files the replay wrote;
// then record the proved game's public part and play it on its own to the same result.
#include "replay/prove.h"

#include <algorithm>

#include "replay/play_replay.h"
#include "replay/public_game.h"
#include "score/upload_file.h"

namespace replay {

namespace {

Proof refusal(const ReplayOutcome& outcome) {
    switch (outcome.kind) {
        case StopKind::Ended: break;
        case StopKind::OutOfSync: return {Verdict::OutOfSync, "the replay goes " + outcome.message};
        case StopKind::Unreadable: return {Verdict::Unreadable, outcome.message};
        case StopKind::WrongVersion: return {Verdict::WrongVersion, outcome.message};
        case StopKind::TimedOut:
        case StopKind::Stopped: return {Verdict::TimedOut, outcome.message};
        case StopKind::DriverInput: return {Verdict::DriverInput, outcome.message};
        case StopKind::Unhashed: return {Verdict::Unhashed, outcome.message};
        case StopKind::BadStart: return {Verdict::BadStart, outcome.message};
    }
    return {Verdict::Proved, {}};
}

}  // namespace

Proof ProveUpload(std::span<const uint8_t> replayFile, std::span<const uint8_t> uploadFile,
                  std::chrono::milliseconds timeLimit) {
    PlayOptions options;
    options.deadline = std::chrono::steady_clock::now() + timeLimit;
    options.proof = true;
    const ReplayOutcome outcome = PlayReplay(replayFile, options);
    if (Proof refused = refusal(outcome); refused.verdict != Verdict::Proved) return refused;

    const auto proved = std::find_if(outcome.games.begin(), outcome.games.end(), [&](const GameResult& g) {
        return std::equal(g.upload.begin(), g.upload.end(), uploadFile.begin(), uploadFile.end());
    });
    if (proved == outcome.games.end() || proved->upload.empty()) {
        size_t uploads = 0;
        for (const WrittenFile& f : outcome.written) uploads += f.path.extension() == ".qhs";
        if (uploads == 0) return {Verdict::NoUpload, "the replay writes no upload file"};
        if (uploadFile.size() != score::upload_file_size)
            return {Verdict::Mismatch, "the upload file has " + std::to_string(uploadFile.size()) + " bytes, not " +
                                           std::to_string(score::upload_file_size)};
        return {Verdict::Mismatch,
                "the replay writes " + std::to_string(uploads) + " upload file(s), none with exactly these bytes"};
    }
    const size_t game = static_cast<size_t>(proved - outcome.games.begin());

    for (const PublicGame& g : PublicGamesOf(replayFile, outcome.games, *options.deadline)) {
        if (g.game != game) continue;
        return {Verdict::Proved,
                "the replay writes this upload file (" + proved->uploadFile + ") after " +
                    std::to_string(outcome.frames) + " frames in sync",
                g.file, g.key};
    }
    if (std::chrono::steady_clock::now() > *options.deadline)
        return {Verdict::TimedOut, "the re-simulation ran out of time"};
    return {Verdict::OutOfSync, "the replay's game does not repeat to its result without the personal data"};
}

std::vector<PublicGame> PublicGamesOf(std::span<const uint8_t> replayFile, const std::vector<GameResult>& games,
                                      std::chrono::steady_clock::time_point deadline) {
    PlayOptions exporting;
    exporting.deadline = deadline;
    exporting.publicGames = true;
    std::vector<PublicGame> kept;
    for (PublicGame& g : PlayReplay(replayFile, exporting).publicGames) {
        PlayOptions alone;
        alone.deadline = deadline;
        alone.proof = true;
        const ReplayOutcome replayed = PlayReplay(g.file, alone);
        if (replayed.kind != StopKind::Ended || replayed.games.size() != 1 || g.game >= games.size() ||
            replayed.games[0].days != games[g.game].days || replayed.games[0].points != games[g.game].points)
            continue;
        g.key = replayed.games[0].key;
        kept.push_back(std::move(g));
    }
    return kept;
}

}  // namespace replay
