// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target's entry point over files, for the test suite: every kept crasher and every
// seed of a reader goes through it once. Arguments are files or directories (a missing directory
// is an empty one, so a reader without crashers yet needs nothing).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "replaying %s (%zu bytes)\n", file.c_str(), bytes.size());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    size_t count = 0;
    for (int k = 1; k < argc; ++k) {
        const std::filesystem::path arg = argv[k];
        std::error_code ec;
        if (std::filesystem::is_directory(arg, ec)) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::recursive_directory_iterator(arg))
                if (entry.is_regular_file()) files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const auto& f : files) replay(f), ++count;
        } else if (std::filesystem::is_regular_file(arg, ec)) {
            replay(arg);
            ++count;
        }
    }
    std::printf("%zu inputs replayed without a fault\n", count);
    return 0;
}
