// SPDX-License-Identifier: GPL-3.0-or-later
// The file operations the game makes on its data directory, behind one interface, so that a
// platform can stand between the game and the disk (a recorded run answers from its recording).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "base/read_file.h"
#include "base/replace_file.h"

namespace base {

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    virtual FileStart read_start(const std::filesystem::path& file, std::size_t limit) = 0;
    virtual FileStatus replace(const std::filesystem::path& dir, const std::string& name,
                               std::span<const uint8_t> bytes) = 0;
    // True when `upload` holds at least one ordinary file that a listing shows (no hidden ones)
    // and, where it is a symbolic link, leads to a place inside `data_dir`.
    virtual bool takes_uploads(const std::filesystem::path& upload, const std::filesystem::path& data_dir) = 0;
    // Where a chain of symbolic links starting at `file` leads (see base::link_target).
    virtual std::filesystem::path link_target(const std::filesystem::path& file) = 0;
};

// The real disk. It keeps no state, so any number of threads may share it.
FileSystem& disk();

}  // namespace base
