// SPDX-License-Identifier: GPL-3.0-or-later
// GMime reads the message: its structure, encodings and the names of attachments (RFC 2047 and
// 2231 included). Nothing a sender names reaches the file system or a header unencoded.
#include "server/mail_intake.h"

#include <gmime/gmime.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>

#include "score/upload_file.h"
#include "server/refusal.h"
#include "server/world_list_server.h"

namespace bestenliste {

namespace {

struct GObjectFree {
    void operator()(void* object) const {
        if (object) g_object_unref(object);
    }
};
template <typename T>
using Owned = std::unique_ptr<T, GObjectFree>;

void start_gmime() {
    static std::once_flag started;
    std::call_once(started, [] { g_mime_init(); });
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string stem(const std::string& name) { return lower(name.substr(0, name.size() - 4)); }

// A mailbox fit to be an argument of sendmail: one plain address, never an option.
bool usable_address(const std::string& address) {
    if (address.empty() || address.size() > 254 || address.front() == '-') return false;
    if (address.find('@') == std::string::npos) return false;
    return std::none_of(address.begin(), address.end(),
                        [](unsigned char c) { return c <= ' ' || c == 0x7f || c == '<' || c == '>' || c == ','; });
}

// The answer names the message it answers (In-Reply-To); GMime hands back what it could not parse
// as a message id decoded, line breaks included, so only a plain id may go into a header.
bool usable_message_id(const std::string& id) {
    if (id.empty() || id.size() > 250 || id.find('@') == std::string::npos) return false;
    return std::all_of(id.begin(), id.end(),
                       [](unsigned char c) { return c > ' ' && c < 0x7f && c != '<' && c != '>'; });
}

std::string first_mailbox(InternetAddressList* list) {
    if (list == nullptr) return {};
    for (int k = 0; k < internet_address_list_length(list); ++k) {
        InternetAddress* address = internet_address_list_get_address(list, k);
        if (!INTERNET_ADDRESS_IS_MAILBOX(address)) continue;
        // The ASCII form (a domain in punycode), which every MTA takes as a recipient.
        const char* addr = internet_address_mailbox_get_idn_addr(INTERNET_ADDRESS_MAILBOX(address));
        if (addr && usable_address(addr)) return addr;
    }
    return {};
}

std::string header(GMimeMessage* message, const char* name) {
    const char* value = g_mime_object_get_header(GMIME_OBJECT(message), name);
    return value ? lower(value) : std::string();
}

// RFC 3834: no answer to answers, bounces and list mail, so that two robots never talk for ever.
bool is_automatic(GMimeMessage* message, const std::string& sender) {
    const std::string submitted = header(message, "Auto-Submitted");
    if (!submitted.empty() && submitted.find("no") != 0) return true;
    const std::string precedence = header(message, "Precedence");
    if (precedence.find("bulk") != std::string::npos || precedence.find("junk") != std::string::npos ||
        precedence.find("list") != std::string::npos) {
        return true;
    }
    if (g_mime_object_get_header(GMIME_OBJECT(message), "List-Id") != nullptr) return true;
    if (header(message, "Return-Path").find("<>") != std::string::npos) return true;
    const std::string local = lower(sender.substr(0, sender.find('@')));
    return local == "mailer-daemon" || local == "postmaster";
}

std::vector<uint8_t> decoded(GMimePart* part, size_t limit) {
    GMimeDataWrapper* content = g_mime_part_get_content(part);
    if (content == nullptr) return {};
    Owned<GMimeStream> out(g_mime_stream_mem_new());
    g_mime_data_wrapper_write_to_stream(content, out.get());
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(out.get()));
    // One byte past the largest valid file, so that a longer one is refused as too long.
    const size_t kept = std::min<size_t>(bytes->len, limit + 1);
    return {bytes->data, bytes->data + kept};
}

void collect(GMimeObject* /*parent*/, GMimeObject* object, gpointer data) {
    if (!GMIME_IS_PART(object) || GMIME_IS_MULTIPART(object)) return;
    GMimePart* part = GMIME_PART(object);
    const char* filename = g_mime_part_get_filename(part);
    if (filename == nullptr) return;
    auto& mail = *static_cast<ReceivedMail*>(data);
    const std::string name = filename;
    const std::string ending = name.size() > 4 ? lower(name.substr(name.size() - 4)) : std::string();
    if (ending == ".qhs" && mail.uploads.size() == max_uploads_per_mail) {
        ++mail.uploads_left_out;
    } else if (ending == ".qhs") {
        mail.uploads.push_back({name, decoded(part, score::upload_file_size)});
    } else if (ending == ".vxr") {
        mail.replays.push_back({name, decoded(part, max_replay_size)});
    }
}

}  // namespace

ReceivedMail read_mail(const std::vector<uint8_t>& message) {
    start_gmime();
    ReceivedMail mail;
    if (message.empty() || message.size() > max_mail_size) return mail;
    Owned<GMimeStream> stream(
        g_mime_stream_mem_new_with_buffer(reinterpret_cast<const char*>(message.data()), message.size()));
    Owned<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    g_mime_parser_set_format(parser.get(), GMIME_FORMAT_MESSAGE);
    Owned<GMimeMessage> parsed(g_mime_parser_construct_message(parser.get(), nullptr));
    // A message names its author (RFC 5322 requires From); without one it is no message.
    if (!parsed || g_mime_object_get_header(GMIME_OBJECT(parsed.get()), "From") == nullptr) return mail;
    mail.readable = true;
    mail.sender = first_mailbox(g_mime_message_get_reply_to(parsed.get()));
    if (mail.sender.empty()) mail.sender = first_mailbox(g_mime_message_get_from(parsed.get()));
    mail.automatic = is_automatic(parsed.get(), mail.sender);
    if (const char* subject = g_mime_message_get_subject(parsed.get())) mail.subject = subject;
    if (const char* id = g_mime_message_get_message_id(parsed.get()); id && usable_message_id(id)) {
        mail.message_id = id;
    }
    g_mime_message_foreach(parsed.get(), collect, &mail);
    return mail;
}

std::vector<MailedUpload> take_mailed_uploads(const ReceivedMail& mail, UploadDesk& desk) {
    std::vector<MailedUpload> results;
    for (size_t k = 0; k < mail.uploads.size(); ++k) {
        const auto& upload = mail.uploads[k];
        MailedUpload result{upload.name, std::nullopt, {}};
        const MailAttachment* replay = nullptr;
        for (const auto& candidate : mail.replays) {
            if (stem(candidate.name) == stem(upload.name)) replay = &candidate;
        }
        if (replay == nullptr && mail.uploads.size() == 1 && mail.replays.size() == 1) replay = &mail.replays[0];
        if (replay != nullptr) result.replay_name = replay->name;
        if (replay != nullptr && replay->bytes.size() > max_replay_size) {
            result.outcome = {Reason::TooLarge};
        } else {
            result.outcome =
                desk.take(upload.bytes, replay ? std::optional<std::span<const uint8_t>>(replay->bytes) : std::nullopt);
        }
        results.push_back(std::move(result));
    }
    return results;
}

bool needs_retry(const std::vector<MailedUpload>& results) {
    return std::any_of(results.begin(), results.end(),
                       [](const MailedUpload& r) { return r.outcome.reason == Reason::StorageFailed; });
}

std::string shown_name(const std::string& name) {
    std::string shown;
    size_t characters = 0;
    for (const char byte : name) {
        const unsigned char c = static_cast<unsigned char>(byte);
        if ((c & 0xc0) != 0x80 && characters++ == 80) break;
        shown += c < 0x20 || c == 0x7f ? '?' : byte;
    }
    // Invalid UTF-8 from a sloppy client shows as replacement characters.
    if (!g_utf8_validate(shown.data(), static_cast<gssize>(shown.size()), nullptr)) {
        gchar* valid = g_utf8_make_valid(shown.data(), static_cast<gssize>(shown.size()));
        shown = valid;
        g_free(valid);
    }
    return shown;
}

namespace {

std::string reply_text(const ReceivedMail& mail, const std::vector<MailedUpload>& results) {
    std::string text = "Hallo,\n\n";
    if (results.empty()) {
        text +=
            "deine E-Mail an die Vorlanix-Bestenliste enthielt keine Upload-Datei.\n"
            "Hänge die Datei mit der Endung .qhs an, die das Spiel beim Sichern des\n"
            "Upload-Formulars gespeichert hat, und schicke sie noch einmal.\n";
    } else {
        text += "so steht es um die Dateien deiner E-Mail an die Vorlanix-Bestenliste:\n";
        for (const auto& result : results) {
            text += "\n" + shown_name(result.name) + ":\n  ";
            text += std::string(describe(result.outcome.reason).sentence) + "\n";
            if (result.outcome.reason == Reason::Accepted) {
                if (result.outcome.rank > 0) text += "  Platz " + std::to_string(result.outcome.rank) + ".\n";
                if (result.outcome.proved && result.replay_name) {
                    text += "  Bewiesen durch die Aufzeichnung " + shown_name(*result.replay_name) + ".\n";
                } else {
                    text += "  Ohne Aufzeichnung (.vxr) steht das Ergebnis als unbewiesen in der Liste.\n";
                }
            }
        }
    }
    if (mail.uploads_left_out > 0) {
        text += mail.uploads_left_out == 1
                    ? std::string("\nEine weitere Upload-Datei wurde")
                    : "\nWeitere " + std::to_string(mail.uploads_left_out) + " Upload-Dateien wurden";
        text += " nicht angenommen: eine E-Mail darf höchstens " + std::to_string(max_uploads_per_mail) +
                " Upload-Dateien enthalten.\n";
    }
    text += "\nDiese Antwort wurde automatisch verschickt.\n";
    return text;
}

}  // namespace

std::string compose_reply(const ReceivedMail& mail, const std::vector<MailedUpload>& results, const std::string& from) {
    start_gmime();
    Owned<GMimeMessage> reply(g_mime_message_new(TRUE));
    if (!from.empty())
        g_mime_message_add_mailbox(reply.get(), GMIME_ADDRESS_TYPE_FROM, "Vorlanix-Bestenliste", from.c_str());
    g_mime_message_add_mailbox(reply.get(), GMIME_ADDRESS_TYPE_TO, nullptr, mail.sender.c_str());
    g_mime_message_set_subject(reply.get(), "Deine Upload-Datei für die Vorlanix-Bestenliste", "utf-8");
    GDateTime* now = g_date_time_new_now_utc();
    g_mime_message_set_date(reply.get(), now);
    g_date_time_unref(now);
    char* own_id = g_mime_utils_generate_message_id(g_get_host_name());
    g_mime_message_set_message_id(reply.get(), own_id);
    g_free(own_id);
    g_mime_object_set_header(GMIME_OBJECT(reply.get()), "Auto-Submitted", "auto-replied", nullptr);
    if (!mail.message_id.empty()) {
        const std::string id = "<" + mail.message_id + ">";
        g_mime_object_set_header(GMIME_OBJECT(reply.get()), "In-Reply-To", id.c_str(), nullptr);
        g_mime_object_set_header(GMIME_OBJECT(reply.get()), "References", id.c_str(), nullptr);
    }
    Owned<GMimeTextPart> body(g_mime_text_part_new_with_subtype("plain"));
    g_mime_text_part_set_text(body.get(), reply_text(mail, results).c_str());
    g_mime_part_set_content_encoding(GMIME_PART(body.get()), GMIME_CONTENT_ENCODING_QUOTEDPRINTABLE);
    g_mime_message_set_mime_part(reply.get(), GMIME_OBJECT(body.get()));
    char* text = g_mime_object_to_string(GMIME_OBJECT(reply.get()), nullptr);
    std::string answer = text ? text : "";
    g_free(text);
    return answer;
}

}  // namespace bestenliste
