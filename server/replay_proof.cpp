// SPDX-License-Identifier: GPL-3.0-or-later
// The replay's verdicts, folded into the refusals a player can act on.
#include "server/replay_proof.h"

#include "replay/prove.h"

namespace bestenliste {

namespace {

Reason reason_of(replay::Verdict verdict) {
    switch (verdict) {
        case replay::Verdict::Proved: return Reason::Accepted;
        case replay::Verdict::Mismatch:
        case replay::Verdict::NoUpload: return Reason::ReplayMismatch;
        case replay::Verdict::TimedOut: return Reason::ReplayTimedOut;
        case replay::Verdict::DriverInput: return Reason::ReplayNotPlayed;
        case replay::Verdict::Unhashed: return Reason::ReplayUnhashed;
        case replay::Verdict::BadStart: return Reason::ReplayBadStart;
        case replay::Verdict::OutOfSync:
        case replay::Verdict::Unreadable:
        case replay::Verdict::WrongVersion: break;
    }
    return Reason::ReplayUnreadable;
}

}  // namespace

ReplayProof prove_by_replay(std::span<const uint8_t> replay, std::span<const uint8_t> upload,
                            std::chrono::milliseconds limit) {
    auto proof = replay::ProveUpload(replay, upload, limit);
    return {reason_of(proof.verdict), std::move(proof.publicGame), proof.gameKey};
}

}  // namespace bestenliste
