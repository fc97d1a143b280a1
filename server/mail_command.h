// SPDX-License-Identifier: GPL-3.0-or-later
// `vorlanix-bestenliste receive-mail`: one message on standard input, as an MTA's pipe transport
// or a fetchmail/getmail delivery agent hands it over, answered with an exit code from sysexits.h.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace bestenliste {

struct ReceiveMailOptions {
    bool reply = false;  // answer the sender through sendmail
    std::string sendmail = "/usr/sbin/sendmail";
    std::string from;  // the answer's From; empty: the MTA sets it
};

inline constexpr int mail_taken = 0;       // EX_OK: the message is dealt with (stored or refused)
inline constexpr int mail_malformed = 65;  // EX_DATAERR: not a message; the MTA bounces it
inline constexpr int mail_try_later = 75;  // EX_TEMPFAIL: the database failed; the MTA retries

// Reads the message from `in`; what goes wrong is logged on the standard error (the MTA puts it
// in its log or a bounce). The database is opened only for a readable message.
int receive_mail(std::FILE* in, const std::string& database, const std::filesystem::path& data_dir,
                 const ReceiveMailOptions& options);

}  // namespace bestenliste
