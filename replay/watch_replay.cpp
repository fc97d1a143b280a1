// SPDX-License-Identifier: GPL-3.0-or-later
// The watching session: the recording's length first, then the replay on the output, once more
// from the beginning for every jump back.
#include "replay/watch_replay.h"

#include <chrono>

#include "replay/limits.h"

namespace replay {

ReplayOutcome WatchReplay(std::span<const uint8_t> file, const WatchOptions& options) {
    // The title shows the recording's length: a re-simulation finds it (a 100-second game takes
    // about a tenth of a second), and a file that cannot be played opens no window.
    PlayOptions measure;
    measure.deadline = std::chrono::steady_clock::now() + kReplayTimeLimit;
    const ReplayOutcome whole = PlayReplay(file, measure);
    if ((whole.kind == StopKind::Unreadable || whole.kind == StopKind::WrongVersion) && whole.frames == 0) return whole;

    ViewerState state;
    state.speed = options.speed;
    state.lengthMs = whole.recordedMs;
    for (;;) {
        PlayOptions play;
        play.onState = options.onState;
        play.wrap = [&](ReplayingPlatform& replaying) {
            return std::make_unique<WatchingPlatform>(replaying, options, state);
        };
        try {
            return PlayReplay(file, play);
        } catch (const JumpBack& jump) {
            state.skipping = true;
            state.skipUntilMs = jump.toMs;
        }
    }
}

}  // namespace replay
