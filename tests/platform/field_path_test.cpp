// SPDX-License-Identifier: GPL-3.0-or-later
// Field paths as script lines and recorded set lines name them: a name and whole 32-bit indices,
// anything else refused (a recorded "Feld[x]" once wrote to index 0).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/state_access.h"

TEST(FieldPath, NamesAndWholeIndicesAreReadAndAnythingElseIsRefused) {
    struct Case {
        const char* path;
        bool ok;
        const char* name;
        std::vector<int> indices;
    };
    const Case cases[] = {
        {"Modus", true, "Modus", {}},
        {"FeldX[3]", true, "FeldX", {3}},
        {"Tab[1][-2][2147483647]", true, "Tab", {1, -2, 2147483647}},
        {"", false, "", {}},
        {"[1]", false, "", {}},
        {"FeldX[", false, "", {}},
        {"FeldX[]", false, "", {}},
        {"FeldX[x]", false, "", {}},
        {"FeldX[1 ]", false, "", {}},
        {"FeldX[1.5]", false, "", {}},
        {"FeldX[1e23]", false, "", {}},
        {"FeldX[2147483648]", false, "", {}},
        {"FeldX[1]x", false, "", {}},
        {"FeldX[1]][2]", false, "", {}},
    };
    for (const Case& c : cases) {
        std::string name;
        std::vector<int> indices;
        EXPECT_EQ(platform::ParseFieldPath(c.path, name, indices), c.ok) << c.path;
        if (c.ok) {
            EXPECT_EQ(name, c.name) << c.path;
            EXPECT_EQ(indices, c.indices) << c.path;
        }
    }
}
