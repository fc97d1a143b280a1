// SPDX-License-Identifier: GPL-3.0-or-later
// MT19937 as Matsumoto and Nishimura defined it, with the block-and-position layout of its state.
#include "base/mersenne_twister.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace base {

namespace {

constexpr size_t kShift = 397;
constexpr uint32_t kMatrix = 0x9908b0dfu;
constexpr uint32_t kUpper = 0x80000000u;
constexpr uint32_t kLower = 0x7fffffffu;

// The next number of `text` from `at` on: digits only, after any whitespace; nothing when
// there is none or it does not fit in 32 bits.
bool nextNumber(std::string_view text, size_t& at, uint32_t& value) {
    while (at < text.size() && std::string_view(" \t\n\r\f\v").find(text[at]) != std::string_view::npos) ++at;
    if (at == text.size() || text[at] < '0' || text[at] > '9') return false;
    const char* begin = text.data() + at;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc()) return false;
    at += static_cast<size_t>(stop - begin);
    // A number ends at whitespace or the end of the text, never inside a word like "12x".
    return at == text.size() || std::string_view(" \t\n\r\f\v").find(text[at]) != std::string_view::npos;
}

}  // namespace

void MersenneTwister::Seed(uint32_t seed) {
    words_[0] = seed;
    for (size_t i = 1; i < kWords; ++i)
        words_[i] = 1812433253u * (words_[i - 1] ^ (words_[i - 1] >> 30)) + static_cast<uint32_t>(i);
    position_ = kWords;
}

void MersenneTwister::NextBlock() {
    for (size_t k = 0; k < kWords; ++k) {
        const uint32_t y = (words_[k] & kUpper) | (words_[(k + 1) % kWords] & kLower);
        words_[k] = words_[(k + kShift) % kWords] ^ (y >> 1) ^ ((y & 1u) ? kMatrix : 0u);
    }
    position_ = 0;
}

uint32_t MersenneTwister::operator()() {
    if (position_ >= kWords) NextBlock();
    uint32_t y = words_[position_++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9d2c5680u;
    y ^= (y << 15) & 0xefc60000u;
    y ^= y >> 18;
    return y;
}

std::string MersenneTwister::Text() const {
    std::string text;
    text.reserve(kWords * 11 + 4);
    for (uint32_t w : words_) text += std::to_string(w) + ' ';
    text += std::to_string(position_);
    return text;
}

bool MersenneTwister::SetText(std::string_view text) {
    std::vector<uint32_t> numbers;
    numbers.reserve(kWords + 1);
    size_t at = 0;
    for (;;) {
        uint32_t value = 0;
        const size_t before = at;
        if (!nextNumber(text, at, value)) {
            // Only whitespace may follow the last number.
            if (text.find_first_not_of(" \t\n\r\f\v", before) != std::string_view::npos) return false;
            break;
        }
        if (numbers.size() == kWords + 1) return false;
        numbers.push_back(value);
    }
    if (numbers.size() == kWords) numbers.push_back(kWords);
    if (numbers.size() != kWords + 1 || numbers[kWords] > kWords) return false;
    std::copy_n(numbers.begin(), kWords, words_.begin());
    position_ = numbers[kWords];
    return true;
}

}  // namespace base
