// SPDX-License-Identifier: GPL-3.0-or-later
// Upload files sent by e-mail: real MIME messages from disk and built here, taken into a real
// SQLite list, and the German answer read back as a mail client would read it.
#include <gmime/gmime.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "server/entry_store.h"
#include "server/mail_command.h"
#include "server/mail_intake.h"
#include "server/upload_desk.h"
#include "tests/server/recorded_games.h"
#include "tests/server/upload_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace bestenliste;

const std::filesystem::path source = VORLANIX_SOURCE_DIR;

std::vector<uint8_t> mail_file(const std::string& name) { return read_bytes(source / "tests/server/mail" / name); }

std::vector<uint8_t> corpus_file(const std::string& name) {
    return read_bytes(source / "fuzz/corpus/server_upload" / name);
}

// A message with the given attachments, each base64-encoded, built by GMime as a mail client would.
std::vector<uint8_t> message_with(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& files,
                                  const std::string& extra_header = {}) {
    read_mail({});  // starts GMime
    GMimeMessage* message = g_mime_message_new(TRUE);
    g_mime_message_add_mailbox(message, GMIME_ADDRESS_TYPE_FROM, "Spieler", "spieler@example.org");
    g_mime_message_set_subject(message, "Ergebnis", nullptr);
    GMimeMultipart* mixed = g_mime_multipart_new_with_subtype("mixed");
    GMimeTextPart* text = g_mime_text_part_new_with_subtype("plain");
    g_mime_text_part_set_text(text, "Hallo\n");
    g_mime_multipart_add(mixed, GMIME_OBJECT(text));
    g_object_unref(text);
    for (const auto& [name, bytes] : files) {
        GMimePart* part = g_mime_part_new_with_type("application", "octet-stream");
        g_mime_part_set_filename(part, name.c_str());
        GMimeStream* stream =
            g_mime_stream_mem_new_with_buffer(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        GMimeDataWrapper* content = g_mime_data_wrapper_new_with_stream(stream, GMIME_CONTENT_ENCODING_DEFAULT);
        g_mime_part_set_content(part, content);
        g_mime_part_set_content_encoding(part, GMIME_CONTENT_ENCODING_BASE64);
        g_mime_multipart_add(mixed, GMIME_OBJECT(part));
        g_object_unref(content);
        g_object_unref(stream);
        g_object_unref(part);
    }
    g_mime_message_set_mime_part(message, GMIME_OBJECT(mixed));
    g_object_unref(mixed);
    char* written = g_mime_object_to_string(GMIME_OBJECT(message), nullptr);
    std::string whole = extra_header + written;
    g_free(written);
    g_object_unref(message);
    return {whole.begin(), whole.end()};
}

// The answer's decoded text and its header block, as the player's mail program shows them.
struct ReadReply {
    std::string headers;
    std::string body;
};

ReadReply read_reply(const std::string& reply) {
    read_mail({});
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(reply.data(), reply.size());
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage* message = g_mime_parser_construct_message(parser, nullptr);
    ReadReply read;
    read.headers = reply.substr(0, reply.find("\n\n"));
    if (message && GMIME_IS_TEXT_PART(g_mime_message_get_mime_part(message))) {
        char* body = g_mime_text_part_get_text(GMIME_TEXT_PART(g_mime_message_get_mime_part(message)));
        read.body = body;
        g_free(body);
    }
    if (message) g_object_unref(message);
    g_object_unref(parser);
    g_object_unref(stream);
    return read;
}

struct Received {
    int status;
    long consumed;  // bytes read from standard input
};

Received receive(const std::vector<uint8_t>& message, const std::string& database, const std::filesystem::path& dir) {
    std::FILE* in = std::tmpfile();
    std::fwrite(message.data(), 1, message.size(), in);
    std::rewind(in);
    const int status = receive_mail(in, database, dir, {});
    const long consumed = std::ftell(in);
    std::fclose(in);
    return {status, consumed};
}

std::vector<std::vector<uint8_t>> stored_uploads(const std::filesystem::path& dir) {
    EntryStore store("", dir, 1);
    std::vector<std::vector<uint8_t>> uploads;
    store.for_each_ranked([&](const ExportedEntry& entry) { uploads.push_back(entry.upload); });
    return uploads;
}

TEST(MailIntake, TakesEveryAttachedUploadFileAsTheWebFormWould) {
    struct Case {
        const char* message;
        std::vector<std::string> names;  // as decoded from the message's MIME headers
        std::vector<const char*> files;  // the corpus files attached, ranked
    };
    const std::vector<Case> cases = {
        {"one_upload.eml", {"Max_32_01_15.qhs"}, {"max.qhs"}},
        // One name in RFC 2231 form, one only in Content-Type; one base64, one quoted-printable.
        {"two_uploads.eml", {"Jörg_40_00_01.qhs", "MAX.QHS"}, {"max.qhs", "umlaut.qhs"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const auto mail = read_mail(mail_file(c.message));
        ASSERT_TRUE(mail.readable);
        EXPECT_EQ(mail.sender, "max@example.org");
        EXPECT_FALSE(mail.automatic);
        std::vector<std::string> names;
        for (const auto& upload : mail.uploads) names.push_back(upload.name);
        EXPECT_EQ(names, c.names);

        TempDir dir;
        EXPECT_EQ(receive(mail_file(c.message), "", dir.path()).status, mail_taken);
        std::vector<std::vector<uint8_t>> expected;
        for (const char* file : c.files) expected.push_back(corpus_file(file));
        auto stored = stored_uploads(dir.path());
        std::sort(stored.begin(), stored.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(stored, expected);
        // The same message delivered again adds nothing and is still taken (no bounce).
        EXPECT_EQ(receive(mail_file(c.message), "", dir.path()).status, mail_taken);
        EXPECT_EQ(stored_uploads(dir.path()).size(), c.files.size());
    }
}

TEST(MailIntake, WhatIsNoMessageIsRefusedAsDataErrorWithoutTouchingTheList) {
    std::vector<uint8_t> huge = mail_file("one_upload.eml");
    huge.resize(max_mail_size + 4096, 'A');
    const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
        {"no headers", mail_file("not_a_message.eml")},
        {"empty", {}},
        {"larger than a message with a replay can be", huge},
    };
    for (const auto& [what, message] : cases) {
        SCOPED_TRACE(what);
        TempDir dir;
        const auto received = receive(message, "", dir.path() / "list");
        EXPECT_EQ(received.status, mail_malformed);
        // Read to its end, so that the MTA does not see a broken pipe instead of the exit code.
        EXPECT_EQ(received.consumed, static_cast<long>(message.size()));
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "list"));
    }
}

TEST(MailIntake, DeliveriesAtOnceToANewListAreAllTaken) {
    // An MTA runs a pipe per message, in parallel; the first ones create the list together (and
    // used to find it locked while one of them turned it to WAL).
    for (int round = 0; round < 3; ++round) {
        TempDir dir;
        const std::string command =
            "for k in 1 2 3 4 5 6 7 8; do (" + std::string(VORLANIX_BESTENLISTE) + " receive-mail --data-dir " +
            (dir / "list").string() + " < " + (source / "tests/server/mail/two_uploads.eml").string() + " 2>>" +
            (dir / "errors").string() + "; echo $? >> " + (dir / "status").string() + ") & done; wait";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const auto status = read_bytes(dir / "status");
        const auto errors = read_bytes(dir / "errors");
        EXPECT_EQ(std::string(status.begin(), status.end()), "0\n0\n0\n0\n0\n0\n0\n0\n")
            << "round " << round << ":\n"
            << std::string(errors.begin(), errors.end());
        EXPECT_EQ(stored_uploads(dir / "list").size(), 2u);
    }
}

TEST(MailIntake, AnUnusableDatabaseAsksTheMailSystemToTryAgainLater) {
    TempDir dir;
    std::filesystem::create_directory(dir / "blocked");
    // A directory where the database file should be: SQLite cannot open it.
    std::filesystem::create_directory(dir / "blocked/list.sqlite");
    EXPECT_EQ(
        receive(mail_file("one_upload.eml"), "sqlite:" + (dir / "blocked/list.sqlite").string(), dir.path()).status,
        mail_try_later);
}

TEST(MailIntake, HostileNamesAndAddressesNeverReachAPathOrAHeader) {
    const auto mail = read_mail(mail_file("hostile_names.eml"));
    ASSERT_TRUE(mail.readable);
    // The Reply-To would be an option to sendmail: the answer goes to From instead.
    EXPECT_EQ(mail.sender, "max@example.org");
    ASSERT_EQ(mail.uploads.size(), 3u);
    TempDir dir;
    EntryStore store("", dir.path(), 1);
    UploadDesk desk(store);
    const auto results = take_mailed_uploads(mail, desk);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].outcome.reason, Reason::Accepted);
    EXPECT_EQ(results[1].outcome.reason, Reason::BadCheckSum);
    EXPECT_EQ(results[2].outcome.reason, Reason::Accepted);
    EXPECT_FALSE(std::filesystem::exists("/tmp/vorlanix-traversal.qhs"));

    const auto reply = read_reply(compose_reply(mail, results, "liste@example.net"));
    EXPECT_NE(reply.headers.find("To: max@example.org"), std::string::npos) << reply.headers;
    EXPECT_EQ(reply.headers.find("Bcc"), std::string::npos) << reply.headers;
    EXPECT_EQ(reply.headers.find("victim"), std::string::npos) << reply.headers;
    EXPECT_NE(reply.body.find("../../../../tmp/vorlanix-traversal.qhs:"), std::string::npos) << reply.body;
    EXPECT_NE(reply.body.find("evil??Bcc: victim@example.org???.qhs:"), std::string::npos) << reply.body;
    EXPECT_NE(reply.body.find("Prüfsumme"), std::string::npos) << reply.body;
    // The 154-character name is cut to 80 characters, whole ones.
    std::string cut;
    for (int k = 0; k < 80; ++k) cut += "Ü";
    EXPECT_NE(reply.body.find("\n" + cut + ":\n"), std::string::npos) << reply.body;
    EXPECT_TRUE(g_utf8_validate(reply.body.data(), static_cast<gssize>(reply.body.size()), nullptr));
}

