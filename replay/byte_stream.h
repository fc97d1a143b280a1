// SPDX-License-Identifier: GPL-3.0-or-later
// Little-endian numbers, variable-length integers and texts into and out of a byte buffer. The
// reader checks every length against what is there, so a damaged file stops with a message.
#pragma once

#include <bit>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "replay/stop.h"

namespace replay {

class ByteWriter {
  public:
    void u8(uint8_t v) { bytes_.push_back(v); }
    // Widths past eight bytes are zero-filled, never shifted by 64 or more.
    void fixed(uint64_t v, int size) {
        for (int k = 0; k < size; ++k) bytes_.push_back(k < 8 ? static_cast<uint8_t>(v >> (8 * k)) : uint8_t{0});
    }
    void varint(uint64_t v) {
        while (v >= 0x80) {
            bytes_.push_back(static_cast<uint8_t>(v | 0x80));
            v >>= 7;
        }
        bytes_.push_back(static_cast<uint8_t>(v));
    }
    // Small numbers of either sign stay short.
    void signedVarint(int64_t v) { varint((static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63)); }
    void f32(float v) { fixed(std::bit_cast<uint32_t>(v), 4); }
    void bytes(std::span<const uint8_t> b) {
        varint(b.size());
        bytes_.insert(bytes_.end(), b.begin(), b.end());
    }
    void text(const std::string& s) { bytes({reinterpret_cast<const uint8_t*>(s.data()), s.size()}); }

    const std::vector<uint8_t>& data() const { return bytes_; }
    std::vector<uint8_t>& data() { return bytes_; }

  private:
    std::vector<uint8_t> bytes_;
};

class ByteReader {
  public:
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool atEnd() const { return pos_ == bytes_.size(); }
    size_t position() const { return pos_; }
    std::span<const uint8_t> rest() const { return bytes_.subspan(pos_); }

    uint8_t u8() {
        need(1);
        return bytes_[pos_++];
    }
    uint8_t peek() const {
        if (pos_ >= bytes_.size()) truncated();
        return bytes_[pos_];
    }
    uint64_t fixed(int size) {
        need(static_cast<size_t>(size));
        uint64_t v = 0;
        for (int k = 0; k < size; ++k) v |= uint64_t{bytes_[pos_++]} << (8 * k);
        return v;
    }
    uint64_t varint() {
        uint64_t v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const uint8_t b = u8();
            v |= uint64_t{b & 0x7fu} << shift;
            if (!(b & 0x80)) return v;
        }
        throw ReplayStop{StopKind::Unreadable, "the replay is damaged (a number runs on)"};
    }
    int64_t signedVarint() {
        const uint64_t z = varint();
        return static_cast<int64_t>(z >> 1) ^ -static_cast<int64_t>(z & 1);
    }
    float f32() { return std::bit_cast<float>(static_cast<uint32_t>(fixed(4))); }
    std::span<const uint8_t> bytes() {
        const uint64_t n = varint();
        if (n > bytes_.size() - pos_) truncated();
        const auto out = bytes_.subspan(pos_, static_cast<size_t>(n));
        pos_ += static_cast<size_t>(n);
        return out;
    }
    std::string text() {
        const auto b = bytes();
        return {reinterpret_cast<const char*>(b.data()), b.size()};
    }

  private:
    void need(size_t n) const {
        if (n > bytes_.size() - pos_) truncated();
    }
    [[noreturn]] static void truncated() {
        throw ReplayStop{StopKind::Unreadable, "the replay is damaged or truncated"};
    }

    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

}  // namespace replay
