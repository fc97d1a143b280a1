// SPDX-License-Identifier: GPL-3.0-or-later
// hiscore.dat as the game reads it: any bytes decode into a usable list, and saving that list and
// reading it back gives the same list.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "score/hiscore_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const score::HiscoreData loaded = score::decode_hiscore(std::span(data, size));
    const auto saved = score::encode_hiscore(loaded);
    const score::HiscoreData again = score::decode_hiscore(saved);
    if (again.HSName != loaded.HSName || again.HSTage != loaded.HSTage || again.SpielerName != loaded.SpielerName ||
        again.FeldText != loaded.FeldText || again.NebelAn != loaded.NebelAn || again.SoundAn != loaded.SoundAn ||
        again.MusikAn != loaded.MusikAn)
        std::abort();
    for (int i = 1; i <= 8; ++i) {
        if (loaded.HSTage[i] < 1 || loaded.HSTage[i] > 28800) std::abort();
        score::rank_result(loaded, loaded.HSTage[i]);
    }
    return 0;
}
