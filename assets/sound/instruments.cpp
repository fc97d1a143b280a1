// SPDX-License-Identifier: GPL-3.0-or-later
// The music's instruments. Every voice starts with an attack of a millisecond or more, so no
// note clicks, not even the one that sits on the loop point.
#include "instruments.h"

#include <algorithm>
#include <cmath>

#include "envelope.h"
#include "filter.h"
#include "noise.h"
#include "oscillator.h"

namespace synth {

Mono lead(double frequency, double gate) {
    const Adsr shape{0.004, 0.15, 0.6, 0.08};
    Oscillator narrow(Wave::Pulse, 0.25), square(Wave::Pulse, 0.5);
    Svf tone(4000.0, 0.8);
    return render(shape.length(gate), [&](double t) {
        // Vibrato fades in after the attack, as a player would add it to a held note.
        const double depth = 0.006 * std::clamp((t - 0.15) / 0.2, 0.0, 1.0);
        const double f = frequency * (1.0 + depth * std::sin(2.0 * kPi * 5.5 * t));
        tone.set(2200.0 + 3000.0 * std::exp(-t / 0.1), 0.8);
        return tone.process(0.6 * narrow.next(f) + 0.4 * square.next(1.004 * f)).low * shape.level(t, gate);
    });
}

Mono bell(double frequency, double gate) {
    return render(gate + 0.4, [&](double t) {
        const double v = std::sin(2.0 * kPi * frequency * t) + 0.25 * std::sin(2.0 * kPi * 3.0 * frequency * t);
        return v * strike(t, 0.002, 0.25);
    });
}

Mono bass(double frequency, double gate) {
    const Adsr shape{0.003, 0.2, 0.55, 0.04};
    Oscillator saw(Wave::Saw), square(Wave::Pulse, 0.5);
    Svf tone(800.0, 1.6);
    return render(shape.length(gate), [&](double t) {
        // The filter snaps shut after each attack: the pluck that drives the line.
        tone.set(180.0 + 1400.0 * std::exp(-t / 0.07), 1.6);
        const double v = tone.process(0.7 * saw.next(frequency) + 0.4 * square.next(frequency)).low;
        return std::tanh(1.5 * v) * shape.level(t, gate);
    });
}

Mono arp(double frequency, double gate) {
    const Adsr shape{0.002, 0.06, 0.0, 0.03};
    Oscillator square(Wave::Pulse, 0.5);
    OnePole tone(3500.0);
    return render(shape.length(gate),
                  [&](double t) { return tone.lowpass(square.next(frequency)) * shape.level(t, gate); });
}

Mono pad(double frequency, double gate) {
    const Adsr shape{0.25, 0.6, 0.7, 0.4};
    Oscillator saws[] = {Oscillator(Wave::Saw, 0.5, 0.0), Oscillator(Wave::Saw, 0.5, 0.33),
                         Oscillator(Wave::Saw, 0.5, 0.67)};
    constexpr double kDetune[] = {0.994, 1.0, 1.006};
    OnePole first(1200.0), second(1200.0);
    return render(shape.length(gate), [&](double t) {
        double v = 0.0;
        for (int i = 0; i < 3; ++i) v += saws[i].next(kDetune[i] * frequency) / 3.0;
        return second.lowpass(first.lowpass(v)) * shape.level(t, gate);
    });
}

namespace {

Mono kick(Noise& noise) {
    Oscillator body(Wave::Sine);
    OnePole click_tone(3000.0);
    return render(0.4, [&](double t) {
        const double f = 45.0 + 110.0 * std::exp(-t / 0.03);
        const double v =
            body.next(f) * strike(t, 0.001, 0.2) + 0.3 * click_tone.lowpass(noise.next()) * strike(t, 0.0005, 0.003);
        return std::tanh(1.6 * v);
    });
}

Mono snare(Noise& noise) {
    Oscillator shell(Wave::Sine);
    Svf wires(2500.0, 0.7);
    return render(0.3, [&](double t) {
        const double rattle = wires.process(noise.next()).band * strike(t, 0.001, 0.1);
        return 0.5 * shell.next(185.0) * strike(t, 0.001, 0.05) + 1.4 * rattle;
    });
}

Mono cymbal(Noise& noise, double cutoff, double length, double decay) {
    Svf sizzle(cutoff, 0.7);
    return render(length, [&](double t) { return sizzle.process(noise.next()).high * strike(t, 0.001, decay); });
}

Mono tom(Noise& noise, double high, double low) {
    Oscillator skin(Wave::Sine);
    OnePole thud(1500.0);
    return render(0.45, [&](double t) {
        const double f = low + (high - low) * std::exp(-t / 0.08);
        return skin.next(f) * strike(t, 0.001, 0.15) + 0.2 * thud.lowpass(noise.next()) * strike(t, 0.001, 0.02);
    });
}

}  // namespace

Mono drum(char name, uint32_t seed) {
    Noise noise(seed);
    switch (name) {
        case 'k': return kick(noise);
        case 's': return snare(noise);
        case 'h': return cymbal(noise, 7000.0, 0.1, 0.018);
        case 'o': return cymbal(noise, 6000.0, 0.4, 0.12);
        case 'c': return cymbal(noise, 4000.0, 2.0, 0.6);
        case 't': return tom(noise, 170.0, 115.0);
        case 'm': return tom(noise, 120.0, 78.0);
        default: return {};
    }
}

}  // namespace synth
