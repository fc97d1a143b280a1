// SPDX-License-Identifier: GPL-3.0-or-later
// A file is read only as far as its layout goes, so a huge or endless one costs nothing; on
// Windows through the UTF-16 file API.
#include "base/read_file.h"

#include <windows.h>

#include <cerrno>

#include "base/utf8_path.h"
#include "base/system_error_windows.h"

namespace base {

namespace {

FileStatus failure(const std::filesystem::path& file, std::error_code code) {
    return {"cannot read " + base::Utf8FromPath(file) + ": " + code.message(), code};
}

}  // namespace

FileStart read_file_start(const std::filesystem::path& file, std::size_t limit) {
    FileStart result;
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        result.status = failure(file, {EISDIR, std::generic_category()});
        return result;
    }
    // Others may keep reading, writing or replacing the file meanwhile, as on POSIX systems.
    const HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        result.status = failure(file, ErrnoFromWindowsError(GetLastError()));
        return result;
    }
    LARGE_INTEGER size{};
    if (GetFileType(h) != FILE_TYPE_DISK) {
        result.status = failure(file, {EINVAL, std::generic_category()});
    } else if (!GetFileSizeEx(h, &size)) {
        result.status = failure(file, ErrnoFromWindowsError(GetLastError()));
    } else {
        result.size = static_cast<std::uintmax_t>(size.QuadPart);
        result.bytes.resize(limit);
        size_t filled = 0;
        while (filled < limit) {
            const DWORD want = static_cast<DWORD>(std::min<size_t>(limit - filled, 1u << 20));
            DWORD got = 0;
            if (!ReadFile(h, result.bytes.data() + filled, want, &got, nullptr)) {
                result.status = failure(file, ErrnoFromWindowsError(GetLastError()));
                break;
            }
            if (got == 0) break;
            filled += got;
        }
        result.bytes.resize(filled);
    }
    CloseHandle(h);
    return result;
}

}  // namespace base
