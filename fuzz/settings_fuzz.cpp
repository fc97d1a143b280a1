// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the settings file reader and checks that storing a value keeps every
// other line as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "shell/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vorlanix::Options options;
    std::vector<std::string> warnings;
    const auto file = vorlanix::SettingsFile::Parse(text, "fuzz.conf", options, warnings);
    for (const auto& w : warnings)
        if (w.find('\n') != std::string::npos) std::abort();  // one line per problem
    // Reading back what was read changes nothing.
    if (file.Text() != text) std::abort();
    return 0;
}
