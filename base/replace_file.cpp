// SPDX-License-Identifier: GPL-3.0-or-later
// Temporary file, fsync, rename: the old file stays whole until the new one is safely on disk.
// Two programs replacing files in one directory take turns (a lock on the directory), so one
// never renames or deletes the temporary file the other is writing.
#include "base/replace_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace base {

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, so that a failing close (delayed write errors) can be reported.
    int close_now() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

  private:
    int fd_;
};

FileStatus failure(const std::filesystem::path& target, const std::string& step, int error_number) {
    const std::error_code code(error_number, std::generic_category());
    return {"cannot write " + target.string() + ": " + step + ": " + code.message(), code};
}

bool write_all(int fd, std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes = bytes.subspan(static_cast<size_t>(written));
    }
    return true;
}

// Waits up to five seconds for the directory's lock, which the system drops when its holder
// closes the directory or dies. False only when another program kept it all that time; where
// the file system has no such locks, the save goes on without one.
bool take_turn(int directory) {
    const auto give_up_at = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (::flock(directory, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) return true;
        if (std::chrono::steady_clock::now() > give_up_at) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace

FileStatus replace_file(const std::filesystem::path& dir, const std::string& name, std::span<const uint8_t> bytes) {
    const auto target = dir / name;
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
        name.find('\0') != std::string::npos) {
        return failure(target, "not a plain file name", EINVAL);
    }
    const Descriptor directory(::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() < 0) {
        return failure(target, "cannot open the directory", errno);
    }
    if (!take_turn(directory.get())) {
        return failure(target, "another program keeps writing in the directory", EWOULDBLOCK);
    }
    const std::string temporary = name + ".tmp";
    Descriptor file(
        ::openat(directory.get(), temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (file.get() < 0) {
        return failure(target, "cannot create " + temporary, errno);
    }
    // Whatever fails from here on, the half-written temporary file must not stay behind.
    const auto give_up = [&](const std::string& step) {
        const int error_number = errno;
        ::unlinkat(directory.get(), temporary.c_str(), 0);
        return failure(target, step, error_number);
    };
    if (!write_all(file.get(), bytes)) {
        return give_up("cannot write " + temporary);
    }
    if (::fsync(file.get()) != 0) {
        return give_up("cannot flush " + temporary);
    }
    if (file.close_now() != 0) {
        return give_up("cannot close " + temporary);
    }
    if (::renameat(directory.get(), temporary.c_str(), directory.get(), name.c_str()) != 0) {
        return give_up("cannot rename " + temporary + " over " + name);
    }
    // Makes the rename itself durable; file systems that cannot sync a directory lose nothing by it.
    ::fsync(directory.get());
    return {};
}

}  // namespace base
