// SPDX-License-Identifier: GPL-3.0-or-later
// Seeded white noise: every sound is generated from fixed seeds, so every build writes
// the same bytes.
#pragma once

#include <cstdint>

namespace synth {

class Noise {
  public:
    explicit Noise(uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {
        if (state_ == 0) state_ = 1;
    }

    // Uniform in [0, 1).
    double uniform() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 4294967296.0;
    }
    // Uniform in [-1, 1).
    double next() { return 2.0 * uniform() - 1.0; }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

  private:
    uint32_t state_;
};

}  // namespace synth
