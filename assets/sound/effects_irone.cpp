// SPDX-License-Identifier: GPL-3.0-or-later
// The sounds of the big Irone (its wet arrival, its alarm while it eats time, its death)
// and the ship's engine.
#include <algorithm>
#include <cmath>

#include "effects.h"
#include "envelope.h"
#include "filter.h"
#include "mixer.h"
#include "noise.h"
#include "oscillator.h"

namespace synth {
namespace {

// Bubbles bursting in slime: short sine chirps that rise an octave, scattered over a span.
void add_bubbles(Stereo& s, uint32_t seed, int count, double from, double to, double level) {
    Noise placement(seed);
    for (int i = 0; i < count; ++i) {
        const double at = placement.range(from, to);
        const double f0 = placement.range(280.0, 600.0);
        const double pan = placement.range(-0.7, 0.7);
        Oscillator bubble(Wave::Sine);
        const Mono pop =
            render(0.05, [&](double t) { return bubble.next(f0 * (1.0 + 20.0 * t)) * strike(t, 0.002, 0.012); });
        mix(s, pop, frames_of(at), level * (1.0 - 0.6 * (at - from) / (to - from)), pan);
    }
}

}  // namespace

Stereo heavy_wet_thud() {
    constexpr double kLength = 1.1;
    // The splat: noise through a resonant lowpass that falls and wobbles, so it squelches.
    Stereo s = per_channel([](int side) {
        Noise noise(41 + side);
        Svf splat(2000.0, 5.0);
        return render(kLength, [&](double t) {
            const double wobble = 1.0 + 0.45 * std::sin(2.0 * kPi * 17.0 * t + side);
            splat.set((180.0 + 2600.0 * std::exp(-t / 0.12)) * wobble, 5.0);
            return splat.process(noise.next()).low * strike(t, 0.004, 0.25);
        });
    });
    // The mass landing: a sine falling from 130 to 50 Hz, driven into soft saturation.
    Oscillator body(Wave::Sine);
    const Mono thud = render(kLength, [&](double t) {
        const double f = 50.0 + 80.0 * std::exp(-t / 0.06);
        return std::tanh(3.0 * body.next(f) * strike(t, 0.003, 0.22));
    });
    mix(s, thud, 0, 0.7);
    add_bubbles(s, 47, 5, 0.25, 0.8, 0.3);
    fade_ends(s, 0.0, 0.12);
    return s;
}

Stereo death_squelch() {
    constexpr double kLength = 0.9;
    Stereo s = per_channel([](int side) {
        Noise noise(101 + side);
        Oscillator cry(Wave::Saw), gurgle(Wave::Sine);
        Svf squelch(1500.0, 6.0), throat(800.0, 2.0);
        return render(kLength, [&](double t) {
            // The creature's last cry: a saw falling from 610 to 110 Hz, trembling.
            const double f = (110.0 + 500.0 * std::exp(-t / 0.25)) * (1.0 + 0.06 * std::sin(2.0 * kPi * 9.0 * t));
            throat.set(3.0 * f, 2.0);
            const double voice = throat.process(cry.next(f)).low * strike(t, 0.02, 0.3);
            // The squelch: wet noise through a ringing bandpass that slides down and wobbles.
            const double wobble = 1.0 + 0.35 * std::sin(2.0 * kPi * 13.0 * t + 0.7 * side);
            squelch.set((250.0 + 1600.0 * std::exp(-t / 0.2)) * wobble, 6.0);
            const double wet = squelch.process(noise.next() + 0.5 * voice).band * strike(t, 0.005, 0.25);
            const double gurgling = gurgle.next(90.0 + 60.0 * std::sin(2.0 * kPi * 25.0 * t)) * strike(t, 0.01, 0.2);
            return wet + 0.45 * voice + 0.3 * gurgling;
        });
    });
    add_bubbles(s, 109, 7, 0.12, 0.7, 0.35);
    fade_ends(s, 0.0, 0.1);
    return s;
}

Stereo suction_alarm() {
    // Two wails in 1.2 s. Every frequency below completes a whole number of cycles in the
    // loop (the wail's sine averages out), so the end of the file runs on into its start.
    constexpr std::size_t kLoop = 26460;
    return per_channel([](int side) {
        Noise noise(61 + side);
        Mono air(kLoop);
        for (float& v : air) v = static_cast<float>(noise.next());
        Oscillator low(Wave::Pulse, 0.5), high(Wave::Pulse, 0.5);
        Svf tone(2500.0, 0.7), suction(1000.0, 1.5);
        Mono out(kLoop);
        // The filters go round the loop twice and only the second round is kept: it starts
        // in the state the loop ends in.
        for (int round = 0; round < 2; ++round) {
            for (std::size_t i = 0; i < kLoop; ++i) {
                const double phase = static_cast<double>(i) / kLoop;
                const double wail = std::sin(2.0 * kPi * 2.0 * phase - kPi / 2.0);
                const double f = 780.0 + 260.0 * wail;
                const double throb = 0.7 + 0.3 * std::cos(2.0 * kPi * 20.0 * phase);
                const double siren = tone.process((0.5 * low.next(f) + 0.35 * high.next(1.25 * f)) * throb).low;
                // The Irone sucking: an airy whoosh that follows the siren's pitch.
                suction.set(0.8 * f, 1.5);
                const double whoosh = suction.process(air[i]).band;
                out[i] = static_cast<float>(siren + 0.5 * whoosh);
            }
        }
        return out;
    });
}

Stereo engine_hum() {
    constexpr double kLength = 1.5;
    Stereo s = per_channel([](int side) {
        Oscillator saw(Wave::Saw), fundamental(Wave::Sine), whine(Wave::Sine), firing(Wave::Sine);
        Noise noise(51 + side);
        OnePole tone(500.0), rumble(250.0);
        const double detune = side ? 1.002 : 0.998;
        return render(kLength, [&](double t) {
            // Warming up: the engine spins up from 45 to 70 Hz and opens up in tone.
            const double f = detune * (45.0 + 25.0 * (1.0 - std::exp(-t / 0.5)));
            tone.set_cutoff(500.0 + 600.0 * t / kLength);
            const double throb = 0.75 + 0.25 * firing.next(0.25 * f);
            const double hum = tone.lowpass(0.7 * saw.next(2.0 * f) + 0.6 * fundamental.next(f)) * throb;
            const double turbine = 0.06 * whine.next(12.0 * f);
            const double grit = 0.5 * rumble.lowpass(noise.next());
            return (hum + turbine + grit) * std::min(1.0, t / 0.2);
        });
    });
    fade_ends(s, 0.0, 0.3);
    return s;
}

}  // namespace synth
