// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: an e-mail handed to receive-mail. Any bytes are read without a crash; the answer's
// recipient is always one plain address that sendmail cannot take for an option, every file name
// it shows is printable UTF-8, and the answer reads back with that recipient alone.
#include <gmime/gmime.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "server/mail_intake.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto mail = bestenliste::read_mail(std::vector<uint8_t>(data, data + size));
    if (!mail.readable) return 0;
    std::vector<bestenliste::MailedUpload> results;
    for (const auto& upload : mail.uploads) {
        const std::string shown = bestenliste::shown_name(upload.name);
        if (!g_utf8_validate(shown.data(), static_cast<gssize>(shown.size()), nullptr)) std::abort();
        for (const char c : shown) {
            if (static_cast<unsigned char>(c) < 0x20) std::abort();
        }
        results.push_back({upload.name, std::nullopt, {}});
    }
    if (mail.sender.empty()) return 0;
    if (mail.sender.front() == '-' || mail.sender.find_first_of(" \t\r\n") != std::string::npos) std::abort();
    const auto reply = bestenliste::compose_reply(mail, results, "liste@example.net");
    const auto again = bestenliste::read_mail(std::vector<uint8_t>(reply.begin(), reply.end()));
    if (!again.readable || !again.uploads.empty()) std::abort();
    // The answer's one recipient is the sender, whatever the message's names held.
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(reply.data(), reply.size());
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage* message = g_mime_parser_construct_message(parser, nullptr);
    InternetAddressList* to = message ? g_mime_message_get_all_recipients(message) : nullptr;
    if (to == nullptr || internet_address_list_length(to) != 1) std::abort();
    InternetAddress* address = internet_address_list_get_address(to, 0);
    if (!INTERNET_ADDRESS_IS_MAILBOX(address) ||
        mail.sender != internet_address_mailbox_get_idn_addr(INTERNET_ADDRESS_MAILBOX(address))) {
        std::abort();
    }
    g_object_unref(to);
    g_object_unref(message);
    g_object_unref(parser);
    g_object_unref(stream);
    return 0;
}
