// SPDX-License-Identifier: GPL-3.0-or-later
// Band-limited oscillators whose frequency may change every sample (sweeps, vibrato)
// without a break in the phase.
#pragma once

namespace synth {

enum class Wave { Sine, Saw, Pulse, Triangle };

class Oscillator {
  public:
    // `duty` is the high share of a pulse; `phase` the starting point of the cycle (0..1).
    explicit Oscillator(Wave wave, double duty = 0.5, double phase = 0.0) : wave_(wave), duty_(duty), phase_(phase) {}

    // The next sample (-1..1) at `frequency` Hz.
    double next(double frequency);

  private:
    Wave wave_;
    double duty_;
    double phase_;
};

}  // namespace synth
