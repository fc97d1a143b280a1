// SPDX-License-Identifier: GPL-3.0-or-later
// The headless driver refuses numbers a script line cannot hold: nan, inf, 1e23, values beyond
// 32 bits or beyond the field's type, and a frame length outside 1..1000 ms. Each is a script
// error with exit code 2 and the line's number; the program itself is run as a player would.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/temp_dir.h"

namespace {

struct ScriptRun {
    int exitCode;
    std::string err;
};

ScriptRun runScript(const TempDir& dir, const std::string& script) {
    std::ofstream(dir / "script.txt") << script;
    const std::string command = std::string(VORLANIX_EXE) + " --headless --seed 1 --script " +
                                (dir / "script.txt").string() + " --data-dir " + dir.path().string() + " 2>" +
                                (dir / "err.txt").string();
    const int status = std::system(command.c_str());
    std::ifstream in(dir / "err.txt");
    std::stringstream text;
    text << in.rdbuf();
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
}

}  // namespace

TEST(ScriptNumbers, NumbersALineCannotHoldAreScriptErrorsWithTheLineNumber) {
    TempDir dir;
    // Line 3 of each script is the bad one; the lines before it are valid.
    const char* badLines[] = {
        "frame-ms 0",
        "frame-ms 1001",
        "frame-ms nan",
        "run inf",
        "run 1e23",
        "run 4294967296",
        "run -1",
        "run-until Modus == 2 nan",
        "run-until Modus == 2 3000000000",
        "run-until Punktzahl > 99999999999",
        "run-until Modus == -2147483649 100",
        "move nan 10",
        "move 10 1e23",
        "move -2147483649 0",
        "click left inf 3",
        "expect ObjTot[1e23] == 0",
        "set Modus 1e23",
        "set Modus 2147483648",
        "set ErsterStart 40000",
        "set Schritt nan",
        "set Schritt -inf",
    };
    for (const char* bad : badLines) {
        SCOPED_TRACE(bad);
        const ScriptRun r = runScript(dir, std::string("# numbers\nrun 100\n") + bad + "\nrun 100\n");
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_NE(r.err.find("script.txt:3:"), std::string::npos) << r.err;
    }
}

TEST(ScriptNumbers, NumbersWithinRangeAreTaken) {
    TempDir dir;
    const ScriptRun r = runScript(dir,
                                  "frame-ms 1\nframe-ms 1000\nrun 1e3\nmove 320.5 -2147483648\n"
                                  "press left 1e6 2147483647\nrun-until tick > 0 2147483647\n"
                                  "set Schritt -1.5\nset ErsterStart -32768\nexpect ObjTot[1] == 0\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
}
