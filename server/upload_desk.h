// SPDX-License-Identifier: GPL-3.0-or-later
// Taking one upload: the checks, then the database. The web form, the API and the import of
// mailed files all come through here, so they accept and refuse exactly alike.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <semaphore>
#include <span>

#include "replay/limits.h"
#include "server/entry_store.h"
#include "server/proof_queue.h"
#include "server/refusal.h"

namespace bestenliste {

struct UploadOutcome {
    Reason reason = Reason::Accepted;
    bool proved = false;
    int64_t id = 0;    // the stored entry, when accepted or pending
    int64_t rank = 0;  // its place in the list right after it was stored
};

// A hostile replay may try to run for ever; a real one re-simulates in well under a second.
inline constexpr std::chrono::milliseconds proof_time_limit = replay::kReplayTimeLimit;

class UploadDesk {
  public:
    using Clock = std::function<int64_t()>;  // milliseconds since 1970, UTC

    explicit UploadDesk(EntryStore& store, Clock now = system_milliseconds,
                        std::chrono::milliseconds proof_limit = proof_time_limit);

    // Stored and committed before this returns Accepted. With a replay, the entry is accepted
    // only when re-simulating the replay writes exactly these upload bytes; it is then proved.
    UploadOutcome take(std::span<const uint8_t> upload, std::optional<std::span<const uint8_t>> replay = std::nullopt);

    // An upload with a replay, stored at once as waiting for its proof (Pending, with the id its
    // entry will have); a worker proves it later (prove_next). `address` is whom it came from,
    // so that addresses take turns.
    UploadOutcome queue(std::span<const uint8_t> upload, std::span<const uint8_t> replay, const std::string& address);
    // Proves the next waiting upload and stores its entry; the proof's outcome, or nothing when none waits.
    std::optional<Reason> prove_next(const std::string& worker, std::chrono::milliseconds lease);
    ProofQueue& proofs() { return proofs_; }

    static int64_t system_milliseconds();

  private:
    // The checks of a proved replay and the entry it proves; Accepted once the entry is stored.
    Reason store_proved(std::span<const uint8_t> upload, std::span<const uint8_t> replay, std::optional<int64_t> id,
                        UploadOutcome& outcome);

    EntryStore& store_;
    ProofQueue proofs_;
    Clock now_;
    std::chrono::milliseconds proof_limit_;
    // Proofs take a core each; more at once would only slow every one of them and the pages.
    std::counting_semaphore<1024> proof_slots_;
};

}  // namespace bestenliste
