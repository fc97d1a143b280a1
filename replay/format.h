// SPDX-License-Identifier: GPL-3.0-or-later
// The replay file: a short uncompressed header (what the replay is and which program plays it)
// followed by the zlib-compressed record stream. The layout is documented in doc/replay-format.md.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "replay/limits.h"

namespace replay {

// The layout of the file. A reader refuses any other.
inline constexpr uint16_t kFormatVersion = 1;
// The rules the recorded answers were played against. Raise it with every change of the rules
// that alters play: replays of the old rules are then refused with a clear message instead of
// going out of sync.
inline constexpr uint16_t kSimulationVersion = 1;

enum class ReplayKind : uint8_t {
    WholeRun = 0,   // from the program's start
    FromStart = 1,  // from a game's START, beginning with the program's state at that moment
    GameOnly = 2,   // a game's public part: from its START to its fixed result, nothing personal
};

struct Header {
    uint16_t formatVersion = kFormatVersion;
    uint16_t simulationVersion = kSimulationVersion;
    std::string programVersion;
    ReplayKind kind = ReplayKind::WholeRun;
    uint32_t seed = 0;
    uint32_t startTick = 0;  // the clock's first answer
    int64_t recordedAt = 0;  // seconds since 1970 (UTC), for the file name and the viewer only
    std::string dataDir;     // as the recorded program saw them; part of the texts it shows
    std::string soundDir;
    std::string assetDir;  // the art pack's directory; empty for the built-in pictures
};

struct ReplayFile {
    Header header;
    std::vector<uint8_t> stream;  // the records, uncompressed
};

std::vector<uint8_t> EncodeReplay(const Header& header, std::span<const uint8_t> stream);

// Throws ReplayStop (Unreadable or WrongVersion) with one line saying what is wrong.
ReplayFile DecodeReplay(std::span<const uint8_t> file);

// Only the header; the stream is neither unpacked nor checked. Throws as DecodeReplay.
Header DecodeHeader(std::span<const uint8_t> file);

}  // namespace replay
