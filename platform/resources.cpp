// SPDX-License-Identifier: GPL-3.0-or-later
// Looking up the embedded bitmaps, or an art pack's files, by name without regard to case.
#include "platform/resources.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <stdexcept>

#include "base/utf8_path.h"

namespace {

struct EmbeddedEntry {
    const char* name;
    const uint8_t* data;
    uint64_t size;
};

}  // namespace

extern "C" const EmbeddedEntry vorlanix_bitmap_table[];
extern "C" const uint64_t vorlanix_bitmap_count;

namespace platform {

namespace {

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::vector<uint8_t> EmbeddedBitmap(const std::string& name) {
    for (uint64_t i = 0; i < vorlanix_bitmap_count; ++i) {
        const EmbeddedEntry& e = vorlanix_bitmap_table[i];
        if (sameName(e.name, name)) return {e.data, e.data + e.size};
    }
    throw std::runtime_error("bitmap \"" + name + "\" is not built into the program");
}

std::vector<std::string> EmbeddedBitmapNames() {
    std::vector<std::string> names;
    for (uint64_t i = 0; i < vorlanix_bitmap_count; ++i) names.emplace_back(vorlanix_bitmap_table[i].name);
    return names;
}

uint64_t LargestPictureFile() {
    uint64_t largest = 0;
    for (uint64_t i = 0; i < vorlanix_bitmap_count; ++i) largest = std::max(largest, vorlanix_bitmap_table[i].size);
    // Room for the longer headers of later BMP versions and a few trailing bytes.
    return largest + 4096;
}

std::vector<uint8_t> BitmapFromDirectory(const std::filesystem::path& dir, const std::string& name) {
    std::error_code ec;
    const uint64_t limit = LargestPictureFile();
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        if (!entry.is_regular_file() || !sameName(base::Utf8FromPath(entry.path().filename()), name)) continue;
        // Read at most one byte past the bound, so a huge file (or one still growing) costs nothing.
        std::ifstream f(entry.path(), std::ios::binary);
        std::vector<uint8_t> bytes(limit + 1);
        f.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (f.bad()) break;
        bytes.resize(static_cast<size_t>(f.gcount()));
        if (bytes.size() > limit)
            throw std::runtime_error("bitmap file " + entry.path().string() +
                                     " is larger than any picture of the game (" + std::to_string(limit) +
                                     " bytes at most)");
        return bytes;
    }
    throw std::runtime_error("bitmap \"" + name + "\" not found in " + dir.string());
}

}  // namespace platform
