// The real disk behind the game's file operations.
#include "score/file_system.h"

namespace score {

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
    bool holds_visible_file(const std::filesystem::path& dir) override {
        std::error_code ec;
        for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
            if (it->is_regular_file(ec) && !it->path().filename().string().starts_with('.')) return true;
        }
        return false;
    }
};

}  // namespace

FileSystem& disk() {
    static Disk instance;
    return instance;
}

}  // namespace score
