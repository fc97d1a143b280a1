// SPDX-License-Identifier: GPL-3.0-or-later
// The program from its load event to its end on either backend, and the exit code its end gives.
// Recording sits between the game and the backend: the whole run into --record's file, and every
// game from its START into the data directory's replays/.
#include "base/log.h"
#include "shell/program.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <exception>

#include "shell/directories.h"
#include "app/errors.h"
#include "app/game_state_access.h"
#include "app/state_hash.h"
#include "app/vorlanix.h"
#include "platform/headless/script_driver.h"
#include "base/utf8_path.h"
#include "replay/game_snapshot.h"
#include "replay/kept_replays.h"
#include "replay/recording_platform.h"
#include "base/replace_file.h"

namespace vorlanix {

namespace {

// Records each game from its START to the next START or the program's end.
class GameRecorder {
  public:
    GameRecorder(platform::Platform& inner, uint32_t seed) : recording_(inner), seed_(seed) {}
    replay::RecordingPlatform& platform() { return recording_; }

    void Watch(Vorlanix& game) {
        recording_.SetStateHash([&game] { return StateHash(game); });
        recording_.SetPointerModeObserver([this, &game](platform::PointerMode mode) {
            if (mode == platform::PointerMode::Menu) {
                gameEnded_ = inGame_;
                SaveSoFar(game);
                return;
            }
            Keep(game);
            recording_.BeginAtStart(replay::SaveSnapshot(game), replay::LoadedSoundCopies(game));
            inGame_ = true;
            gameEnded_ = false;
            startedAt_ = std::time(nullptr);
        });
        // Whatever the result page saves (the list, the upload file) belongs to its game's replay.
        recording_.SetFileWrittenObserver([this, &game] { SaveSoFar(game); });
    }

    // The game that is open, if any, goes into replays/.
    void Keep(const Vorlanix& game) {
        if (!inGame_) return;
        recording_.AtNextAnswer(nullptr);
        Write(game);
        inGame_ = false;
    }

  private:
    // A game that has ended is kept as far as it went at once and again after every file its
    // result page writes, not only at the next START: a program that is killed then, or a
    // browser tab closed on the result page, loses nothing of it.
    void SaveSoFar(const Vorlanix& game) {
        if (inGame_ && gameEnded_) recording_.AtNextAnswer([this, &game] { Write(game); });
    }

    void Write(const Vorlanix& game) {
        replay::Header header;
        header.programVersion = VORLANIX_VERSION;
        header.kind = replay::ReplayKind::FromStart;
        header.seed = seed_;
        header.recordedAt = startedAt_;
        replay::FinishedGame finished;
        finished.playedAt = startedAt_;
        finished.days = game.Ergebnis / kScoreScale;
        // A result enters the list when the player leaves its result page.
        finished.entersList = gameEnded_ && game.SpielUngueltig == False && game.ErgebnisOffen == False &&
                              game.NeuerRang >= 1 && game.NeuerRang <= 8;
        std::string error;
        if (!replay::KeepReplay(recording_.DataDirectory(), recording_.Finish(header), finished, game.HSTage, error))
            base::Log("the game's replay is not kept: %s", error.c_str());
    }

    replay::RecordingPlatform recording_;
    uint32_t seed_;
    bool inGame_ = false, gameEnded_ = false;
    std::time_t startedAt_ = 0;
};

}  // namespace

int RunProgram(platform::Platform& backend, const Options& options, platform::ScriptDriver* script,
               const std::function<void()>& ending) {
    const auto programDir = ExecutableDirectory();
    std::string error;
    const auto dataDir = ChooseDataDirectory(options.dataDir, programDir, error);
    if (dataDir.empty()) {
        // Started from the desktop, a player sees no stderr: the reason goes into a message box,
        // as the display's start-up failures do.
        backend.MessageBox("Vorlanix", error);
        return 1;
    }
    base::Log("data directory %s", base::Utf8FromPath(dataDir).c_str());
    const auto soundDir = FindSoundDirectory(programDir);
    backend.SetScreenshotDirectory(ChooseScreenshotDirectory(options.screenshotDir, dataDir));

    // A recorded run needs its seed in the recording, so one is fixed even when none was asked for.
    const bool recording = !options.record.empty() || options.keepReplays;
    std::optional<uint32_t> seed = options.seed;
    if (recording && !seed) seed = static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());

    std::unique_ptr<replay::RecordingPlatform> wholeRun;
    std::unique_ptr<GameRecorder> games;
    platform::Platform* platform = &backend;
    if (!options.record.empty()) {
        wholeRun = std::make_unique<replay::RecordingPlatform>(*platform);
        platform = wholeRun.get();
    }
    if (options.keepReplays) {
        games = std::make_unique<GameRecorder>(*platform, *seed);
        platform = &games->platform();
    }
    for (platform::Platform* p : {&backend, static_cast<platform::Platform*>(wholeRun.get()),
                                  games ? static_cast<platform::Platform*>(&games->platform()) : nullptr}) {
        if (!p) continue;
        p->SetDirectories(programDir, dataDir, soundDir);
        if (!options.assetDir.empty()) p->SetAssetDirectory(options.assetDir);
    }

    auto game = std::make_unique<Vorlanix>(*platform);
    GameStateAccess state(*game);
    if (wholeRun) wholeRun->SetStateHash([&game] { return StateHash(*game); });
    if (games) games->Watch(*game);
    if (script) {
        script->SetState(&state);
        // A script's direct writes into the state are part of what a replay must repeat.
        script->ObserveSets([&](const std::string& field, const std::string& value) {
            if (wholeRun) wholeRun->RecordSet(field, value);
            if (games) games->platform().RecordSet(field, value);
        });
    }
    // The backend itself answers a request for the state, whatever wraps it.
    backend.SetStateAccess(&state);
    if (seed) game->SetzeFestenStartwert(*seed);

    int code = 0;
    bool scripted = false;
    try {
        game->Form_Load();
    } catch (const ProgramExit& e) {
        code = e.code;
    } catch (const platform::ScriptFinished& e) {
        code = e.code;
        scripted = true;
    } catch (const std::exception& e) {
        base::Log("%s", e.what());
        code = 1;
    }
    // The player sees the program end now; what it still writes takes a moment longer.
    if (ending) ending();
    if (games) games->Keep(*game);
    if (wholeRun) {
        replay::Header header;
        header.programVersion = VORLANIX_VERSION;
        header.seed = *seed;
        header.recordedAt = std::time(nullptr);
        const auto file = wholeRun->Finish(header);
        const auto status =
            base::replace_file(options.record.parent_path().empty() ? "." : options.record.parent_path(),
                               base::Utf8FromPath(options.record.filename()), file);
        if (!status.ok()) {
            base::Log("the replay is not written: %s", status.error.c_str());
            if (code == 0) code = 1;
        }
    }
    if (scripted) return code;
    if (script && code == 0 && script->failed()) return 1;
    return code;
}

}  // namespace vorlanix
