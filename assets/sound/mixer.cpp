// SPDX-License-Identifier: GPL-3.0-or-later
// Mixing, echo, loop closing and levels of the sound generator.
#include "mixer.h"

#include <algorithm>
#include <cmath>

namespace synth {

void mix(Stereo& out, const Mono& voice, std::size_t at, double gain, double pan) {
    if (out.frames() < at + voice.size()) out.resize(at + voice.size());
    const double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * kPi / 4.0;
    // sqrt(2) keeps a centred voice at `gain` in each channel.
    const double left = gain * std::sqrt(2.0) * std::cos(angle);
    const double right = gain * std::sqrt(2.0) * std::sin(angle);
    for (std::size_t i = 0; i < voice.size(); ++i) {
        out.left[at + i] += static_cast<float>(left * voice[i]);
        out.right[at + i] += static_cast<float>(right * voice[i]);
    }
}

void mix(Stereo& out, const Stereo& voice, std::size_t at, double gain) {
    if (out.frames() < at + voice.frames()) out.resize(at + voice.frames());
    for (std::size_t i = 0; i < voice.frames(); ++i) {
        out.left[at + i] += static_cast<float>(gain * voice.left[i]);
        out.right[at + i] += static_cast<float>(gain * voice.right[i]);
    }
}

Stereo centred(const Mono& voice) {
    Stereo s;
    s.left = voice;
    s.right = voice;
    return s;
}

void add_echo(Stereo& s, std::size_t delay, double feedback, double wet) {
    Stereo echo(s.frames());
    for (std::size_t i = delay; i < s.frames(); ++i) {
        const std::size_t j = i - delay;
        // Each side is fed by the other side's dry signal and echoes: the repeats bounce.
        echo.left[i] = static_cast<float>(s.right[j] + feedback * echo.right[j]);
        echo.right[i] = static_cast<float>(s.left[j] + feedback * echo.left[j]);
    }
    for (std::size_t i = 0; i < s.frames(); ++i) {
        s.left[i] += static_cast<float>(wet * echo.left[i]);
        s.right[i] += static_cast<float>(wet * echo.right[i]);
    }
}

void wrap_into_loop(Stereo& s, std::size_t length) {
    for (std::size_t i = length; i < s.frames(); ++i) {
        s.left[i % length] += s.left[i];
        s.right[i % length] += s.right[i];
    }
    s.resize(length);
}

void fade_ends(Stereo& s, double fade_in_seconds, double fade_out_seconds) {
    const std::size_t n = s.frames();
    const std::size_t in = std::min(n, frames_of(fade_in_seconds));
    const std::size_t out = std::min(n, frames_of(fade_out_seconds));
    for (std::size_t i = 0; i < in; ++i) {
        const float g = static_cast<float>(i) / static_cast<float>(in);
        s.left[i] *= g;
        s.right[i] *= g;
    }
    for (std::size_t i = 0; i < out; ++i) {
        // Reaches exactly zero on the last frame.
        const float g = static_cast<float>(i) / static_cast<float>(out);
        s.left[n - 1 - i] *= g;
        s.right[n - 1 - i] *= g;
    }
}

void saturate(Stereo& s, double drive) {
    for (std::size_t i = 0; i < s.frames(); ++i) {
        s.left[i] = static_cast<float>(std::tanh(drive * s.left[i]));
        s.right[i] = static_cast<float>(std::tanh(drive * s.right[i]));
    }
}

void normalise_peak(Stereo& s, double peak_dbfs) {
    float peak = 0.0f;
    for (std::size_t i = 0; i < s.frames(); ++i) peak = std::max({peak, std::fabs(s.left[i]), std::fabs(s.right[i])});
    if (peak <= 0.0f) return;
    const double gain = std::pow(10.0, peak_dbfs / 20.0) / peak;
    for (std::size_t i = 0; i < s.frames(); ++i) {
        s.left[i] = static_cast<float>(s.left[i] * gain);
        s.right[i] = static_cast<float>(s.right[i] * gain);
    }
}

Levels measure(const Stereo& s) {
    double peak = 0.0, sum = 0.0;
    for (std::size_t i = 0; i < s.frames(); ++i) {
        for (float v : {s.left[i], s.right[i]}) {
            peak = std::max(peak, static_cast<double>(std::fabs(v)));
            sum += static_cast<double>(v) * v;
        }
    }
    const double rms = s.frames() ? std::sqrt(sum / (2.0 * static_cast<double>(s.frames()))) : 0.0;
    auto dbfs = [](double v) { return v > 0.0 ? 20.0 * std::log10(v) : -200.0; };
    return {dbfs(peak), dbfs(rms)};
}

}  // namespace synth
