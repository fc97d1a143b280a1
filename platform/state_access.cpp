// SPDX-License-Identifier: GPL-3.0-or-later
// Field paths of the program's state, read the same way by the headless driver's script lines and
// by a replay's recorded set lines.
#include "platform/state_access.h"

#include <charconv>

namespace platform {

bool ParseFieldPath(const std::string& path, std::string& name, std::vector<int>& indices) {
    const size_t bracket = path.find('[');
    name = path.substr(0, bracket);
    indices.clear();
    if (name.empty()) return false;
    size_t at = bracket;
    while (at != std::string::npos && at < path.size()) {
        if (path[at] != '[') return false;
        const size_t close = path.find(']', at);
        if (close == std::string::npos || close == at + 1) return false;
        const char* first = path.data() + at + 1;
        const char* last = path.data() + close;
        int index = 0;
        const auto [end, error] = std::from_chars(first, last, index);
        if (error != std::errc{} || end != last) return false;
        indices.push_back(index);
        at = close + 1;
    }
    return true;
}

}  // namespace platform
