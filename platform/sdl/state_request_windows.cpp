// SPDX-License-Identifier: GPL-3.0-or-later
// The state file written on request, on Windows, which has no SIGUSR1: the request is a file
// FILE.request that a test or a curious player creates; it is looked for a few times a second,
// removed, and answered with the state in FILE.
#include "platform/sdl/state_request.h"

#include <windows.h>

#include <fstream>

#include "platform/state_access.h"

namespace platform {

namespace {

// How often the event pump looks for a request.
constexpr DWORD kLookEveryMs = 100;

}  // namespace

StateRequest::StateRequest(std::filesystem::path file) : file_(std::move(file)) {}

void StateRequest::Serve(StateAccess* state, uint32_t tick, uint64_t frames, uint64_t framesShown) {
    if (file_.empty() || !state) return;
    static DWORD lookedAt = 0;
    const DWORD now = GetTickCount();
    if (now - lookedAt < kLookEveryMs) return;
    lookedAt = now;
    std::filesystem::path request = file_;
    request += L".request";
    if (!DeleteFileW(request.c_str())) return;
    nlohmann::json dump = state->DumpState();
    dump["tick"] = tick;
    dump["frames"] = frames;
    dump["framesShown"] = framesShown;
    // Written beside the file and moved over it, so a reader never sees half of it.
    std::filesystem::path partial = file_;
    partial += L".part";
    {
        std::ofstream out(partial, std::ios::trunc);
        out << dump.dump(1) << "\n";
        if (!out) return;
    }
    MoveFileExW(partial.c_str(), file_.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace platform
