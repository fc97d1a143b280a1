// SPDX-License-Identifier: GPL-3.0-or-later
// Uploads waiting for the proof by their replay, kept in the database so that any number of
// workers on any number of machines share them, and a job whose worker died is taken up again.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "server/entry_store.h"
#include "server/metrics.h"
#include "server/refusal.h"

namespace bestenliste {

enum class ProofState { Pending = 0, Proved = 1, Refused = 2 };

struct ProofJob {
    int64_t id = 0;  // the entry's id once it is proved
    std::vector<uint8_t> upload, replay;
    int attempts = 0;  // claims so far, this one included
};

struct ProofStatus {
    ProofState state = ProofState::Pending;
    std::string reason;  // the refusal's code; empty unless refused
    std::string worker;  // who claimed it last
    int64_t queued_ms = 0, finished_ms = 0;
};

class ProofQueue {
  public:
    explicit ProofQueue(EntryStore& store) : store_(store) {}

    // Stores the upload as waiting for its proof and returns the id its entry will have; nothing
    // when the same file is already listed or waiting.
    std::optional<int64_t> enqueue(std::span<const uint8_t> upload, std::span<const uint8_t> replay,
                                   const std::string& address, int64_t now_ms);
    // The next job for `worker`, held for it until `lease` has passed. Addresses take turns: a
    // job queued from an address with nothing waiting goes before every later job of a flooding
    // one, so a flood delays another address's proof by the jobs already running at most.
    std::optional<ProofJob> claim(const std::string& worker, int64_t now_ms, std::chrono::milliseconds lease);
    // The proof's outcome and how long it took; the upload and the replay sent with it are
    // forgotten. Counted once per job, whichever worker finishes it.
    void finish(int64_t id, Reason reason, int64_t now_ms, std::chrono::microseconds taken);
    std::optional<ProofStatus> status(int64_t id);
    int64_t waiting();
    // The queue's length and the proofs done so far by every worker, by outcome and duration.
    ProofFigures figures();
    // The first `limit` uploads still waiting, in the order of their proofs, as the list shows them
    // (nickname, age, time of upload; no rank).
    std::vector<ListedEntry> waiting_entries(int64_t limit);

  private:
    EntryStore& store_;
};

}  // namespace bestenliste
