// SPDX-License-Identifier: GPL-3.0-or-later
// The mixer: places voices in a stereo buffer, adds echo, closes loops and sets the final level.
#pragma once

#include <cstddef>

#include "synth.h"

namespace synth {

// Adds `voice` from frame `at` on, with `pan` from -1 (left) to 1 (right) at constant power.
// The buffer grows when the voice rings past its end.
void mix(Stereo& out, const Mono& voice, std::size_t at, double gain, double pan = 0.0);
void mix(Stereo& out, const Stereo& voice, std::size_t at, double gain);

// Both channels from one voice, or each channel from its own call (own seeds, own detune),
// which gives noise-based sounds their width.
Stereo centred(const Mono& voice);
template <class Channel>
Stereo per_channel(Channel&& render_channel) {
    Stereo s;
    s.left = render_channel(0);
    s.right = render_channel(1);
    return s;
}

// Ping-pong echo: each repeat `delay` frames later, `feedback` times as loud, on the other side.
void add_echo(Stereo& s, std::size_t delay, double feedback, double wet);

// Folds everything past `length` frames back onto the start and cuts the buffer there: a loop's
// last notes and echoes then ring on into its first bar, and the end meets the start.
void wrap_into_loop(Stereo& s, std::size_t length);

// Short fades at both ends, so a one-shot starts and stops without a click.
void fade_ends(Stereo& s, double fade_in_seconds, double fade_out_seconds);

// Soft saturation (tanh): tames the few sharp peaks of crackling sounds, so that after
// normalising their body is louder and they hold their own against the music.
void saturate(Stereo& s, double drive);

void normalise_peak(Stereo& s, double peak_dbfs);

struct Levels {
    double peak_dbfs;
    double rms_dbfs;
};
Levels measure(const Stereo& s);

}  // namespace synth
