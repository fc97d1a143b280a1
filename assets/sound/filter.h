// SPDX-License-Identifier: GPL-3.0-or-later
// Filters: a gentle one-pole for tone shaping and a resonant state-variable filter that stays
// stable while its cutoff sweeps every sample (squelches, falling explosions).
#pragma once

namespace synth {

class OnePole {
  public:
    explicit OnePole(double cutoff_hz) { set_cutoff(cutoff_hz); }
    void set_cutoff(double cutoff_hz);
    double lowpass(double x);
    double highpass(double x) { return x - lowpass(x); }

  private:
    double coefficient_ = 0.0;
    double state_ = 0.0;
};

class Svf {
  public:
    struct Outputs {
        double low, band, high;
    };

    Svf(double cutoff_hz, double q) { set(cutoff_hz, q); }
    // Higher `q` rings longer at the cutoff; 0.7 is flat.
    void set(double cutoff_hz, double q);
    Outputs process(double x);

  private:
    double k_ = 1.0, a1_ = 0.0, a2_ = 0.0, a3_ = 0.0;
    double ic1_ = 0.0, ic2_ = 0.0;
};

}  // namespace synth
