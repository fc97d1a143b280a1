// SPDX-License-Identifier: GPL-3.0-or-later
// The real disk behind the game's file operations.
#include "base/file_system.h"

#include <algorithm>

#include "base/utf8_path.h"

namespace base {

namespace {

class Disk final : public FileSystem {
  public:
    FileStart read_start(const std::filesystem::path& file, std::size_t limit) override {
        return read_file_start(file, limit);
    }
    FileStatus replace(const std::filesystem::path& dir, const std::string& name,
                       std::span<const uint8_t> bytes) override {
        return replace_file(dir, name, bytes);
    }
    bool takes_uploads(const std::filesystem::path& upload, const std::filesystem::path& data_dir) override {
        if (!stays_inside(upload, data_dir)) return false;
        std::error_code ec;
        for (std::filesystem::directory_iterator it(upload, ec), end; !ec && it != end; it.increment(ec)) {
            // Hidden files do not count, as a listing of ordinary files would not show them.
            if (it->is_regular_file(ec) && !base::Utf8FromPath(it->path().filename()).starts_with('.')) return true;
        }
        return false;
    }
    std::filesystem::path link_target(const std::filesystem::path& file) override { return base::link_target(file); }

  private:
    // An UpLoad that is a symbolic link is followed only while it leads to a place inside the data
    // directory: the game never writes where the player's data directory does not reach.
    static bool stays_inside(const std::filesystem::path& upload, const std::filesystem::path& data_dir) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(upload, ec))) return true;
        const auto target = std::filesystem::weakly_canonical(upload, ec);
        if (ec) return false;
        const auto base = std::filesystem::weakly_canonical(data_dir, ec);
        if (ec) return false;
        const auto [stop, unused] = std::mismatch(base.begin(), base.end(), target.begin(), target.end());
        return stop == base.end();
    }
};

}  // namespace

FileSystem& disk() {
    static Disk instance;
    return instance;
}

}  // namespace base
