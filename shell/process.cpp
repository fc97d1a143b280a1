// SPDX-License-Identifier: GPL-3.0-or-later
// The process on POSIX systems: argv is already the bytes the player typed, and standard error
// reaches the terminal or the desktop's log.
#include "shell/process.h"

#include <cstdio>

namespace vorlanix {

std::vector<std::string> CommandLineWords(int argc, char** argv) { return {argv, argv + argc}; }

void ReportFatalError(const std::string& text) { std::fprintf(stderr, "vorlanix: %s\n", text.c_str()); }

}  // namespace vorlanix
