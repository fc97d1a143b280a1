// Proving an upload by its replay with the game's own rules, as a reason of the upload desk.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>

#include "server/refusal.h"

namespace bestenliste {

// Accepted when re-simulating the replay writes exactly these upload bytes within the limit.
Reason prove_by_replay(std::span<const uint8_t> replay, std::span<const uint8_t> upload,
                       std::chrono::milliseconds limit);

}  // namespace bestenliste
