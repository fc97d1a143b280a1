// SPDX-License-Identifier: GPL-3.0-or-later
// Where a chain of symbolic links ends; the same on every system, so it stands beside the
// replace_file twins rather than in each of them.
#include <filesystem>
#include <system_error>

#include "base/replace_file.h"

namespace base {

std::filesystem::path link_target(const std::filesystem::path& file) {
    // The same bound the kernel puts on a chain of links.
    constexpr int most_links = 40;
    std::filesystem::path at = file;
    for (int k = 0; k < most_links; ++k) {
        std::error_code ec;
        const auto next = std::filesystem::read_symlink(at, ec);
        if (ec) return at;
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    return at;
}

}  // namespace base
