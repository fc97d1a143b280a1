// SPDX-License-Identifier: GPL-3.0-or-later
// Temporary file, flush, replace: the old file stays whole until the new one is safely on disk.
// On NTFS a rename over an open file fails, so the swap is ReplaceFileW (the target keeps its
// identity and attributes), or MoveFileExW where there is nothing to replace yet; a hiscore.dat
// that another program holds open without sharing refuses the swap, and stays as it was.
#include "base/replace_file.h"

#include <windows.h>

#include <cerrno>

#include "base/utf8_path.h"
#include "base/system_error_windows.h"

namespace base {

namespace {

FileStatus failure(const std::filesystem::path& target, const std::string& step, std::error_code code) {
    return {"cannot write " + base::Utf8FromPath(target) + ": " + step + ": " + code.message(), code};
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

}  // namespace

FileStatus replace_file(const std::filesystem::path& dir, const std::string& name, std::span<const uint8_t> bytes) {
    const auto target = dir / base::PathFromUtf8(name);
    if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\:") != std::string::npos ||
        name.find('\0') != std::string::npos) {
        return failure(target, "not a plain file name", {EINVAL, std::generic_category()});
    }
    const auto temporary = dir / base::PathFromUtf8(name + ".tmp");
    const HANDLE file =
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return failure(target, "cannot create " + name + ".tmp", ErrnoFromWindowsError(GetLastError()));
    }
    // Whatever fails from here on, the half-written temporary file must not stay behind.
    const auto give_up = [&](const char* step, bool open) {
        const DWORD error = GetLastError();
        if (open) CloseHandle(file);
        DeleteFileW(temporary.c_str());
        return failure(target, std::string(step) + " " + name + ".tmp", ErrnoFromWindowsError(error));
    };
    // The step's words are made after its failure was read (making them may touch the last error).
    if (!write_all(file, bytes)) return give_up("cannot write", true);
    if (!FlushFileBuffers(file)) return give_up("cannot flush", true);
    if (!CloseHandle(file)) return give_up("cannot close", false);
    if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
            return {};
        // The target went away meanwhile: then there is nothing to replace, only a name to take.
        if (GetLastError() != ERROR_FILE_NOT_FOUND) return give_up("cannot replace", false);
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return give_up("cannot rename", false);
    return {};
}

}  // namespace base
