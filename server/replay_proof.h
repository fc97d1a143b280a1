// SPDX-License-Identifier: GPL-3.0-or-later
// Proving an upload by its replay with the game's own rules, as a reason of the upload desk.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

#include "server/refusal.h"

namespace bestenliste {

struct ReplayProof {
    Reason reason = Reason::Accepted;
    std::vector<uint8_t> public_game;  // what is stored and published: the game without personal data
    uint64_t game_key = 0;             // the same game under any nickname has this key
};

// Accepted when re-simulating the replay writes exactly these upload bytes within the limit.
ReplayProof prove_by_replay(std::span<const uint8_t> replay, std::span<const uint8_t> upload,
                            std::chrono::milliseconds limit);

}  // namespace bestenliste
