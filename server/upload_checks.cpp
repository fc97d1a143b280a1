// SPDX-License-Identifier: GPL-3.0-or-later
// The game's own reader decides size, range and check sum; the server adds what it needs to show
// the entries safely: text only, and a nickname to list.
#include "server/upload_checks.h"

#include <algorithm>

#include "base/cp1252.h"

namespace bestenliste {

namespace {

// Control codes, and the five bytes that code page 1252 leaves undefined, are not text.
bool is_text(const std::string& field) {
    return std::none_of(field.begin(), field.end(), [](char c) { return cp1252::is_control(static_cast<uint8_t>(c)); });
}

Reason reason_of(score::UploadFault fault) {
    switch (fault) {
        case score::UploadFault::None: return Reason::Accepted;
        case score::UploadFault::ResultOutOfRange: return Reason::OutOfRange;
        case score::UploadFault::CheckSumMismatch: return Reason::BadCheckSum;
        case score::UploadFault::WrongSize:
        case score::UploadFault::Unreadable: break;
    }
    return Reason::WrongSize;
}

}  // namespace

CheckedUpload check_upload_bytes(std::span<const uint8_t> bytes) {
    auto check = score::check_upload(bytes);
    CheckedUpload checked{reason_of(check.fault), std::move(check.entry)};
    if (checked.reason != Reason::Accepted) {
        return checked;
    }
    for (int field = 1; field <= 8; ++field) {
        if (!is_text(checked.entry.FeldText[field])) {
            checked.reason = Reason::BadEncoding;
            return checked;
        }
    }
    // Blanks and non-breaking spaces (the only white space code page 1252 has besides control
    // codes) show as no name at all.
    if (checked.entry.FeldText[1].find_first_not_of(" \xA0") == std::string::npos) {
        checked.reason = Reason::EmptyNickname;
    }
    return checked;
}

}  // namespace bestenliste
