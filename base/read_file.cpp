// SPDX-License-Identifier: GPL-3.0-or-later
// A file is read only as far as its layout goes, so a huge or endless one costs nothing.
#include "base/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace base {

namespace {

FileStatus failure(const std::filesystem::path& file, int error_number) {
    const std::error_code code(error_number, std::generic_category());
    return {"cannot read " + file.string() + ": " + code.message(), code};
}

}  // namespace

FileStart read_file_start(const std::filesystem::path& file, std::size_t limit) {
    FileStart result;
    // Non-blocking, so that opening a named pipe by mistake does not hang the program.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        result.status = failure(file, errno);
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        result.status = failure(file, errno);
    } else if (!S_ISREG(info.st_mode)) {
        result.status = failure(file, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    } else {
        result.size = static_cast<std::uintmax_t>(info.st_size);
        // The buffer grows with what is there, never to the limit at once: a generous limit costs
        // nothing for a small file.
        result.bytes.resize(static_cast<size_t>(std::min<std::uintmax_t>(limit, result.size)));
        size_t filled = 0;
        while (filled < limit) {
            if (filled == result.bytes.size()) {
                result.bytes.resize(std::min(limit, filled + 65536));
            }
            const ssize_t got = ::read(fd, result.bytes.data() + filled, result.bytes.size() - filled);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                result.status = failure(file, errno);
                break;
            }
            if (got == 0) {
                break;
            }
            filled += static_cast<size_t>(got);
        }
        result.bytes.resize(filled);
        result.bytes.shrink_to_fit();
    }
    ::close(fd);
    return result;
}

}  // namespace base
