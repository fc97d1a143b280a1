// SPDX-License-Identifier: GPL-3.0-or-later
// Filter coefficients; the state-variable filter is the trapezoidal (zero-delay feedback) form,
// which unlike the classic form does not blow up near the top of the 22050 Hz band.
#include "filter.h"

#include <algorithm>
#include <cmath>

#include "synth.h"

namespace synth {

void OnePole::set_cutoff(double cutoff_hz) { coefficient_ = 1.0 - std::exp(-2.0 * kPi * cutoff_hz / kSampleRate); }

double OnePole::lowpass(double x) {
    state_ += coefficient_ * (x - state_);
    return state_;
}

void Svf::set(double cutoff_hz, double q) {
    const double cutoff = std::clamp(cutoff_hz, 10.0, 0.45 * kSampleRate);
    const double g = std::tan(kPi * cutoff / kSampleRate);
    k_ = 1.0 / q;
    a1_ = 1.0 / (1.0 + g * (g + k_));
    a2_ = g * a1_;
    a3_ = g * a2_;
}

Svf::Outputs Svf::process(double x) {
    const double v3 = x - ic2_;
    const double v1 = a1_ * ic1_ + a2_ * v3;
    const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0 * v1 - ic1_;
    ic2_ = 2.0 * v2 - ic2_;
    return {v2, v1, x - k_ * v1 - v2};
}

}  // namespace synth