TEST(MailIntake, AnswersInGermanButNeverToAutomaticMail) {
    TempDir dir;
    EntryStore store("", dir.path(), 1);
    UploadDesk desk(store);
    const auto nothing = read_mail(mail_file("no_attachment.eml"));
    const auto none = take_mailed_uploads(nothing, desk);
    EXPECT_TRUE(none.empty());
    EXPECT_NE(read_reply(compose_reply(nothing, none, "")).body.find("enthielt keine Upload-Datei"), std::string::npos);

    const auto taken = read_mail(mail_file("one_upload.eml"));
    const auto reply = read_reply(compose_reply(taken, take_mailed_uploads(taken, desk), "liste@example.net"));
    EXPECT_NE(reply.body.find("Max_32_01_15.qhs:\n  Dein Ergebnis wurde in die weltweite Bestenliste eingetragen.\n"
                              "  Platz 1.\n"),
              std::string::npos)
        << reply.body;
    for (const char* header : {"Auto-Submitted: auto-replied", "In-Reply-To: <ein-Ergebnis@example.org>",
                               "From: Vorlanix-Bestenliste <liste@example.net>"}) {
        EXPECT_NE(reply.headers.find(header), std::string::npos) << header << "\n" << reply.headers;
    }

    for (const char* header : {"Auto-Submitted: auto-replied\n", "Precedence: bulk\n", "Return-Path: <>\n",
                               "List-Id: <spiele.example.org>\n"}) {
        EXPECT_TRUE(read_mail(message_with({}, header)).automatic) << header;
    }
    EXPECT_FALSE(read_mail(message_with({}, "Auto-Submitted: no\n")).automatic);
}

