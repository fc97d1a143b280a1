// SPDX-License-Identifier: GPL-3.0-or-later
// A database failure is reported as such and never as a refusal of the file.
#include "server/upload_desk.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <thread>

#include "base/cp1252.h"
#include "server/replay_proof.h"
#include "server/upload_checks.h"

namespace bestenliste {

UploadDesk::UploadDesk(EntryStore& store, Clock now, std::chrono::milliseconds proof_limit)
    : store_(store),
      now_(std::move(now)),
      proof_limit_(proof_limit),
      proof_slots_(std::clamp<std::ptrdiff_t>(std::thread::hardware_concurrency(), 1, 1024)) {}

int64_t UploadDesk::system_milliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

UploadOutcome UploadDesk::take(std::span<const uint8_t> upload, std::optional<std::span<const uint8_t>> replay) {
    const CheckedUpload checked = check_upload_bytes(upload);
    if (checked.reason != Reason::Accepted) {
        return {checked.reason};
    }
    try {
        ReplayProof proof;
        std::string game_key;
        if (replay) {
            // A stored file needs no proof; the insert below still settles a race between two.
            if (store_.contains(upload)) return {Reason::Duplicate};
            proof_slots_.acquire();
            proof = prove_by_replay(*replay, upload, proof_limit_);
            proof_slots_.release();
            if (proof.reason != Reason::Accepted) return {proof.reason};
            // What is stored is the game's public part, which a real game keeps small.
            if (proof.public_game.size() > replay::kLargestPublicGame) return {Reason::TooLarge};
            char key[17];
            std::snprintf(key, sizeof key, "%016llx", static_cast<unsigned long long>(proof.game_key));
            game_key = key;
            // One game, one entry: the same play under another name proves nothing new.
            if (store_.holds_game(game_key)) return {Reason::ReplayReused};
        }
        NewEntry entry;
        if (replay) {
            entry.replay = std::span<const uint8_t>(proof.public_game);
            entry.game_key = game_key;
        }
        entry.upload = upload;
        entry.nickname = cp1252::to_utf8(checked.entry.FeldText[1]);
        entry.days = checked.entry.t;
        entry.uploaded_ms = now_();
        const auto id = store_.insert(entry);
        if (!id) {
            return {replay && !store_.contains(upload) ? Reason::ReplayReused : Reason::Duplicate};
        }
        UploadOutcome outcome{Reason::Accepted, replay.has_value(), *id, 0};
        try {
            if (const auto stored = store_.find(*id)) outcome.rank = stored->rank;
        } catch (const std::exception&) {
            // The entry is committed; only its rank cannot be told right now.
        }
        return outcome;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vorlanix-bestenliste: storing an upload failed: %s\n", database_message(error).c_str());
        return {Reason::StorageFailed};
    }
}

}  // namespace bestenliste
