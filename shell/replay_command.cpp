// SPDX-License-Identifier: GPL-3.0-or-later
// Printing a replay's games and its end, one line each.
#include "base/log.h"
#include "shell/replay_command.h"

#include <cstdio>

#include "platform/headless/script_driver.h"
#include "base/utf8_path.h"
#include "replay/limits.h"
#include "replay/play_replay.h"
#include "replay/prove.h"
#include "replay/watch_replay.h"
#include "base/replace_file.h"
#include "base/read_file.h"

namespace replay {

int RunReplayCommand(const std::filesystem::path& file, const WatchOptions* watch, platform::ScriptDriver* script,
                     std::chrono::milliseconds timeLimit) {
    const auto read = base::read_file_start(file, kLargestReplay);
    if (!read.status.ok()) {
        base::Log("%s", read.status.error.c_str());
        return 2;
    }
    if (read.size > kLargestReplay) {
        base::Log("%s is too large to be a replay", base::Utf8FromPath(file).c_str());
        return 2;
    }
    auto onState = [script](platform::StateAccess& state) {
        if (script) script->SetState(&state);
    };
    ReplayOutcome outcome;
    try {
        if (watch) {
            WatchOptions options = *watch;
            options.onState = onState;
            outcome = WatchReplay(read.bytes, options);
        } else {
            // Re-simulating is bounded as a proof is; watching takes the time the viewer takes.
            PlayOptions options;
            options.deadline = std::chrono::steady_clock::now() + timeLimit;
            options.onState = onState;
            outcome = PlayReplay(read.bytes, options);
        }
    } catch (const platform::ScriptFinished& done) {
        return done.code;
    }
    if (script && script->failed()) return 1;
    for (size_t k = 0; k < outcome.games.size(); ++k)
        std::printf("%s\n", DescribeGame(k + 1, outcome.games[k]).c_str());
    std::fflush(stdout);
    switch (outcome.kind) {
        case StopKind::Ended:
        case StopKind::Stopped: base::Log("%s", outcome.message.c_str()); return 0;
        case StopKind::OutOfSync:
        case StopKind::TimedOut:
            base::Log("%s: %s", base::Utf8FromPath(file).c_str(), outcome.message.c_str());
            return 3;
        case StopKind::Unreadable:
        case StopKind::WrongVersion:
        case StopKind::DriverInput:
        case StopKind::Unhashed:
        case StopKind::BadStart: break;
    }
    base::Log("%s: %s", base::Utf8FromPath(file).c_str(), outcome.message.c_str());
    return 2;
}

}  // namespace replay

namespace replay {

int RunExportCommand(const std::filesystem::path& in, const std::filesystem::path& out) {
    const auto read = base::read_file_start(in, kLargestReplay);
    if (!read.status.ok()) {
        base::Log("%s", read.status.error.c_str());
        return 2;
    }
    if (read.size > kLargestReplay) {
        base::Log("%s is too large to be a replay", base::Utf8FromPath(in).c_str());
        return 2;
    }
    const auto deadline = std::chrono::steady_clock::now() + kReplayTimeLimit;
    PlayOptions options;
    options.deadline = deadline;
    const ReplayOutcome outcome = PlayReplay(read.bytes, options);
    if (outcome.kind == StopKind::Unreadable || outcome.kind == StopKind::WrongVersion) {
        base::Log("%s: %s", base::Utf8FromPath(in).c_str(), outcome.message.c_str());
        return 2;
    }
    const auto games = PublicGamesOf(read.bytes, outcome.games, deadline);
    if (games.empty()) {
        base::Log("%s holds no game that ran to its result", base::Utf8FromPath(in).c_str());
        return 1;
    }
    const auto status = base::replace_file(out.parent_path().empty() ? "." : out.parent_path(), out.filename().string(),
                                           games.back().file);
    if (!status.ok()) {
        base::Log("%s", status.error.c_str());
        return 1;
    }
    std::printf("%s\n", DescribeGame(games.back().game + 1, outcome.games[games.back().game]).c_str());
    return 0;
}

}  // namespace replay
