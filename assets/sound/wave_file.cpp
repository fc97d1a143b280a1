// SPDX-License-Identifier: GPL-3.0-or-later
// The RIFF/WAVE writer; numbers are written byte by byte, little-endian, whatever the host.
#include "wave_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace synth {
namespace {

void put16(std::vector<unsigned char>& out, uint32_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

void put32(std::vector<unsigned char>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void put_tag(std::vector<unsigned char>& out, const char (&tag)[5]) { out.insert(out.end(), tag, tag + 4); }

int16_t to_pcm(float v) {
    const long s = std::lround(static_cast<double>(v) * 32767.0);
    return static_cast<int16_t>(std::clamp(s, -32768L, 32767L));
}

}  // namespace

void write_wave_file(const std::filesystem::path& path, const Stereo& sound) {
    constexpr uint32_t kChannels = 2, kBits = 16, kBlockAlign = kChannels * kBits / 8;
    const auto data_bytes = static_cast<uint32_t>(sound.frames() * kBlockAlign);

    std::vector<unsigned char> bytes;
    bytes.reserve(44 + data_bytes);
    put_tag(bytes, "RIFF");
    put32(bytes, 36 + data_bytes);
    put_tag(bytes, "WAVE");
    put_tag(bytes, "fmt ");
    put32(bytes, 16);
    put16(bytes, 1);  // PCM
    put16(bytes, kChannels);
    put32(bytes, kSampleRate);
    put32(bytes, kSampleRate * kBlockAlign);
    put16(bytes, kBlockAlign);
    put16(bytes, kBits);
    put_tag(bytes, "data");
    put32(bytes, data_bytes);
    for (std::size_t i = 0; i < sound.frames(); ++i) {
        put16(bytes, static_cast<uint16_t>(to_pcm(sound.left[i])));
        put16(bytes, static_cast<uint16_t>(to_pcm(sound.right[i])));
    }

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace synth
