// SPDX-License-Identifier: GPL-3.0-or-later
// Upload files that players send by e-mail: the attachments of one message, what became of each,
// and the German answer to the sender. The files go through the same desk as a web upload.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/upload_desk.h"

namespace bestenliste {

// A message with an upload file and a replay, base64-encoded, stays far below this.
inline constexpr size_t max_mail_size = 4 << 20;
// More upload files than this in one message are counted in the answer but not taken.
inline constexpr size_t max_uploads_per_mail = 16;

struct MailAttachment {
    std::string name;  // as the sender named it; shown only in the answer, never used as a path
    std::vector<uint8_t> bytes;
};

struct ReceivedMail {
    bool readable = false;                // false: not a message at all (EX_DATAERR)
    std::string sender;                   // Reply-To, else From; empty when none is usable
    bool automatic = false;               // an auto-reply, bounce or list mail: never answered
    std::string subject;                  // UTF-8
    std::string message_id;               // without angle brackets
    std::vector<MailAttachment> uploads;  // .qhs, in the message's order, at most max_uploads_per_mail
    size_t uploads_left_out = 0;          // those beyond
    std::vector<MailAttachment> replays;  // .vxr
};

// Reads the message with GMime. Attachment bodies are decoded; nothing is written anywhere.
ReceivedMail read_mail(const std::vector<uint8_t>& message);

struct MailedUpload {
    std::string name;
    std::optional<std::string> replay_name;
    UploadOutcome outcome;
};

// Each upload file with its replay: the .vxr of the same name (letter case aside), or the only
// .vxr when the message carries exactly one upload file and one replay.
std::vector<MailedUpload> take_mailed_uploads(const ReceivedMail& mail, UploadDesk& desk);

// True when some file could not be stored for a reason that may pass (the database).
bool needs_retry(const std::vector<MailedUpload>& results);

// The answer as a whole RFC 5322 message (UTF-8, quoted-printable), ready for sendmail -t.
std::string compose_reply(const ReceivedMail& mail, const std::vector<MailedUpload>& results, const std::string& from);

// A file name as it may appear in the answer: printable, at most 80 characters.
std::string shown_name(const std::string& name);

}  // namespace bestenliste
