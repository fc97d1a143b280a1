// SPDX-License-Identifier: GPL-3.0-or-later
// An upload file as the game's checks and the collector's tool read it: from bytes and from a
// file on disk, the same verdict, without a fault, whatever its bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include "score/upload_file.h"

namespace {

struct Scratch {
    Scratch()
        : file(std::filesystem::temp_directory_path() /
               ("vorlanix-upload-fuzz-" + std::to_string(::getpid()) + ".qhs")) {}
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
    }
    std::filesystem::path file;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Scratch scratch;
    const score::UploadCheck check = score::check_upload(std::span(data, size));
    if (check.ok()) score::upload_file_name(check.entry.FeldText[1], check.entry.t);
    std::ofstream(scratch.file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const score::UploadCheck from_file = score::check_upload_file(scratch.file);
    if (from_file.ok() != check.ok() || (check.ok() && from_file.entry.t != check.entry.t)) std::abort();
    return 0;
}
