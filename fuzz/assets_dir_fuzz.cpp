// SPDX-License-Identifier: GPL-3.0-or-later
// An art pack's directory as --assets reads it: files named as the game's pictures (in any case)
// with any content; every picture is looked up, and each is loaded or refused naming its file.
// The input is a list of records: one byte choosing a picture's name (the high bit writes it in
// capitals), two bytes of length, then the file's bytes.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/headless/headless_platform.h"
#include "platform/resources.h"

namespace {

// One directory per process, emptied before each input and removed at the end.
struct PackDirectory {
    PackDirectory()
        : path(std::filesystem::temp_directory_path() / ("vorlanix-assets-fuzz-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path);
    }
    ~PackDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<std::string> names = platform::EmbeddedBitmapNames();
    static const PackDirectory pack;
    const auto& dir = pack.path;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) std::filesystem::remove(entry.path());
    size_t at = 0;
    while (at + 3 <= size) {
        std::string name = names[data[at] % names.size()];
        if (data[at] & 0x80) std::transform(name.begin(), name.end(), name.begin(), ::toupper);
        const size_t length = std::min<size_t>(data[at + 1] | (data[at + 2] << 8), size - at - 3);
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(data + at + 3), static_cast<std::streamsize>(length));
        at += 3 + length;
    }
    platform::HeadlessPlatform headless;
    headless.SetAssetDirectory(dir);
    for (const auto& name : names) {
        try {
            headless.CreateSurfaceFromResource(name);
        } catch (const std::runtime_error&) {
        }
    }
    return 0;
}
