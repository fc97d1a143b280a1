// The replay driver: the game object on a replaying platform, its games noted as they start.
#include "replay/play_replay.h"

#include <exception>
#include <memory>

#include "app/errors.h"
#include "app/state_access.h"
#include "app/state_hash.h"
#include "app/vorlanix.h"
#include "base/utf8_path.h"
#include "replay/game_snapshot.h"

namespace replay {

namespace {

// A game's fields once it is over: its result, its points and the place the outer loop gave it.
GameResult resultOf(const vorlanix::Vorlanix& game, const std::vector<WrittenFile>& written, size_t writtenBefore) {
    GameResult r;
    r.valid = game.SpielUngueltig == vorlanix::False;
    r.days = game.Ergebnis / 3632;
    r.points = game.Punktzahl;
    r.rank = game.NeuerRang;
    for (size_t k = writtenBefore; k < written.size(); ++k)
        if (written[k].path.extension() == ".qhs") r.uploadFile = base::Utf8FromPath(written[k].path.filename());
    return r;
}

}  // namespace

ReplayOutcome PlayReplay(std::span<const uint8_t> bytes, const PlayOptions& options) {
    ReplayOutcome outcome;
    ReplayFile file;
    try {
        file = DecodeReplay(bytes);
    } catch (const ReplayStop& stop) {
        outcome.kind = stop.kind;
        outcome.message = stop.message;
        return outcome;
    }

    // Hit tests read the pictures' pixels, so a game played with an art pack repeats only with
    // that pack; a replay never reads a directory its file names.
    if (!file.header.assetDir.empty()) {
        outcome.kind = StopKind::Unreadable;
        outcome.message = "the replay was played with the pictures of " + file.header.assetDir +
                          " and plays only with the built-in ones";
        return outcome;
    }
    ReplayingPlatform platform(file, options.output);
    if (options.deadline) platform.SetDeadline(*options.deadline);
    if (options.output && options.speed > 0) platform.SetPacing(options.speed);
    auto game = std::make_unique<vorlanix::Vorlanix>(platform);
    vorlanix::GameStateAccess state(*game);
    platform.SetStateAccess(&state);
    if (options.onState) options.onState(state);
    platform.SetStateHash([&game] { return vorlanix::StateHash(*game); });
    game->SetzeFestenStartwert(file.header.seed);

    bool inGame = false, gameOver = false;
    size_t writtenBefore = 0;
    auto closeGame = [&] {
        if (!inGame) return;
        outcome.games.push_back(resultOf(*game, platform.writtenFiles(), writtenBefore));
        outcome.games.back().finished = gameOver;
        inGame = false;
    };
    platform.SetPointerModeObserver([&](platform::PointerMode mode) {
        if (mode != platform::PointerMode::Game) {
            gameOver = inGame;
            return;
        }
        closeGame();
        inGame = true;
        gameOver = false;
        writtenBefore = platform.writtenFiles().size();
    });

    try {
        try {
            if (file.header.kind == ReplayKind::FromStart) {
                const auto snapshot = platform.TakeSnapshot();
                std::string error;
                if (!RestoreSnapshot(*game, snapshot, error))
                    throw ReplayStop{StopKind::Unreadable, "the replay is damaged (" + error + ")"};
                // The recorded program had its display long before; the viewer's window opens now.
                if (options.output) options.output->InitDisplay();
                game->SpielAmStart();
            } else {
                game->Form_Load();
            }
        } catch (const vorlanix::ProgramExit&) {
        }
        platform.FinishAtProgramEnd();
    } catch (const ReplayStop& stop) {
        outcome.kind = stop.kind;
        outcome.message = stop.message;
    } catch (const std::exception& e) {
        outcome.kind = StopKind::OutOfSync;
        outcome.message = "out of sync at frame " + std::to_string(platform.frames()) + ": " + e.what();
    }
    closeGame();
    outcome.frames = platform.frames();
    outcome.written = platform.writtenFiles();
    return outcome;
}

std::string DescribeGame(size_t number, const GameResult& game) {
    std::string line = "game " + std::to_string(number) + ": ";
    if (!game.finished) return line + "stopped before its end";
    if (!game.valid) return line + "declared invalid";
    line += std::to_string(game.days) + " days, " + std::to_string(game.points) + " points, ";
    line += game.rank >= 1 && game.rank <= 8 ? "rank " + std::to_string(game.rank) : std::string("not in the list");
    if (!game.uploadFile.empty()) line += ", upload file " + game.uploadFile;
    return line;
}

}  // namespace replay
