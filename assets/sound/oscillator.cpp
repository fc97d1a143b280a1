// SPDX-License-Identifier: GPL-3.0-or-later
// Oscillators: saw and pulse edges are smoothed with polynomial band-limited steps, since at
// 22050 Hz the harmonics of a naive edge would fold back as audible aliasing.
#include "oscillator.h"

#include <algorithm>
#include <cmath>

#include "synth.h"

namespace synth {
namespace {

// Correction for a unit step at phase 0, spread over one sample on either side.
double band_limited_step(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

}  // namespace

double Oscillator::next(double frequency) {
    const double dt = std::clamp(frequency / kSampleRate, 0.0, 0.45);
    const double t = phase_;
    double value = 0.0;
    switch (wave_) {
        case Wave::Sine: value = std::sin(2.0 * kPi * t); break;
        case Wave::Saw: value = 2.0 * t - 1.0 - band_limited_step(t, dt); break;
        case Wave::Pulse:
            // Centred on zero whatever the duty: a narrow pulse would otherwise carry a DC offset.
            value = (t < duty_ ? 1.0 : -1.0) - (2.0 * duty_ - 1.0);
            value += band_limited_step(t, dt);
            value -= band_limited_step(std::fmod(t + 1.0 - duty_, 1.0), dt);
            break;
        case Wave::Triangle: value = t < 0.5 ? 4.0 * t - 1.0 : 3.0 - 4.0 * t; break;
    }
    phase_ += dt;
    if (phase_ >= 1.0) phase_ -= 1.0;
    return value;
}

}  // namespace synth
