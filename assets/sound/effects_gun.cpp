// SPDX-License-Identifier: GPL-3.0-or-later
// The sounds of the player's gun: the shot, the hit, the empty click and the reload.
#include <algorithm>
#include <cmath>

#include "effects.h"
#include "envelope.h"
#include "filter.h"
#include "mixer.h"
#include "noise.h"
#include "oscillator.h"

namespace synth {

Stereo laser_shot() {
    constexpr double kLength = 0.26;
    Stereo s = per_channel([](int side) {
        Oscillator body(Wave::Pulse, 0.3), sub(Wave::Saw);
        Svf tone(6000.0, 1.2);
        Noise noise(11 + side);
        // The two sides a little apart in pitch: the beat between them widens the shot.
        const double detune = side ? 1.012 : 0.988;
        return render(kLength, [&](double t) {
            // The "pew": a fast exponential fall from a bright zap to a low buzz.
            const double f = detune * (260.0 + 2300.0 * std::exp(-t / 0.045));
            tone.set(std::min(3.5 * f, 9000.0), 1.2);
            const double buzz = tone.process(0.6 * body.next(f) + 0.4 * sub.next(0.5 * f)).low;
            const double spark = noise.next() * strike(t, 0.0005, 0.004);
            return (buzz + 0.5 * spark) * strike(t, 0.002, 0.06);
        });
    });
    fade_ends(s, 0.0, 0.02);
    return s;
}

Stereo sizzling_hit() {
    constexpr double kLength = 0.7;
    Stereo s = per_channel([](int side) {
        Oscillator zap(Wave::Saw);
        Noise noise(21 + side), jitter(31);
        Svf zap_tone(1800.0, 2.0), hiss(3200.0, 0.8);
        double pop = 0.0, pop_level = 0.0;
        const double pop_fall = std::exp(-1.0 / (0.003 * kSampleRate));
        return render(kLength, [&](double t) {
            // The strike: an electric zap falling from 900 to 150 Hz, shaken by random pitch jitter.
            const double f = (150.0 + 750.0 * std::exp(-t / 0.05)) * (1.0 + 0.15 * jitter.next());
            const double zapped = zap_tone.process(zap.next(f)).band * strike(t, 0.001, 0.06);
            // The sizzle: hiss that pops and spits like fat in a pan, thinning out as it cools.
            if (noise.uniform() < 320.0 * std::exp(-t / 0.35) / kSampleRate) {
                pop = 1.0;
                pop_level = noise.range(0.4, 1.0);
            }
            pop *= pop_fall;
            const double fizz = hiss.process(noise.next()).high * (0.3 + 1.4 * pop * pop_level);
            return 1.2 * zapped + fizz * strike(t, 0.003, 0.22);
        });
    });
    normalise_peak(s, 0.0);
    saturate(s, 3.0);
    fade_ends(s, 0.0, 0.08);
    return s;
}

Stereo empty_gun_click() {
    constexpr double kLength = 0.12;
    // A dry mechanism: the trigger's light tick, then the hammer falling on nothing. Each is a
    // tiny noise burst plus a few metal resonances that die within milliseconds.
    struct Click {
        double at, level;
        double ring[3];
    };
    constexpr Click kClicks[] = {{0.0, 0.6, {2900.0, 1700.0, 650.0}}, {0.034, 1.0, {2300.0, 1200.0, 480.0}}};
    constexpr double kRingDecay[] = {0.004, 0.006, 0.009};
    Stereo s(frames_of(kLength));
    uint32_t seed = 41;
    for (const Click& click : kClicks) {
        Noise noise(seed++);
        OnePole brightness(2500.0);
        const Mono tick = render(0.05, [&](double t) {
            double v = brightness.highpass(noise.next()) * strike(t, 0.0002, 0.0008);
            for (int r = 0; r < 3; ++r)
                v += 0.5 * std::sin(2.0 * kPi * click.ring[r] * t) * strike(t, 0.0003, kRingDecay[r]);
            return v;
        });
        mix(s, tick, frames_of(click.at), click.level);
    }
    return s;
}

Stereo power_up() {
    constexpr double kLength = 0.95;
    constexpr double kNoteGap = 0.055;
    // C major straight up over two octaves; the top note is held and trembles.
    constexpr int kNotes[] = {72, 76, 79, 84, 88, 91, 96};
    constexpr int kCount = sizeof kNotes / sizeof kNotes[0];
    Stereo s(frames_of(kLength));
    for (int i = 0; i < kCount; ++i) {
        const bool top = i == kCount - 1;
        const double f = note_frequency(kNotes[i]);
        const Adsr shape{0.002, 0.06, 0.5, top ? 0.25 : 0.05};
        const double gate = top ? 0.3 : 1.5 * kNoteGap;
        Oscillator square(Wave::Pulse, 0.5), octave(Wave::Sine);
        Svf tone(5000.0, 0.7);
        const Mono note = render(shape.length(gate), [&](double t) {
            const double vibrato = top ? 1.0 + 0.012 * std::sin(2.0 * kPi * 7.0 * t) * std::min(1.0, t / 0.1) : 1.0;
            const double v = 0.7 * square.next(f * vibrato) + 0.3 * octave.next(2.0 * f * vibrato);
            return tone.process(v).low * shape.level(t, gate);
        });
        mix(s, note, frames_of(i * kNoteGap), 0.5, i % 2 ? 0.3 : -0.3);
    }
    // Under the notes a filtered saw sweeps up with them and carries the rise.
    Oscillator riser(Wave::Saw);
    OnePole riser_tone(1500.0);
    const Mono sweep = render(kCount * kNoteGap + 0.1, [&](double t) {
        const double f = 150.0 * std::exp2(3.0 * t / (kCount * kNoteGap));
        return riser_tone.lowpass(riser.next(f)) * strike(t, 0.05, 0.2);
    });
    mix(s, sweep, 0, 0.25);
    add_echo(s, frames_of(0.09), 0.3, 0.35);
    fade_ends(s, 0.0, 0.1);
    return s;
}

}  // namespace synth
