// SPDX-License-Identifier: GPL-3.0-or-later
// The file errors Windows reports, as the errno numbers POSIX systems give for the same fault.
#include "base/system_error_windows.h"

#include <windows.h>

#include <cerrno>

namespace base {

namespace {

// ERROR_DISK_QUOTA_EXCEEDED, which mingw-w64's headers leave out.
constexpr unsigned long kDiskQuotaExceeded = 1295;

}  // namespace

std::error_code ErrnoFromWindowsError(unsigned long error) {
    int number = EIO;
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH: number = ENOENT; break;
        // A file another program holds open without sharing it is as good as forbidden.
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: number = EACCES; break;
        case ERROR_WRITE_PROTECT: number = EROFS; break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: number = ENOSPC; break;
        case kDiskQuotaExceeded: number = EDQUOT; break;
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_BUFFER_OVERFLOW: number = ENAMETOOLONG; break;
        case ERROR_DIRECTORY: number = ENOTDIR; break;
        case ERROR_INVALID_NAME:
        case ERROR_INVALID_PARAMETER: number = EINVAL; break;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS: number = EEXIST; break;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: number = ENOMEM; break;
        default: break;
    }
    return {number, std::generic_category()};
}

}  // namespace base
