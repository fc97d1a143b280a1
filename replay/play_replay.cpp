// SPDX-License-Identifier: GPL-3.0-or-later
// The replay driver: the game object on a replaying platform, its games noted as they start.
#include "replay/play_replay.h"

#include <exception>
#include <memory>

#include "app/errors.h"
#include "app/game_state_access.h"
#include "app/state_hash.h"
#include "app/vorlanix.h"
#include "base/utf8_path.h"
#include "replay/game_snapshot.h"
#include "replay/public_game.h"
#include "replay/recording_platform.h"
#include "replay/start_check.h"

namespace replay {

namespace {

// A game's fields once it is over: its result and the place the outer loop gave it. Its points are
// taken when play ends, since the count-down turns them into the result.
GameResult resultOf(const vorlanix::Vorlanix& game, int32_t points, const std::vector<WrittenFile>& written,
                    size_t writtenBefore) {
    GameResult r;
    r.valid = game.SpielUngueltig == vorlanix::False;
    r.days = game.Ergebnis / 3632;
    r.points = points;
    r.rank = game.NeuerRang;
    for (size_t k = writtenBefore; k < written.size(); ++k) {
        if (written[k].path.extension() != ".qhs") continue;
        r.uploadFile = base::Utf8FromPath(written[k].path.filename());
        r.upload = written[k].bytes;
    }
    return r;
}

Header publicHeader(const Header& source) {
    Header h;
    h.programVersion = source.programVersion;
    h.kind = ReplayKind::GameOnly;
    h.seed = source.seed;
    h.recordedAt = source.recordedAt;
    return h;
}

// Each game the program starts is recorded afresh from its START, without the personal fields,
// and cut once the count-down after it has fixed the result. Typed keys between the end of play
// and the cut (the player's name) are left out.
void watchPublicGames(RecordingPlatform& copy, vorlanix::Vorlanix& game, const Header& source, ReplayOutcome& outcome) {
    struct Watch {
        bool recording = false, over = false, countDown = false;
        size_t games = 0;
    };
    auto watch = std::make_shared<Watch>();
    copy.SetStateHash([&game] { return vorlanix::StateHash(game); });
    copy.SetPointerModeObserver([&copy, &game, &outcome, source, watch](platform::PointerMode mode) {
        if (mode != platform::PointerMode::Game) {
            watch->over = watch->recording;
            return;
        }
        if (watch->recording && copy.cut()) {
            Header header = publicHeader(source);
            outcome.publicGames.push_back({watch->games - 1, copy.Finish(header)});
        }
        ++watch->games;
        watch->recording = true;
        watch->over = watch->countDown = false;
        ForgetPersonal(game);
        copy.BeginAtStart(SaveSnapshot(game), LoadedSoundCopies(game));
    });
    // The count-down ends the result; a game without points has none the copy can see, and then
    // the list's file, read first after it, marks the end.
    copy.SetCut([&game, watch](Tag next) {
        if (!watch->recording || !watch->over) return false;
        if (game.EndeAnimationLaeuft != vorlanix::False) watch->countDown = true;
        return (watch->countDown && game.EndeAnimationLaeuft == vorlanix::False) || next == Tag::FileRead ||
               next == Tag::FileReadSame;
    });
    copy.SetEventFilter(
        [watch](uint8_t kind, int64_t code) { return watch->recording && watch->over && IsTypedText(kind, code); });
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
    ReplayingPlatform platform(file);
    if (options.deadline) platform.SetDeadline(*options.deadline);
    platform.SetProof(options.proof);
    const std::unique_ptr<platform::Platform> wrapped = options.wrap ? options.wrap(platform) : nullptr;
    platform::Platform& below = wrapped ? *wrapped : static_cast<platform::Platform&>(platform);
    // The public copy is recorded between the replay and the program, which sees no personal
    // data from each START on: the recorded hashes, taken with that data, are not checked then.
    std::unique_ptr<RecordingPlatform> publicCopy;
    if (options.publicGames) publicCopy = std::make_unique<RecordingPlatform>(below);
    auto game =
        std::make_unique<vorlanix::Vorlanix>(publicCopy ? static_cast<platform::Platform&>(*publicCopy) : below);
    vorlanix::GameStateAccess state(*game);
    platform.SetStateAccess(&state);
    if (options.onState) options.onState(state);
    if (!publicCopy) platform.SetStateHash([&game] { return vorlanix::StateHash(*game); });
    game->SetzeFestenStartwert(file.header.seed);
    if (publicCopy) watchPublicGames(*publicCopy, *game, file.header, outcome);

    bool inGame = false, gameOver = false;
    int32_t points = 0;
    PlayKey key;
    platform.SetFrameObserver([&] {
        if (inGame && !gameOver) key.Frame(*game);
    });
    size_t writtenBefore = 0;
    auto closeGame = [&] {
        if (!inGame) return;
        outcome.games.push_back(resultOf(*game, points, platform.writtenFiles(), writtenBefore));
        outcome.games.back().finished = gameOver;
        outcome.games.back().key = key.value();
        inGame = false;
    };
    platform.SetPointerModeObserver([&](platform::PointerMode mode) {
        if (mode != platform::PointerMode::Game) {
            if (inGame && !gameOver) points = game->Punktzahl / 3632;
            gameOver = inGame;
            return;
        }
        closeGame();
        inGame = true;
        gameOver = false;
        key = PlayKey();
        writtenBefore = platform.writtenFiles().size();
    });

    try {
        try {
            if (file.header.kind != ReplayKind::WholeRun) {
                const auto snapshot = platform.TakeSnapshot();
                std::string error;
                if (!RestoreSnapshot(*game, snapshot, error))
                    throw ReplayStop{StopKind::Unreadable, "the replay is damaged (" + error + ")"};
                if (options.proof)
                    if (const std::string field = ImpossibleAtStart(*game); !field.empty())
                        throw ReplayStop{StopKind::BadStart,
                                         "the state at the START is none the program can have there: " + field};
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
    if (file.header.kind == ReplayKind::GameOnly)
        for (auto& g : outcome.games) g.ranked = false;
    if (publicCopy && publicCopy->cut()) {
        Header header = publicHeader(file.header);
        outcome.publicGames.push_back({outcome.games.size() - 1, publicCopy->Finish(header)});
    }
    outcome.frames = platform.frames();
    outcome.recordedMs = platform.recordedTick() - platform.startTick();
    outcome.written = platform.writtenFiles();
    return outcome;
}

std::string DescribeGame(size_t number, const GameResult& game) {
    std::string line = "game " + std::to_string(number) + ": ";
    if (!game.finished) return line + "stopped before its end";
    if (!game.valid) return line + "declared invalid";
    line += std::to_string(game.days) + " days, " + std::to_string(game.points) + " points";
    // A public game ends at its result, before the local list is looked at.
    if (!game.ranked) return line;
    line += ", ";
    line += game.rank >= 1 && game.rank <= 8 ? "rank " + std::to_string(game.rank) : std::string("not in the list");
    if (!game.uploadFile.empty()) line += ", upload file " + game.uploadFile;
    return line;
}

}  // namespace replay
