// SPDX-License-Identifier: GPL-3.0-or-later
// One real game recorded once per test program: title, START, a game with a shot, the result
// entered into the list, the upload form typed in and saved.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace recorded_game {

struct Recording {
    TempDir data;
    std::vector<uint8_t> wholeRun;  // --record's file
    std::vector<uint8_t> kept;      // the game's own replay, from its START (replays/last.vxr)
    std::vector<uint8_t> upload;    // the upload file the run wrote
    int32_t days = 0;               // the game's result
    int exitCode = -1;
};

// The form's entries as typed, in the form's order (index 1 the nickname).
inline constexpr const char* kForm[9] = {"",      "Max",   "Mustermann",     "Maximilian", "1.1.1990", "Hauptstrasse 1",
                                         "12345", "Koeln", "max@example.org"};
// Script lines that type them into the upload form, field after field.
std::string FormTyped(const std::string& nickname);

// Recorded on first use, then shared.
const Recording& Get();
// The same game with one test-driver line that writes the score: "set Punktzahl 200000000".
const Recording& GetWithSetLine();
// The same game with driver lines on the menu before START: the game's own replay begins with the
// state they wrote and holds no set line, as a snapshot edited by hand would.
inline constexpr const char* kStartSetOnTheMenu = "set NebelAn 1\nset PosZeichen[3] 99\n";
const Recording& GetWithStartSetOnTheMenu();
// The same game, with another nickname typed into the upload form after the result.
const Recording& GetRenamed();

}  // namespace recorded_game
