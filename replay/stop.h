// SPDX-License-Identifier: GPL-3.0-or-later
// Why a replay stopped. Thrown through the game's own code, so it deliberately does not derive
// from std::exception: the game's handlers for run-time errors must not swallow it.
#pragma once

#include <cstdint>
#include <string>

namespace replay {

enum class StopKind {
    Ended,         // the recording ran to its end and every state hash matched
    OutOfSync,     // the program asked for something else than the recording holds, or a hash differed
    Unreadable,    // damaged, truncated or not a replay at all
    WrongVersion,  // a format or simulation this program does not play
    TimedOut,      // the time limit of the re-simulation ran out
    Stopped,       // the viewer ended the replay (Escape)
    DriverInput,   // a proof met a test driver's direct write (a set line)
    Unhashed,      // a proof met a recording without its state hashes
    BadStart,      // a proof met a state at a START that the program cannot have there
};

struct ReplayStop {
    StopKind kind;
    std::string message;  // one line, plain English
};

}  // namespace replay
