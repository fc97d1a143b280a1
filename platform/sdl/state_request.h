// SPDX-License-Identifier: GPL-3.0-or-later
// On SIGUSR1 the running program writes its state, as the headless driver's `dump` does, to the
// file given with --state-file: how tests and curious players look inside a real game.
#pragma once

#include <cstdint>
#include <filesystem>

namespace platform {

class StateAccess;

class StateRequest {
  public:
    // Installs the signal handler when `file` is set.
    explicit StateRequest(std::filesystem::path file);
    // Writes the state, with the program's tick count, its flips (`frames`, as the headless
    // driver counts them) and the frames really drawn on the screen (`framesShown`: an unchanged
    // or hidden frame is not), when a signal came since the last call (from the event pump).
    void Serve(StateAccess* state, uint32_t tick, uint64_t frames, uint64_t framesShown);

  private:
    std::filesystem::path file_;
};

}  // namespace platform
