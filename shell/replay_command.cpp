// Printing a replay's games and its end, one line each.
#include "base/log.h"
#include "shell/replay_command.h"

#include <cstdio>

#include "platform/headless/script_driver.h"
#include "base/utf8_path.h"
#include "replay/play_replay.h"
#include "base/read_file.h"

namespace replay {

namespace {
// Far above any real replay (a whole hour is a few megabytes); a larger file is not one.
constexpr std::size_t kLargestFile = 64u << 20;
}  // namespace

int RunReplayCommand(const std::filesystem::path& file, platform::Platform* output, double speed,
                     platform::ScriptDriver* script) {
    const auto read = base::read_file_start(file, kLargestFile);
    if (!read.status.ok()) {
        base::Log("%s", read.status.error.c_str());
        return 2;
    }
    if (read.size > kLargestFile) {
        base::Log("%s is too large to be a replay", base::Utf8FromPath(file).c_str());
        return 2;
    }
    PlayOptions options;
    options.output = output;
    options.speed = speed;
    if (script) options.onState = [script](platform::StateAccess& state) { script->SetState(&state); };
    ReplayOutcome outcome;
    try {
        outcome = PlayReplay(read.bytes, options);
    } catch (const platform::ScriptFinished& done) {
        return done.code;
    }
    if (script && script->failed()) return 1;
    for (size_t k = 0; k < outcome.games.size(); ++k) std::printf("%s\n", DescribeGame(k + 1, outcome.games[k]).c_str());
    std::fflush(stdout);
    switch (outcome.kind) {
        case StopKind::Ended:
        case StopKind::Stopped:
            base::Log("%s", outcome.message.c_str());
            return 0;
        case StopKind::OutOfSync:
        case StopKind::TimedOut:
            base::Log("%s: %s", base::Utf8FromPath(file).c_str(), outcome.message.c_str());
            return 3;
        case StopKind::Unreadable:
        case StopKind::WrongVersion: break;
    }
    base::Log("%s: %s", base::Utf8FromPath(file).c_str(), outcome.message.c_str());
    return 2;
}

}  // namespace replay
