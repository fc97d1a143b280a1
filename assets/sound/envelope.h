// SPDX-License-Identifier: GPL-3.0-or-later
// Amplitude envelopes: the attack-decay-sustain-release shape of a played note and the
// plain exponential decay of a struck sound.
#pragma once

#include <algorithm>
#include <cmath>

namespace synth {

struct Adsr {
    double attack;   // seconds to full level
    double decay;    // time constant of the fall towards the sustain level
    double sustain;  // level while held, 0..1
    double release;  // seconds from the end of the gate to silence

    // Level `t` seconds after the note starts, for a note held `gate` seconds. The release
    // starts from wherever the level stands when the gate closes, so short notes never jump.
    double level(double t, double gate) const {
        if (t < gate) return held(t);
        const double x = std::clamp((t - gate) / release, 0.0, 1.0);
        return held(gate) * (1.0 - x) * (1.0 - x);
    }
    double length(double gate) const { return gate + release; }

  private:
    double held(double t) const {
        if (t < attack) return t / attack;
        return sustain + (1.0 - sustain) * std::exp(-(t - attack) / decay);
    }
};

// A struck sound: a short linear attack (which keeps the onset free of clicks), then an
// exponential fall with time constant `decay`.
inline double strike(double t, double attack, double decay) {
    if (t < attack) return t / attack;
    return std::exp(-(t - attack) / decay);
}

}  // namespace synth
