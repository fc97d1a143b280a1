// SPDX-License-Identifier: GPL-3.0-or-later
// How the program meets its process: the command line as UTF-8 words, whatever the system hands
// the program, and the last word on a failure that ends it.
#pragma once

#include <string>
#include <vector>

namespace vorlanix {

// On POSIX systems the words of argv as they are. On Windows the wide command line converted to
// UTF-8 (argv there holds the ANSI code page, which cannot name every file), and a program started
// from a console writes its output there although the game has no console of its own.
std::vector<std::string> CommandLineWords(int argc, char** argv);

// Tells the player why the program cannot go on: on standard error, and on Windows, where a game
// started from the desktop has none, in a message box as well.
void ReportFatalError(const std::string& text);

}  // namespace vorlanix
