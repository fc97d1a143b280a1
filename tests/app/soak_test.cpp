// SPDX-License-Identifier: GPL-3.0-or-later
// A short soak: a few games with random input through the menus in one process, every game to its
// result and back, with the memory held to what the sound log takes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/temp_dir.h"

TEST(Soak, ThreeGamesWithRandomInputRunTheirCourseAndMemoryHolds) {
    TempDir dir;
    const std::string command = std::string(VORLANIX_SOAK) + " --games 3 --seed 5 --data-dir " + dir.path().string() +
                                " >" + (dir / "out.txt").string() + " 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream in(dir / "out.txt");
    std::stringstream out;
    out << in.rdbuf();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << out.str();
    EXPECT_NE(out.str().find("games 3 of 3 played to their result  seed 5  exit 0"), std::string::npos) << out.str();
    // The games wrote the list and some went through the upload form.
    EXPECT_EQ(std::filesystem::file_size(dir / "hiscore.dat"), 430u);
}
