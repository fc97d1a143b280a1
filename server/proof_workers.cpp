// SPDX-License-Identifier: GPL-3.0-or-later
// Workers look for jobs every quarter second when idle (jobs may come from other machines) and at
// once when this process queued one.
#include "server/proof_workers.h"

#include <unistd.h>

#include <cstdio>
#include <exception>

#include "base/log.h"

namespace bestenliste {

namespace {

constexpr std::chrono::milliseconds idle_round{250};
// After a database failure: give it time to come back.
constexpr std::chrono::milliseconds failure_pause{1000};

}  // namespace

std::string worker_name(int number) {
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) != 0) host[0] = '\0';
    return std::string(host) + ":" + std::to_string(::getpid()) + "/" + std::to_string(number);
}

ProofWorkers::ProofWorkers(UploadDesk& desk, int count, std::chrono::milliseconds lease) : desk_(desk), lease_(lease) {
    for (int k = 0; k < count; ++k) {
        threads_.emplace_back([this, name = worker_name(k)] { run(name); });
    }
}

ProofWorkers::~ProofWorkers() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wakeup_.notify_all();
    for (auto& thread : threads_) thread.join();
}

void ProofWorkers::wake() {
    {
        std::lock_guard lock(mutex_);
        ++wakeups_;
    }
    wakeup_.notify_one();
}

void ProofWorkers::run(const std::string& name) {
    while (true) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return;
        }
        std::chrono::milliseconds pause = idle_round;
        try {
            if (desk_.prove_next(name, lease_)) continue;
        } catch (const std::exception& error) {
            base::Log("proving an upload failed: %s", database_message(error).c_str());
            pause = failure_pause;
        }
        std::unique_lock lock(mutex_);
        if (wakeup_.wait_for(lock, pause, [this] { return stopping_ || wakeups_ > 0; }) && wakeups_ > 0) --wakeups_;
    }
}

}  // namespace bestenliste
