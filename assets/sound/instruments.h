// SPDX-License-Identifier: GPL-3.0-or-later
// The instruments of the music: each renders one note (frequency in Hz, held `gate` seconds)
// as a mono voice that includes its release.
#pragma once

#include <cstdint>

#include "synth.h"

namespace synth {

Mono lead(double frequency, double gate);  // the melody: two pulses, vibrato on long notes
Mono bell(double frequency, double gate);  // a soft bell that doubles the melody an octave up
Mono bass(double frequency, double gate);  // a plucked, filtered saw
Mono arp(double frequency, double gate);   // short blips for the sixteenth arpeggios
Mono pad(double frequency, double gate);   // slow detuned saws under the chords

// One drum hit: 'k' kick, 's' snare, 'h' closed and 'o' open hi-hat, 'c' crash, 't' high
// and 'm' low tom. `seed` varies the noise from hit to hit, as real drums vary.
Mono drum(char name, uint32_t seed);

}  // namespace synth
