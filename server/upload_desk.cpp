// SPDX-License-Identifier: GPL-3.0-or-later
// A database failure is reported as such and never as a refusal of the file.
#include "server/upload_desk.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <thread>

#include "base/cp1252.h"
#include "base/log.h"
#include "server/replay_proof.h"
#include "server/upload_checks.h"

namespace bestenliste {

UploadDesk::UploadDesk(EntryStore& store, Clock now, std::chrono::milliseconds proof_limit)
    : store_(store),
      proofs_(store),
      now_(std::move(now)),
      proof_limit_(proof_limit),
      proof_slots_(std::clamp<std::ptrdiff_t>(std::thread::hardware_concurrency(), 1, 1024)) {}

int64_t UploadDesk::system_milliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

Reason UploadDesk::store_proved(std::span<const uint8_t> upload, std::span<const uint8_t> replay,
                                std::optional<int64_t> id, UploadOutcome& outcome) {
    const CheckedUpload checked = check_upload_bytes(upload);
    if (checked.reason != Reason::Accepted) return checked.reason;
    proof_slots_.acquire();
    ReplayProof proof;
    try {
        proof = prove_by_replay(replay, upload, proof_limit_);
    } catch (...) {
        proof_slots_.release();
        throw;
    }
    proof_slots_.release();
    if (proof.reason != Reason::Accepted) return proof.reason;
    // What is stored is the game's public part, which a real game keeps small.
    if (proof.public_game.size() > replay::kLargestPublicGame) return Reason::TooLarge;
    char key[17];
    std::snprintf(key, sizeof key, "%016llx", static_cast<unsigned long long>(proof.game_key));
    // A job taken up again after its worker died may find its entry stored already.
    const auto stored_before = [&] { return id && store_.find(*id).has_value(); };
    // One game, one entry: the same play under another name proves nothing new.
    if (store_.holds_game(key)) return stored_before() ? Reason::Accepted : Reason::ReplayReused;
    NewEntry entry;
    entry.replay = std::span<const uint8_t>(proof.public_game);
    entry.game_key = key;
    entry.upload = upload;
    entry.nickname = cp1252::to_utf8(checked.entry.FeldText[1]);
    entry.days = checked.entry.t;
    entry.uploaded_ms = now_();
    entry.id = id;
    const auto inserted = store_.insert(entry);
    if (!inserted) {
        if (stored_before()) return Reason::Accepted;
        return store_.contains(upload) ? Reason::Duplicate : Reason::ReplayReused;
    }
    outcome.id = *inserted;
    outcome.proved = true;
    return Reason::Accepted;
}

UploadOutcome UploadDesk::take(std::span<const uint8_t> upload, std::optional<std::span<const uint8_t>> replay) {
    const CheckedUpload checked = check_upload_bytes(upload);
    if (checked.reason != Reason::Accepted) {
        return {checked.reason};
    }
    try {
        UploadOutcome outcome{Reason::Accepted};
        if (replay) {
            // A stored file needs no proof; the insert still settles a race between two.
            if (store_.contains(upload)) return {Reason::Duplicate};
            outcome.reason = store_proved(upload, *replay, std::nullopt, outcome);
            if (outcome.reason != Reason::Accepted) return {outcome.reason};
        } else {
            NewEntry entry;
            entry.upload = upload;
            entry.nickname = cp1252::to_utf8(checked.entry.FeldText[1]);
            entry.days = checked.entry.t;
            entry.uploaded_ms = now_();
            const auto id = store_.insert(entry);
            if (!id) return {Reason::Duplicate};
            outcome.id = *id;
        }
        try {
            if (const auto stored = store_.find(outcome.id)) outcome.rank = stored->rank;
        } catch (const std::exception&) {
            // The entry is committed; only its rank cannot be told right now.
        }
        return outcome;
    } catch (const std::exception& error) {
        base::Log("storing an upload failed: %s", database_message(error).c_str());
        return {Reason::StorageFailed};
    }
}

UploadOutcome UploadDesk::queue(std::span<const uint8_t> upload, std::span<const uint8_t> replay,
                                const std::string& address) {
    const CheckedUpload checked = check_upload_bytes(upload);
    if (checked.reason != Reason::Accepted) return {checked.reason};
    try {
        const auto id = proofs_.enqueue(upload, replay, address, now_());
        if (!id) return {Reason::Duplicate};
        return {Reason::Pending, false, *id};
    } catch (const std::exception& error) {
        base::Log("storing an upload failed: %s", database_message(error).c_str());
        return {Reason::StorageFailed};
    }
}

std::optional<Reason> UploadDesk::prove_next(const std::string& worker, std::chrono::milliseconds lease) {
    auto job = proofs_.claim(worker, now_(), lease);
    if (!job) return std::nullopt;
    Reason reason = Reason::ReplayTimedOut;
    const auto start = std::chrono::steady_clock::now();
    // A replay that ended its worker three times (a crash, memory) is not tried again.
    if (job->attempts <= 3) {
        UploadOutcome outcome;
        reason = store_proved(job->upload, job->replay, job->id, outcome);
    }
    // A failure of the database leaves the job to be claimed again when its lease has passed.
    proofs_.finish(job->id, reason, now_(),
                   std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start));
    return reason;
}

}  // namespace bestenliste
