// SPDX-License-Identifier: GPL-3.0-or-later
// The tune: three sections of eight bars (theme, bridge, theme in full), arranged on the
// sixteenth grid and mixed, with the last bar's ringing folded back onto the first.
#include "music.h"

#include <array>

#include "instruments.h"
#include "mixer.h"
#include "sequencer.h"

namespace synth {
namespace {

// A sixteenth lasts 2400 frames (137.8 beats a minute): a whole number of frames keeps
// every note on the grid exactly, and with it the loop length.
constexpr std::size_t kStepFrames = 2400;
constexpr double kStepSeconds = static_cast<double>(kStepFrames) / kSampleRate;
constexpr int kSectionBars = 8;

constexpr const char* kTheme =
    "a4 - - c5 e5 - a5 - g5 - e5 - c5 - d5 - | e5 - - - c5 - a4 - f5 - - - e5 - c5 - | "
    "g5 - - e5 g5 - c6 - b5 - g5 - e5 - g5 - | d6 - - - b5 - - - g5 - a5 - b5 - d6 - | "
    "a4 - - c5 e5 - a5 - g5 - e5 - c5 - d5 - | e5 - - - f5 - e5 - c5 - - - a4 - c5 - | "
    "d5 - - - b4 - d5 - g5 - - - f5 - d5 - | e5 - - - - - d5 - c5 - - - b4 - g#4 -";
constexpr const char* kThemeChords = "Am F C G Am F G E";

constexpr const char* kBridge =
    "c6 - - - - - a5 - - - f5 - a5 - c6 - | d6 - - - - - b5 - - - g5 - - - d6 - | "
    "e6 - - - d6 - b5 - g5 - - - b5 - - - | a5 - - - - - - - . . c6 - b5 - a5 - | "
    "f5 - - - a5 - c6 - f6 - - - e6 - c6 - | d6 - - - b5 - g5 - d6 - - - e6 - d6 - | "
    "b5 - - - - - - - g#5 - - - e5 - - - | . . . . . . . . e4 - f4 - f#4 - g#4 -";
constexpr const char* kBridgeChords = "F G Em Am F G E E";

constexpr const char* kDrivingBass = "1 - 1 8 1 - 1 8 1 - 1 8 5 - 8 -";
constexpr const char* kSyncopatedBass = "1 - - 1 - - 1 - 8 - - 1 - - 5 -";
constexpr const char* kArpeggio = "1 3 5 8 10 8 5 3 1 3 5 8 10 12 10 8";

constexpr const char* kGroove = "k . h . s . h . k . h k s . h h";
constexpr const char* kGrooveCrash = "kc . h . s . h . k . h k s . h h";
constexpr const char* kHalfTime = "k . h . h . k . s . h . h . h .";
constexpr const char* kHalfTimeCrash = "kc . h . h . k . s . h . h . h .";
constexpr const char* kDrive = "k h h h s h h h k h k h s h o h";
constexpr const char* kDriveCrash = "kc h h h s h h h k h k h s h o h";
constexpr const char* kFill = "k . h . s . t . t . m . s s s s";

struct Section {
    const char* melody;
    const char* chords;
    const char* bass;
    bool arpeggio, pad, bell;
    std::array<const char*, kSectionBars> drums;
};

const Section kSong[] = {
    {kTheme,
     kThemeChords,
     kDrivingBass,
     false,
     true,
     false,
     {kGrooveCrash, kGroove, kGroove, kGroove, kGroove, kGroove, kGroove, kFill}},
    {kBridge,
     kBridgeChords,
     kSyncopatedBass,
     true,
     true,
     false,
     {kHalfTimeCrash, kHalfTime, kHalfTime, kHalfTime, kHalfTime, kHalfTime, kHalfTime, kFill}},
    {kTheme,
     kThemeChords,
     kDrivingBass,
     true,
     true,
     true,
     {kDriveCrash, kDrive, kDrive, kDrive, kDrive, kDrive, kDrive, kFill}},
};
constexpr int kBars = kSectionBars * static_cast<int>(sizeof kSong / sizeof kSong[0]);

// Lowest notes of the bass and of the chords, so each line stays in its own register.
constexpr int kBassFloor = 36;   // C2
constexpr int kChordFloor = 57;  // A3

std::size_t frame_of_step(int bar, int step) {
    return static_cast<std::size_t>(bar * kStepsPerBar + step) * kStepFrames;
}

double gate_of(const Note& note) { return note.length * kStepSeconds; }

struct DrumMix {
    char name;
    double gain, pan;
};
constexpr DrumMix kDrumMix[] = {{'k', 0.9, 0.0},  {'s', 0.55, 0.0}, {'h', 0.2, 0.35}, {'o', 0.2, 0.35},
                                {'c', 0.3, -0.3}, {'t', 0.5, 0.3},  {'m', 0.5, -0.3}};

void add_drums(Stereo& out, const char* pattern, int bar) {
    for (const Hit& hit : read_drums(pattern)) {
        for (const DrumMix& d : kDrumMix) {
            if (d.name != hit.drum) continue;
            const auto seed = static_cast<uint32_t>((bar * kStepsPerBar + hit.step) * 8 + (&d - kDrumMix));
            mix(out, drum(hit.drum, seed), frame_of_step(bar, hit.step), d.gain, d.pan);
        }
    }
}

void add_section(Stereo& band, Stereo& melody_bus, const Section& section, int first_bar) {
    for (const Note& note : read_melody(section.melody, kSectionBars)) {
        const std::size_t at = frame_of_step(first_bar, note.step);
        const double f = note_frequency(note.pitch);
        mix(melody_bus, lead(f, gate_of(note)), at, 0.3);
        if (section.bell) mix(melody_bus, bell(2.0 * f, gate_of(note)), at, 0.1);
    }
    const auto chords = read_chords(section.chords);
    const auto bass_line = read_chord_line(section.bass);
    const auto arpeggio = read_chord_line(kArpeggio);
    for (int b = 0; b < kSectionBars; ++b) {
        const int bar = first_bar + b;
        const Chord& chord = chords.at(b);
        const int bass_root = root_at_or_above(chord, kBassFloor);
        const int chord_root = root_at_or_above(chord, kChordFloor);
        for (const Note& note : bass_line) {
            const double f = note_frequency(degree_pitch(chord, bass_root, note.pitch));
            mix(band, bass(f, gate_of(note)), frame_of_step(bar, note.step), 0.45);
        }
        if (section.arpeggio) {
            for (const Note& note : arpeggio) {
                const double f = note_frequency(degree_pitch(chord, chord_root, note.pitch));
                mix(band, arp(f, gate_of(note)), frame_of_step(bar, note.step), 0.1, note.step % 2 ? 0.45 : -0.45);
            }
        }
        if (section.pad) {
            constexpr int kTriad[] = {1, 3, 5};
            constexpr double kSpread[] = {-0.5, 0.0, 0.5};
            for (int i = 0; i < 3; ++i) {
                const double f = note_frequency(degree_pitch(chord, chord_root, kTriad[i]));
                mix(band, pad(f, kStepsPerBar * kStepSeconds), frame_of_step(bar, 0), 0.1, kSpread[i]);
            }
        }
        add_drums(band, section.drums.at(b), bar);
    }
}

}  // namespace

Stereo space_tune() {
    const std::size_t loop = frame_of_step(kBars, 0);
    // Two bars of room past the end for the last notes, the crash and the echoes to die away.
    Stereo band(loop + frame_of_step(2, 0)), melody_bus(loop + frame_of_step(2, 0));
    for (int s = 0; s < kBars / kSectionBars; ++s) add_section(band, melody_bus, kSong[s], s * kSectionBars);
    // A dotted-eighth echo bouncing between the sides gives the melody its space.
    add_echo(melody_bus, 3 * kStepFrames, 0.35, 0.3);
    mix(band, melody_bus, 0, 1.0);
    wrap_into_loop(band, loop);
    return band;
}

}  // namespace synth
