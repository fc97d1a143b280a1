// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the collector's tool vorlanix-qhs with its output caught in a file of the test's directory.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/temp_dir.h"

namespace qhs_tool {

struct ToolRun {
    int code;
    std::string out;
};

inline ToolRun Run(const TempDir& dir, const std::string& arguments) {
    const auto out = dir / "out.txt";
    const int status =
        std::system((std::string(VORLANIX_QHS) + " " + arguments + " >'" + out.string() + "' 2>&1").c_str());
    std::ifstream in(out);
    std::stringstream text;
    text << in.rdbuf();
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
}

}  // namespace qhs_tool
