// SPDX-License-Identifier: GPL-3.0-or-later
// The recorded games of tests/replay/corpus, each with the upload file it writes when re-simulated.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <vector>

#include "replay/limits.h"
#include "replay/play_replay.h"
#include "replay/prove.h"
#include "tests/server/upload_fixture.h"
#include "tests/support/temp_dir.h"

struct RecordedGame {
    std::vector<uint8_t> replay;
    std::vector<uint8_t> upload;  // what re-simulating the replay writes; empty when nothing
    bool proves = false;          // a record of play that proves its upload (no test driver's set lines)
};

// The recorded games, each with the upload file it writes, as the game's own rules re-simulate it.
inline std::vector<RecordedGame> recorded_games() {
    std::vector<RecordedGame> games;
    for (const auto& file :
         std::filesystem::directory_iterator(std::filesystem::path(VORLANIX_SOURCE_DIR) / "tests/replay/corpus")) {
        if (file.path().extension() != ".vxr") continue;
        RecordedGame game{read_bytes(file.path()), {}};
        for (const auto& written : replay::PlayReplay(game.replay, {}).written) {
            if (written.path.extension() == ".qhs") game.upload = written.bytes;
        }
        game.proves =
            !game.upload.empty() &&
            replay::ProveUpload(game.replay, game.upload, replay::kReplayTimeLimit).verdict == replay::Verdict::Proved;
        games.push_back(std::move(game));
    }
    return games;
}

inline const RecordedGame& game_with_upload() {
    static const auto games = recorded_games();
    for (const auto& game : games) {
        if (game.proves) return game;
    }
    throw std::runtime_error("no recorded game in tests/replay/corpus proves an upload file");
}

inline const RecordedGame& game_without_upload() {
    static const auto games = recorded_games();
    for (const auto& game : games) {
        if (game.upload.empty()) return game;
    }
    throw std::runtime_error("every recorded game in tests/replay/corpus writes an upload file");
}

// The same file with another nickname and a check sum made to fit: valid, but not what was played.
inline std::vector<uint8_t> with_nickname(const std::vector<uint8_t>& upload, const std::string& nickname) {
    auto entry = score::check_upload(upload).entry;
    entry.FeldText[1] = nickname;
    return upload_bytes(entry);
}
