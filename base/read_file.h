// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the start of a small file, with failures reported as values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "base/replace_file.h"

namespace base {

struct FileStart {
    std::vector<uint8_t> bytes;  // at most the limit asked for
    std::uintmax_t size = 0;     // the whole file's size
    FileStatus status;           // code is no_such_file_or_directory when the file is missing
};

// Reads up to `limit` bytes from the start of an ordinary file; anything else (a directory,
// a pipe) is refused without waiting on it.
FileStart read_file_start(const std::filesystem::path& file, std::size_t limit);

}  // namespace base