TEST(MailIntake, AReplayBesideTheUploadFileProvesIt) {
    const auto& game = game_with_upload();
    const auto other = upload_bytes("Fremder", 20000);
    struct Expected {
        std::string name;
        Reason reason;
        bool proved;
    };
    struct Case {
        std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
        std::vector<Expected> results;  // in the message's order
    };
    const std::vector<Case> cases = {
        // Paired by name, letter case aside, whatever their order; a file without one is unproved.
        {{{"Held.vxr", {1, 2, 3}}, {"fremd.qhs", other}, {"spiel.VXR", game.replay}, {"Spiel.qhs", game.upload}},
         {{"fremd.qhs", Reason::Accepted, false}, {"Spiel.qhs", Reason::Accepted, true}}},
        // One file and one replay belong together whatever their names.
        {{{"a.qhs", game.upload}, {"b.vxr", game.replay}}, {{"a.qhs", Reason::Accepted, true}}},
        {{{"a.qhs", other}, {"b.vxr", game.replay}}, {{"a.qhs", Reason::ReplayMismatch, false}}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        EntryStore store("", dir.path(), 1);
        UploadDesk desk(store);
        const auto results = take_mailed_uploads(read_mail(message_with(c.files)), desk);
        ASSERT_EQ(results.size(), c.results.size());
        for (size_t k = 0; k < results.size(); ++k) {
            SCOPED_TRACE(results[k].name);
            EXPECT_EQ(results[k].name, c.results[k].name);
            EXPECT_EQ(results[k].outcome.reason, c.results[k].reason);
            EXPECT_EQ(results[k].outcome.proved, c.results[k].proved);
        }
    }
}

TEST(MailIntake, AMessageTakesABoundedNumberOfUploadFiles) {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
    for (size_t k = 0; k < max_uploads_per_mail + 3; ++k) {
        files.push_back({"Spieler" + std::to_string(k) + ".qhs", upload_bytes("Spieler" + std::to_string(k), 1000)});
    }
    TempDir dir;
    EntryStore store("", dir.path(), 1);
    UploadDesk desk(store);
    const auto mail = read_mail(message_with(files));
    EXPECT_EQ(mail.uploads_left_out, 3u);
    const auto results = take_mailed_uploads(mail, desk);
    ASSERT_EQ(results.size(), max_uploads_per_mail);
    EXPECT_EQ(store.total(), static_cast<int64_t>(max_uploads_per_mail));
    EXPECT_NE(
        read_reply(compose_reply(mail, results, "")).body.find("Weitere 3 Upload-Dateien wurden nicht angenommen"),
        std::string::npos);
}

}  // namespace
