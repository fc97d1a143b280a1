// SPDX-License-Identifier: GPL-3.0-or-later
// Writing and checking the replay file's header, its check sum and the compressed stream.
#include "replay/format.h"

#include <zlib.h>

#include <cstring>

#include "replay/byte_stream.h"

namespace replay {

namespace {

constexpr uint8_t kMagic[8] = {'V', 'X', 'R', 'E', 'P', 'L', 'A', 'Y'};

[[noreturn]] void unreadable(const std::string& why) { throw ReplayStop{StopKind::Unreadable, why}; }

// Reads the header; leaves the reader at the stream's size field.
Header readHeader(ByteReader& in) {
    if (in.rest().size() < sizeof kMagic || std::memcmp(in.rest().data(), kMagic, sizeof kMagic) != 0)
        unreadable("this is not a Vorlanix replay");
    in.fixed(sizeof kMagic);
    Header h;
    h.formatVersion = static_cast<uint16_t>(in.fixed(2));
    if (h.formatVersion != kFormatVersion)
        throw ReplayStop{StopKind::WrongVersion, "the replay has file format " + std::to_string(h.formatVersion) +
                                                     "; this program reads format " + std::to_string(kFormatVersion)};
    h.simulationVersion = static_cast<uint16_t>(in.fixed(2));
    h.programVersion = in.text();
    if (h.simulationVersion != kSimulationVersion)
        throw ReplayStop{StopKind::WrongVersion, "the replay was played with the rules of simulation version " +
                                                     std::to_string(h.simulationVersion) + " (Vorlanix " +
                                                     h.programVersion + "); this program plays version " +
                                                     std::to_string(kSimulationVersion) +
                                                     ", so a Vorlanix of simulation version " +
                                                     std::to_string(h.simulationVersion) + " plays it"};
    const uint8_t kind = in.u8();
    if (kind > 2) unreadable("the replay is damaged (unknown kind " + std::to_string(kind) + ")");
    h.kind = static_cast<ReplayKind>(kind);
    h.seed = static_cast<uint32_t>(in.fixed(4));
    h.startTick = static_cast<uint32_t>(in.fixed(4));
    h.recordedAt = static_cast<int64_t>(in.fixed(8));
    h.dataDir = in.text();
    h.soundDir = in.text();
    h.assetDir = in.text();
    return h;
}

}  // namespace

std::vector<uint8_t> EncodeReplay(const Header& header, std::span<const uint8_t> stream) {
    ByteWriter out;
    for (uint8_t b : kMagic) out.u8(b);
    out.fixed(header.formatVersion, 2);
    out.fixed(header.simulationVersion, 2);
    out.text(header.programVersion);
    out.u8(static_cast<uint8_t>(header.kind));
    out.fixed(header.seed, 4);
    out.fixed(header.startTick, 4);
    out.fixed(static_cast<uint64_t>(header.recordedAt), 8);
    out.text(header.dataDir);
    out.text(header.soundDir);
    out.text(header.assetDir);

    uLongf packedSize = compressBound(static_cast<uLong>(stream.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, stream.data(), static_cast<uLong>(stream.size()), Z_BEST_COMPRESSION) !=
        Z_OK)
        throw std::bad_alloc();
    packed.resize(packedSize);
    out.varint(stream.size());
    out.fixed(crc32(0, packed.data(), static_cast<uInt>(packed.size())), 4);
    out.bytes(packed);
    return std::move(out.data());
}

Header DecodeHeader(std::span<const uint8_t> file) {
    ByteReader in(file);
    return readHeader(in);
}

ReplayFile DecodeReplay(std::span<const uint8_t> file) {
    ByteReader in(file);
    ReplayFile r;
    r.header = readHeader(in);
    const uint64_t size = in.varint();
    if (size > kLargestStream)
        unreadable("the replay is damaged (its stream claims " + std::to_string(size) + " bytes)");
    const uint32_t sum = static_cast<uint32_t>(in.fixed(4));
    const auto packed = in.bytes();
    if (!in.atEnd()) unreadable("the replay is damaged (bytes after its end)");
    // zlib packs at most about 1032 to 1: a larger claim is damage, and must not cost the memory it names.
    if (size > packed.size() * 1032 + 64) unreadable("the replay is damaged (its stream claims more than it holds)");
    if (crc32(0, packed.data(), static_cast<uInt>(packed.size())) != sum)
        unreadable("the replay is damaged (its check sum does not match)");
    r.stream.resize(static_cast<size_t>(size));
    uLongf got = static_cast<uLongf>(size);
    if (uncompress(r.stream.data(), &got, packed.data(), static_cast<uLong>(packed.size())) != Z_OK || got != size)
        unreadable("the replay is damaged (its stream does not unpack)");
    return r;
}

}  // namespace replay
