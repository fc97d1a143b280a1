// SPDX-License-Identifier: GPL-3.0-or-later
// Threads that prove waiting uploads, in `serve` beside the pages and in `work` processes.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "server/upload_desk.h"

namespace bestenliste {

// Longer than any proof may run, so a live worker keeps its job.
inline constexpr std::chrono::milliseconds default_proof_lease = 3 * proof_time_limit;

class ProofWorkers {
  public:
    ProofWorkers(UploadDesk& desk, int count, std::chrono::milliseconds lease = default_proof_lease);
    // Lets each worker finish the proof it runs, then ends them.
    ~ProofWorkers();
    ProofWorkers(const ProofWorkers&) = delete;
    ProofWorkers& operator=(const ProofWorkers&) = delete;

    // A job was queued here: look now rather than at the next round.
    void wake();

  private:
    void run(const std::string& name);

    UploadDesk& desk_;
    std::chrono::milliseconds lease_;
    std::mutex mutex_;
    std::condition_variable wakeup_;
    bool stopping_ = false;
    int wakeups_ = 0;  // jobs queued here that no worker has looked for yet
    std::vector<std::thread> threads_;
};

// "host:pid/n": which process holds a job, for the operator.
std::string worker_name(int number);

}  // namespace bestenliste
