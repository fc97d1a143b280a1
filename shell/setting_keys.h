// SPDX-License-Identifier: GPL-3.0-or-later
// The keys of the settings file; the command line sets the same values under --key-name.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "shell/options.h"

namespace vorlanix {

struct SettingKey {
    const char* name;     // as written in the file: fullscreen, effects_volume, ...
    const char* comment;  // written above the key in a new file; "\n" separates lines
    std::string (*get)(const Options&);
    // Takes the value; when it is not one, leaves the options alone and returns what a good
    // value looks like ("a number from 0 to 100").
    std::string (*set)(Options&, std::string_view value);
};

std::span<const SettingKey> SettingKeys();
const SettingKey* FindSettingKey(std::string_view name);

// The shared value readers: a whole number in [min, max]; yes/no (also true/false, on/off, 1/0).
bool ReadWholeNumber(std::string_view text, long long min, long long max, long long& out);
bool ReadYesNo(std::string_view text, bool& out);

}  // namespace vorlanix
