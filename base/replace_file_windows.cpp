// SPDX-License-Identifier: GPL-3.0-or-later
// Temporary file, flush, rename: the old file stays whole until the new one is safely on disk.
// The swap is one MoveFileExW over the old name, which the file system does in one step, so the
// name never stands empty (ReplaceFileW moves the old file aside first, and a reader or a crash
// in between finds no file at all). Two programs replacing the same file take turns through a
// lock file that Windows deletes when its holder closes it or dies. A file another program holds
// open without sharing refuses the swap for a moment at most; after that the save reports it,
// and the file stays as it was.
#include "base/replace_file.h"

#include <windows.h>

#include <cerrno>

#include "base/utf8_path.h"
#include "base/system_error_windows.h"

namespace base {

namespace {

// How long a save waits for another program's save or a reader's open handle.
constexpr DWORD kPatienceMs = 5000;

FileStatus failure(const std::filesystem::path& target, const std::string& step, std::error_code code) {
    std::string error = "cannot write ";
    error.append(base::Utf8FromPath(target)).append(": ").append(step).append(": ").append(code.message());
    return {error, code};
}

bool write_all(HANDLE h, std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 20));
        if (!WriteFile(h, bytes.data(), chunk, &written, nullptr)) return false;
        bytes = bytes.subspan(written);
    }
    return true;
}

// Errors that pass when another program closes the file or finishes its own save.
bool passes(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED; }

// Held while one program writes and swaps dir\<name>.tmp: the lock file is opened without
// sharing, so a second one waits its turn. Where no lock can be had at all (a folder we may
// not create files in), the save goes on without it and reports its own failure.
class SaveLock {
  public:
    explicit SaveLock(const std::filesystem::path& file) {
        const DWORD start = GetTickCount();
        for (;;) {
            handle_ =
                CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
            if (handle_ != INVALID_HANDLE_VALUE) return;
            const DWORD error = GetLastError();
            // Access is denied while the lock file is being deleted, and where it cannot be made.
            const bool held =
                error == ERROR_SHARING_VIOLATION ||
                (error == ERROR_ACCESS_DENIED && GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES);
            if (!held) return;
            if (GetTickCount() - start > kPatienceMs) {
                busy_ = true;
                return;
            }
            Sleep(1);
        }
    }
    ~SaveLock() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;
    // Another program kept the lock for the whole wait.
    bool busy() const { return busy_; }

  private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    bool busy_ = false;
};

}  // namespace

FileStatus replace_file(const std::filesystem::path& dir, const std::string& name, std::span<const uint8_t> bytes) {
    const auto target = dir / base::PathFromUtf8(name);
    if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\:") != std::string::npos ||
        name.find('\0') != std::string::npos) {
        return failure(target, "not a plain file name", {EINVAL, std::generic_category()});
    }
    std::string temporary_name = name;
    temporary_name.append(".tmp");
    std::string lock_name = name;
    lock_name.append(".lock");
    const SaveLock lock(dir / base::PathFromUtf8(lock_name));
    if (lock.busy()) {
        return failure(target, "another program keeps writing it", ErrnoFromWindowsError(ERROR_SHARING_VIOLATION));
    }
    const auto temporary = dir / base::PathFromUtf8(temporary_name);
    const HANDLE file =
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::string step = "cannot create ";
        return failure(target, step.append(temporary_name), ErrnoFromWindowsError(GetLastError()));
    }
    // Whatever fails from here on, the half-written temporary file must not stay behind.
    const auto give_up = [&](const char* what, bool open) {
        const DWORD error = GetLastError();
        if (open) CloseHandle(file);
        DeleteFileW(temporary.c_str());
        std::string step = what;
        return failure(target, step.append(" ").append(temporary_name), ErrnoFromWindowsError(error));
    };
    // The step's words are made after its failure was read (making them may touch the last error).
    if (!write_all(file, bytes)) return give_up("cannot write", true);
    if (!FlushFileBuffers(file)) return give_up("cannot flush", true);
    if (!CloseHandle(file)) return give_up("cannot close", false);
    const DWORD start = GetTickCount();
    while (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        if (!passes(GetLastError()) || GetTickCount() - start > kPatienceMs) return give_up("cannot rename", false);
        Sleep(1);
    }
    return {};
}

}  // namespace base
