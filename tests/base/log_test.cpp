// SPDX-License-Identifier: GPL-3.0-or-later
// The programs' messages: one whole line each, headed by the program's name, wherever they go.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/log.h"

TEST(Log, LinesAreHeadedByTheProgramAndReachTheSinkWhole) {
    std::vector<std::string> lines;
    base::SetLogSink([&](std::string_view line) { lines.emplace_back(line); });
    base::SetProgramName("vorlanix-qhs");
    const std::string longName(5000, 'x');
    base::Log("%s: invalid: %d", longName.c_str(), 7);
    base::LogLine("script.txt:3: expect failed");
    base::SetProgramName("vorlanix");
    base::Log("no sound");
    base::SetLogSink({});

    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "vorlanix-qhs: " + longName + ": invalid: 7");
    EXPECT_EQ(lines[1], "script.txt:3: expect failed");
    EXPECT_EQ(lines[2], "vorlanix: no sound");
}
