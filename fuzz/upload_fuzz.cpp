// An upload file as the collector's tool reads it: checked, verified and ranked (as a table and
// as comma-separated values) without a fault, whatever its bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include "score/upload_file.h"
#include "tools/qhs_report.h"

namespace {

struct Scratch {
    Scratch()
        : file(std::filesystem::temp_directory_path() / ("vorlanix-upload-fuzz-" + std::to_string(::getpid()) + ".qhs")),
          sink(std::fopen("/dev/null", "w")) {}
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        std::fclose(sink);
    }
    std::filesystem::path file;
    std::FILE* sink;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Scratch scratch;
    const score::UploadCheck check = score::check_upload(std::span(data, size));
    if (check.ok()) score::upload_file_name(check.entry.FeldText[1], check.entry.t);
    std::ofstream(scratch.file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const std::vector<std::string> files = {scratch.file.string(), scratch.file.string()};
    qhs::verify(files, scratch.sink);
    qhs::rank(files, false, scratch.sink, scratch.sink);
    qhs::rank(files, true, scratch.sink, scratch.sink);
    return 0;
}
