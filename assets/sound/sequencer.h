// SPDX-License-Identifier: GPL-3.0-or-later
// The music's sequencer: patterns are written one token per sixteenth note and read into notes
// on a grid of sixteenths. Any malformed pattern throws std::invalid_argument.
#pragma once

#include <string_view>
#include <vector>

namespace synth {

inline constexpr int kStepsPerBar = 16;

struct Note {
    int step;    // sixteenths from the start of the pattern
    int length;  // in sixteenths
    int pitch;   // MIDI note number (A4 = 69); for chord lines the scale degree instead
};

// A melody: "a4", "c#5", "bb3" start a note, "-" holds the note before, "." rests, "|" may
// separate bars for the eye. The pattern must fill exactly `bars` bars.
std::vector<Note> read_melody(std::string_view pattern, int bars);

// A line that follows the chords (bass, arpeggio): numbers are scale degrees of the bar's
// chord (1 root, 3 third, 5 fifth, 8 octave, 10 the third above it), "-" holds, "." rests.
// The pattern is exactly one bar; `Note::pitch` holds the degree.
std::vector<Note> read_chord_line(std::string_view pattern);

// A chord name: root letter, then '#' or 'b', then 'm' for minor ("Am", "F", "C#m").
struct Chord {
    int root;  // pitch class, C = 0
    bool minor;
};
Chord read_chord(std::string_view name);
std::vector<Chord> read_chords(std::string_view names);

// The pitch of `degree` of the chord's scale, counted from `root_pitch` (the chord's root in
// the octave wanted).
int degree_pitch(const Chord& chord, int root_pitch, int degree);

// The lowest pitch at or above `floor` whose pitch class is the chord's root.
int root_at_or_above(const Chord& chord, int floor);

// Drums: each token is the set of drum letters struck together on that sixteenth ("kc" kick
// and crash), "." nothing. The pattern is exactly one bar.
struct Hit {
    int step;
    char drum;
};
std::vector<Hit> read_drums(std::string_view pattern);

}  // namespace synth
