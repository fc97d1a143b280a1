// SPDX-License-Identifier: GPL-3.0-or-later
// Writes small wave files for tests and benchmarks: PCM, two channels, 16 bits, as the game's
// sound buffers ask for.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace testing_support {

// `samples` holds the left and right sample of each frame in turn.
inline void WriteStereoWave(const std::filesystem::path& file, uint32_t rate, const std::vector<int16_t>& samples) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::ofstream f(file, std::ios::binary);
    auto u32 = [&](uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
    f.write("RIFF", 4);
    u32(36 + dataBytes);
    f.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(2);
    u32(rate);
    u32(rate * 4);
    u16(4);
    u16(16);
    f.write("data", 4);
    u32(dataBytes);
    f.write(reinterpret_cast<const char*>(samples.data()), dataBytes);
}

}  // namespace testing_support
