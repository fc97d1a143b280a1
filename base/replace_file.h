// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a whole file so that readers only ever see the old content or the new one,
// and so that the write can never land outside the directory it was given.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <system_error>

namespace base {

// What a file operation reports: nothing when it worked, else why not, in words fit for a log.
struct FileStatus {
    std::string error;     // empty when the operation worked
    std::error_code code;  // the system's reason, for callers that word it for the player
    bool ok() const { return error.empty(); }
};

// Writes `bytes` to dir/<name>.tmp, flushes it to the disk and renames it over dir/name, so a
// crash or a full disk leaves the old file whole. `name` must be a plain file name (no "/",
// not "." or ".."); symbolic links in place of the temporary file are not followed.
FileStatus replace_file(const std::filesystem::path& dir, const std::string& name, std::span<const uint8_t> bytes);

// The file a chain of symbolic links starting at `file` leads to (`file` itself when it is no
// link), whether or not that file exists yet. A chain that loops or runs too long ends where
// the search stopped, and replacing that link then replaces the link alone.
std::filesystem::path link_target(const std::filesystem::path& file);

}  // namespace base
