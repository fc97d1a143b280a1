// SPDX-License-Identifier: GPL-3.0-or-later
// The sounds of things struck in space: planets, moons, fragments and glass.
#include <algorithm>
#include <cmath>

#include "effects.h"
#include "envelope.h"
#include "filter.h"
#include "mixer.h"
#include "noise.h"
#include "oscillator.h"

namespace synth {

Stereo deep_impact() {
    constexpr double kLength = 1.5;
    Oscillator boom(Wave::Sine);
    Noise crack_noise(71);
    Svf crack(3000.0, 0.7);
    const Mono core = render(kLength, [&](double t) {
        // The boom: a sine falling from 110 to 42 Hz, saturated so that its overtones carry
        // it on small speakers too.
        const double f = 42.0 + 68.0 * std::exp(-t / 0.12);
        const double b = std::tanh(3.5 * boom.next(f) * strike(t, 0.002, 0.3));
        const double c = crack.process(crack_noise.next()).low * strike(t, 0.0005, 0.012);
        return 0.8 * b + 0.6 * c;
    });
    // The ground shaking: deep rumble, with a crunch of mid noise at the strike.
    Stereo s = per_channel([](int side) {
        Noise noise(73 + side);
        Svf low(250.0, 0.9), mid(1000.0, 0.7);
        return render(kLength, [&](double t) {
            const double n = noise.next();
            return 4.0 * low.process(n).low * strike(t, 0.01, 0.4) + 1.2 * mid.process(n).low * strike(t, 0.003, 0.12);
        });
    });
    mix(s, core, 0, 1.0);
    fade_ends(s, 0.0, 0.25);
    return s;
}

Stereo rocky_explosion() {
    constexpr double kLength = 1.3;
    Stereo s = per_channel([](int side) {
        Noise noise(81 + side);
        Svf roar(5000.0, 0.8);
        Oscillator thump(Wave::Sine);
        return render(kLength, [&](double t) {
            // The blast darkens as it spreads: its cutoff falls from 5 kHz to 300 Hz, and its
            // gain rises as the band narrows, so the roar does not fade with its brightness.
            const double cutoff = 300.0 + 4700.0 * std::exp(-t / 0.15);
            roar.set(cutoff, 0.8);
            const double blast =
                roar.process(noise.next()).low * std::pow(5000.0 / cutoff, 0.4) * strike(t, 0.003, 0.3);
            const double body = thump.next(40.0 + 40.0 * std::exp(-t / 0.05)) * strike(t, 0.002, 0.15);
            return 0.9 * blast + 0.7 * body;
        });
    });
    // Rock debris clatters around, thick at first and thinning out: short ringing noise grains.
    Noise scatter(89);
    for (uint32_t i = 0; i < 45; ++i) {
        const double at = 0.03 + std::pow(scatter.uniform(), 1.8);
        const double centre = scatter.range(500.0, 3200.0);
        const double decay = scatter.range(0.004, 0.014);
        const double pan = scatter.range(-0.8, 0.8);
        Noise grain_noise(1000 + i);
        Svf ring(centre, 4.0);
        const Mono grain = render(
            6.0 * decay, [&](double t) { return ring.process(grain_noise.next()).band * strike(t, 0.0008, decay); });
        mix(s, grain, frames_of(at), 0.8 * std::exp(-at / 0.5), pan);
    }
    s.resize(frames_of(kLength));
    normalise_peak(s, 0.0);
    saturate(s, 2.5);
    fade_ends(s, 0.0, 0.15);
    return s;
}

Stereo crackle() {
    constexpr double kLength = 0.6;
    Stereo s = per_channel([](int side) {
        Noise noise(91 + side);
        Svf spark(3500.0, 2.5), hiss(6000.0, 0.7), crunch(600.0, 0.8);
        return render(kLength, [&](double t) {
            // Sparks: random impulses, dense at first and thinning out, each ringing briefly at
            // its own pitch.
            double impulse = 0.0;
            if (noise.uniform() < (900.0 * std::exp(-t / 0.15) + 60.0) / kSampleRate) {
                impulse = noise.range(2.0, 6.0) * (noise.uniform() < 0.5 ? -1.0 : 1.0);
                spark.set(noise.range(1800.0, 5500.0), 2.5);
            }
            const double sparks = spark.process(impulse).band;
            const double bed = 0.25 * hiss.process(noise.next()).high * strike(t, 0.002, 0.12);
            const double first = crunch.process(noise.next()).low * strike(t, 0.001, 0.02);
            return sparks + bed + first;
        });
    });
    normalise_peak(s, 0.0);
    saturate(s, 2.5);
    fade_ends(s, 0.0, 0.05);
    return s;
}

Stereo glass_chime() {
    constexpr double kLength = 1.4;
    // A struck glass rings at inharmonic partials, and each higher partial dies away sooner.
    struct Partial {
        double ratio, level, decay;
    };
    constexpr Partial kGlass[] = {{1.0, 1.0, 0.55}, {2.32, 0.5, 0.3}, {4.25, 0.3, 0.16}, {6.63, 0.15, 0.09}};
    // Three light strikes: E6, B6, G#6.
    struct Strike {
        double at, note, level;
    };
    constexpr Strike kStrikes[] = {{0.0, 88.0, 1.0}, {0.11, 95.0, 0.7}, {0.22, 92.0, 0.6}};
    Stereo s = per_channel([&](int side) {
        Mono channel(frames_of(kLength));
        for (const Strike& hit : kStrikes) {
            const double f = note_frequency(hit.note);
            Noise noise(121 + side);
            OnePole tick_tone(4000.0);
            const Mono ring = render(kLength - hit.at, [&](double t) {
                double v = 0.3 * tick_tone.highpass(noise.next()) * strike(t, 0.0002, 0.001);
                for (const Partial& p : kGlass) {
                    // Partials above the band would fold back as false tones; the sides are
                    // detuned by a hair, so the glass shimmers between them.
                    const double pf = f * p.ratio + (side ? 0.8 : -0.8);
                    if (pf < 0.45 * kSampleRate)
                        v += p.level * std::sin(2.0 * kPi * pf * t) * strike(t, 0.001, p.decay);
                }
                return hit.level * v;
            });
            const std::size_t at = frames_of(hit.at);
            for (std::size_t i = 0; i < ring.size() && at + i < channel.size(); ++i) channel[at + i] += ring[i];
        }
        return channel;
    });
    fade_ends(s, 0.0, 0.1);
    return s;
}

}  // namespace synth
