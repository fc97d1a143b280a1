// SPDX-License-Identifier: GPL-3.0-or-later
// Messages for the person running a program: one line each on the standard error, headed by the
// program's name ("vorlanix: no sound: ..."). A program without a console (the game on Windows)
// or a test sends the lines elsewhere by setting a sink once at start.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace base {

// The name that heads every line; "vorlanix" unless a program says otherwise at start.
void SetProgramName(std::string_view name);

// Where whole lines (without their newline) go instead of the standard error; empty = back there.
void SetLogSink(std::function<void(std::string_view line)> sink);

// One line, printf-style, headed by the program's name.
[[gnu::format(printf, 1, 2)]] void Log(const char* format, ...);

// One line exactly as given, without the name (a script's "file:line: message" diagnostics).
void LogLine(std::string_view line);

}  // namespace base
