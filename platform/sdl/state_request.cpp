// SPDX-License-Identifier: GPL-3.0-or-later
// The state file written on request.
#include "platform/sdl/state_request.h"

#include <csignal>
#include <fstream>

#include "platform/state_access.h"

namespace platform {

namespace {

volatile std::sig_atomic_t requested = 0;

extern "C" void noteRequest(int) { requested = 1; }

}  // namespace

StateRequest::StateRequest(std::filesystem::path file) : file_(std::move(file)) {
    if (!file_.empty()) std::signal(SIGUSR1, noteRequest);
}

void StateRequest::Serve(StateAccess* state, uint32_t tick, uint64_t frames, uint64_t framesShown) {
    if (!requested || file_.empty() || !state) return;
    requested = 0;
    nlohmann::json dump = state->DumpState();
    dump["tick"] = tick;
    dump["frames"] = frames;
    dump["framesShown"] = framesShown;
    // Written beside the file and renamed over it, so a reader never sees half of it.
    const std::filesystem::path partial = file_.string() + ".part";
    {
        std::ofstream out(partial, std::ios::trunc);
        out << dump.dump(1) << "\n";
        if (!out) return;
    }
    std::error_code ignored;
    std::filesystem::rename(partial, file_, ignored);
}

}  // namespace platform
