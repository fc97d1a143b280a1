// SPDX-License-Identifier: GPL-3.0-or-later
// German singular and plural for the three parts of an age.
#include "server/age_text.h"

namespace bestenliste {

namespace {

std::string counted(int32_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string age_text(int32_t t) {
    const Age age = age_of(t);
    return counted(age.years, "Jahr", "Jahre") + ", " + counted(age.months, "Monat", "Monate") + ", " +
           counted(age.days, "Tag", "Tage");
}

}  // namespace bestenliste
