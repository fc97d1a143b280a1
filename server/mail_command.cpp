// SPDX-License-Identifier: GPL-3.0-or-later
// A message is taken whole or not at all: a database failure ends with "try again later" before
// anyone is answered, so the sender hears once what became of every file.
#include "server/mail_command.h"

#include <exception>
#include <vector>

#include "base/log.h"
#include "server/entry_store.h"
#include "server/mail_intake.h"
#include "server/sendmail.h"
#include "server/upload_desk.h"

namespace bestenliste {

namespace {

// Up to one byte past the limit; the rest of a larger message is read and dropped, so that the
// MTA is not left writing into a closed pipe.
std::vector<uint8_t> read_bounded(std::FILE* in, bool& too_large) {
    std::vector<uint8_t> message;
    char buffer[65536];
    too_large = false;
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        if (message.size() + n > max_mail_size) too_large = true;
        if (!too_large) message.insert(message.end(), buffer, buffer + n);
    }
    return message;
}

}  // namespace

int receive_mail(std::FILE* in, const std::string& database, const std::filesystem::path& data_dir,
                 const ReceiveMailOptions& options) {
    bool too_large = false;
    const auto message = read_bounded(in, too_large);
    if (too_large) {
        base::Log("the message is larger than %zu bytes\n", max_mail_size);
        return mail_malformed;
    }
    const ReceivedMail mail = read_mail(message);
    if (!mail.readable) {
        base::Log("the input is not an e-mail message\n");
        return mail_malformed;
    }
    std::vector<MailedUpload> results;
    try {
        EntryStore store(database, data_dir, 1);
        UploadDesk desk(store);
        results = take_mailed_uploads(mail, desk);
    } catch (const std::exception& error) {
        base::Log("the database cannot be used: %s\n", database_message(error).c_str());
        return mail_try_later;
    }
    if (needs_retry(results)) {
        base::Log("an upload file could not be stored; try again later\n");
        return mail_try_later;
    }
    if (options.reply && !mail.automatic && !mail.sender.empty()) {
        const std::string failure =
            send_mail(options.sendmail, mail.sender, compose_reply(mail, results, options.from));
        // The files are stored: delivering the message again would only answer "already listed".
        if (!failure.empty()) base::Log("the answer was not sent: %s\n", failure.c_str());
    }
    return mail_taken;
}

}  // namespace bestenliste
