// SPDX-License-Identifier: GPL-3.0-or-later
// The 32-bit Mersenne Twister (MT19937) the game draws its random numbers from, the same on every
// build: the same outputs as std::mt19937, and one text form of its state everywhere.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace base {

class MersenneTwister {
  public:
    static constexpr size_t kWords = 624;
    static constexpr uint32_t kDefaultSeed = 5489u;

    explicit MersenneTwister(uint32_t seed = kDefaultSeed) { Seed(seed); }
    void Seed(uint32_t seed);
    uint32_t operator()();

    // The state as text: the 624 words of the block and the position of the next draw in it
    // (624 when the block is used up), in decimal, separated by single spaces. GCC's library
    // writes std::mt19937 in exactly this form, so states written by its builds read here.
    std::string Text() const;
    // Takes a state in that form (any whitespace between the numbers; 624 words alone mean a used-up
    // block, as LLVM's library writes them). False, and the generator unchanged, when `text`
    // is no such state.
    bool SetText(std::string_view text);

    bool operator==(const MersenneTwister&) const = default;

  private:
    void NextBlock();

    std::array<uint32_t, kWords> words_{};
    size_t position_ = kWords;
};

}  // namespace base
