// SPDX-License-Identifier: GPL-3.0-or-later
// A field of comma-separated values: quoted where it must be, and never a spreadsheet formula.
#include <gtest/gtest.h>

#include "base/csv.h"

TEST(Csv, FieldsAreQuotedWhereNeededAndFormulasStayText) {
    const struct {
        const char* text;
        const char* field;
    } cases[] = {
        {"Max", "Max"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"Sag \"Hallo\"", "\"Sag \"\"Hallo\"\"\""},
        {"zwei\nZeilen", "\"zwei\nZeilen\""},
        {"=1+2", "'=1+2"},
        {"+49 30", "'+49 30"},
        {"-1", "'-1"},
        {"@SUMME", "'@SUMME"},
        {"\tx", "'\tx"},
        {"=A1,B1", "\"'=A1,B1\""},
        {"1=1", "1=1"},
    };
    for (const auto& c : cases) EXPECT_EQ(base::csv_field(c.text), c.field) << c.text;
}
