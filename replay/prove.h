// Proving an upload file by its replay: the replay is re-simulated and must write exactly the
// upload file's bytes. Needs no display; several proofs may run at once on different threads.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

namespace replay {

// DriverInput: the replay holds a test driver's direct writes of the state (set lines);
// Unhashed: it lacks state hashes. Both still re-simulate, but neither is a record of play.
enum class Verdict { Proved, Mismatch, NoUpload, OutOfSync, Unreadable, WrongVersion, TimedOut, DriverInput, Unhashed };

struct Proof {
    Verdict verdict;
    std::string message;  // one plain English line for logs
};

// Re-simulates the replay and says whether it writes exactly these 332 bytes as an upload file.
Proof ProveUpload(std::span<const uint8_t> replayFile, std::span<const uint8_t> uploadFile,
                  std::chrono::milliseconds timeLimit);

}  // namespace replay
