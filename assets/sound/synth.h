// SPDX-License-Identifier: GPL-3.0-or-later
// Basics shared by the whole sound generator: the sample rate of every wave file the game plays
// and the float sample buffers (full scale 1.0) that effects and music are built in.
#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

namespace synth {

inline constexpr int kSampleRate = 22050;
inline constexpr double kPi = 3.14159265358979323846;

using Mono = std::vector<float>;

struct Stereo {
    Mono left, right;

    Stereo() = default;
    explicit Stereo(std::size_t frames) : left(frames), right(frames) {}
    std::size_t frames() const { return left.size(); }
    void resize(std::size_t frames) {
        left.resize(frames);
        right.resize(frames);
    }
};

inline std::size_t frames_of(double seconds) { return static_cast<std::size_t>(std::lround(seconds * kSampleRate)); }

// Equal temperament with A4 (note 69) at 440 Hz.
inline double note_frequency(double note) { return 440.0 * std::exp2((note - 69.0) / 12.0); }

// Runs `sample(t)` for every frame of `seconds` (t in seconds from the start). The callable may
// carry state (oscillators, filters), so it is called strictly in order.
template <class Sample>
Mono render(double seconds, Sample&& sample) {
    Mono out(frames_of(seconds));
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<float>(sample(static_cast<double>(i) / kSampleRate));
    return out;
}

}  // namespace synth
