// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the music's patterns. Counting the tokens of every bar is what catches a note
// dropped or added while composing.
#include "sequencer.h"

#include <cctype>
#include <stdexcept>
#include <string>

namespace synth {
namespace {

std::vector<std::string_view> tokens(std::string_view pattern) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < pattern.size()) {
        while (i < pattern.size() && std::isspace(static_cast<unsigned char>(pattern[i]))) ++i;
        const std::size_t start = i;
        while (i < pattern.size() && !std::isspace(static_cast<unsigned char>(pattern[i]))) ++i;
        const std::string_view token = pattern.substr(start, i - start);
        if (!token.empty() && token != "|") out.push_back(token);
    }
    return out;
}

[[noreturn]] void fail(std::string_view what, std::string_view token) {
    throw std::invalid_argument(std::string(what) + " \"" + std::string(token) + "\"");
}

// "a", "c#", "bb" at the front of `name`: the pitch class and the characters used.
int pitch_class(std::string_view name, std::size_t& used) {
    constexpr int kNatural[] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
    if (name.empty()) fail("missing note name in", name);
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
    if (letter < 'a' || letter > 'g') fail("bad note name", name);
    int pc = kNatural[letter - 'a'];
    used = 1;
    if (name.size() > 1 && (name[1] == '#' || name[1] == 'b')) {
        pc += name[1] == '#' ? 1 : -1;
        used = 2;
    }
    return (pc + 12) % 12;
}

void check_length(std::size_t count, int bars, std::string_view pattern) {
    if (count != static_cast<std::size_t>(bars * kStepsPerBar))
        fail("pattern of " + std::to_string(count) + " sixteenths instead of " + std::to_string(bars * kStepsPerBar) +
                 ":",
             pattern.substr(0, 40));
}

// Shared by melodies and chord lines: `read_pitch` turns a note token into a number.
template <class ReadPitch>
std::vector<Note> read_line(std::string_view pattern, int bars, ReadPitch&& read_pitch) {
    const auto steps = tokens(pattern);
    check_length(steps.size(), bars, pattern);
    std::vector<Note> notes;
    bool holding = false;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const std::string_view token = steps[i];
        if (token == "-") {
            if (!holding) fail("hold without a note at", pattern.substr(0, 40));
            ++notes.back().length;
        } else if (token == ".") {
            holding = false;
        } else {
            notes.push_back({static_cast<int>(i), 1, read_pitch(token)});
            holding = true;
        }
    }
    return notes;
}

}  // namespace

std::vector<Note> read_melody(std::string_view pattern, int bars) {
    return read_line(pattern, bars, [](std::string_view token) {
        std::size_t used = 0;
        const int pc = pitch_class(token, used);
        const std::string_view octave = token.substr(used);
        if (octave.size() != 1 || !std::isdigit(static_cast<unsigned char>(octave[0]))) fail("bad octave in", token);
        // Octave 4 starts at middle C, note 60.
        return 12 * (octave[0] - '0' + 1) + pc;
    });
}

std::vector<Note> read_chord_line(std::string_view pattern) {
    return read_line(pattern, 1, [](std::string_view token) {
        int degree = 0;
        for (char c : token) {
            if (!std::isdigit(static_cast<unsigned char>(c))) fail("bad scale degree", token);
            degree = 10 * degree + (c - '0');
        }
        if (degree < 1 || degree > 22) fail("scale degree out of range", token);
        return degree;
    });
}

Chord read_chord(std::string_view name) {
    std::size_t used = 0;
    const int root = pitch_class(name, used);
    const std::string_view rest = name.substr(used);
    if (rest != "" && rest != "m") fail("bad chord", name);
    return {root, rest == "m"};
}

std::vector<Chord> read_chords(std::string_view names) {
    std::vector<Chord> chords;
    for (std::string_view name : tokens(names)) chords.push_back(read_chord(name));
    return chords;
}

int degree_pitch(const Chord& chord, int root_pitch, int degree) {
    constexpr int kMinor[] = {0, 2, 3, 5, 7, 8, 10};
    constexpr int kMajor[] = {0, 2, 4, 5, 7, 9, 11};
    const int step = (degree - 1) % 7, octave = (degree - 1) / 7;
    return root_pitch + 12 * octave + (chord.minor ? kMinor[step] : kMajor[step]);
}

int root_at_or_above(const Chord& chord, int floor) { return floor + ((chord.root - floor) % 12 + 12) % 12; }

std::vector<Hit> read_drums(std::string_view pattern) {
    const auto steps = tokens(pattern);
    check_length(steps.size(), 1, pattern);
    std::vector<Hit> hits;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (steps[i] == ".") continue;
        for (char drum : steps[i]) {
            if (std::string_view("kshoctm").find(drum) == std::string_view::npos) fail("unknown drum in", steps[i]);
            hits.push_back({static_cast<int>(i), drum});
        }
    }
    return hits;
}

}  // namespace synth
