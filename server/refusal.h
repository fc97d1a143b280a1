// SPDX-License-Identifier: GPL-3.0-or-later
// Every way an upload can end: a reason code for the API, one German sentence for the pages,
// and the HTTP status that goes with it.
#pragma once

#include <optional>
#include <string_view>

namespace bestenliste {

enum class Reason {
    Accepted,
    MissingFile,
    WrongSize,
    BadCheckSum,
    OutOfRange,
    BadEncoding,
    EmptyNickname,
    Duplicate,
    ReplayMismatch,
    ReplayUnreadable,
    ReplayTimedOut,
    TooLarge,
    LengthRequired,
    RateLimited,
    StorageFailed,
    BadRequest,
    ReplayNotPlayed,
    ReplayUnhashed,
    ReplayReused,
    ReplayBadStart,
    Pending,  // stored, its replay waits to be proved
};

struct ReasonText {
    std::string_view code;      // stable, for the API
    std::string_view sentence;  // for the player, German
    int status;                 // HTTP status of the answer
};

const ReasonText& describe(Reason reason);
// The reason of a stored code, or nothing for a code this version does not know.
std::optional<Reason> reason_of_code(std::string_view code);

}  // namespace bestenliste
