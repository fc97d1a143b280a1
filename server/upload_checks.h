// SPDX-License-Identifier: GPL-3.0-or-later
// The checks a received upload file must pass before it may enter the list.
#pragma once

#include <cstdint>
#include <span>

#include "score/upload_file.h"
#include "server/refusal.h"

namespace bestenliste {

struct CheckedUpload {
    Reason reason = Reason::Accepted;  // Accepted when every check holds
    score::UploadEntry entry;          // the file's entries (code page 1252), when it could be read
};

// Size, check sum, the result's range, and entries that are text in code page 1252 with a nickname.
CheckedUpload check_upload_bytes(std::span<const uint8_t> bytes);

}  // namespace bestenliste
