// SPDX-License-Identifier: GPL-3.0-or-later
// The database schema as numbered migrations, one list per dialect; a database records the
// highest migration it has seen and gets the newer ones on start.
#pragma once

#include <string_view>
#include <vector>

namespace bestenliste {

struct Migration {
    int version;
    std::vector<std::string_view> statements;
};

const std::vector<Migration>& migrations(bool postgresql);

}  // namespace bestenliste
