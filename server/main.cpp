// SPDX-License-Identifier: GPL-3.0-or-later
// vorlanix-bestenliste: the world-wide list's server and its maintenance commands.
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <exception>
#include <optional>
#include <thread>

#include "base/licence_notice.h"
#include "base/log.h"
#include "base/read_file.h"
#include "score/upload_file.h"
#include "server/command_line.h"
#include "server/csv_export.h"
#include "server/database_backup.h"
#include "server/entry_store.h"
#include "server/mail_command.h"
#include "server/proof_workers.h"
#include "server/upload_desk.h"
#include "server/world_list_server.h"

namespace {

using namespace bestenliste;

int serve(EntryStore& store, UploadDesk& desk, const ServeOptions& options) {
    // Every thread started from here on inherits the blocked signals; one thread waits for them.
    sigset_t stopping;
    sigemptyset(&stopping);
    sigaddset(&stopping, SIGTERM);
    sigaddset(&stopping, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopping, nullptr);

    WorldListServer server(store, desk, options);
    const int port = server.bind();
    if (port < 0) {
        base::Log(
            "cannot listen on %s:%d: the address is not this machine's, or another "
            "program (another server?) listens there already\n",
            options.host.c_str(), options.port);
        return 1;
    }
    std::printf("vorlanix-bestenliste: listening on http://%s:%d/\n", options.host.c_str(), port);
    std::fflush(stdout);
    std::thread waiter([&server, stopping] {
        int signal_number = 0;
        sigwait(&stopping, &signal_number);
        server.stop();
    });
    const bool served = server.run();
    // When the server ended for another reason, the waiter still waits: wake it.
    pthread_kill(waiter.native_handle(), SIGTERM);
    waiter.join();
    std::printf("vorlanix-bestenliste: stopped\n");
    return served ? 0 : 1;
}

// Proves waiting uploads until SIGTERM or SIGINT; a proof under way is finished first.
int work(UploadDesk& desk, const ServeOptions& options) {
    sigset_t stopping;
    sigemptyset(&stopping);
    sigaddset(&stopping, SIGTERM);
    sigaddset(&stopping, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopping, nullptr);
    {
        ProofWorkers workers(desk, options.workers, options.proof_lease);
        std::printf("vorlanix-bestenliste: proving with %d workers\n", options.workers);
        std::fflush(stdout);
        int signal_number = 0;
        sigwait(&stopping, &signal_number);
    }
    std::printf("vorlanix-bestenliste: stopped\n");
    return 0;
}

// A replay (.vxr) named right after an upload file is that file's replay.
int import_files(UploadDesk& desk, const std::vector<std::string>& files) {
    int status = 0;
    for (size_t k = 0; k < files.size(); ++k) {
        const auto& file = files[k];
        // One byte more than the largest valid file, so that a longer one shows as too long.
        const auto read = base::read_file_start(file, score::upload_file_size + 1);
        std::optional<base::FileStart> replay;
        if (k + 1 < files.size() && files[k + 1].ends_with(".vxr")) {
            replay = base::read_file_start(files[++k], max_replay_size + 1);
        }
        const auto& unreadable = !read.status.ok() ? read.status : replay ? replay->status : read.status;
        if (!unreadable.ok()) {
            std::printf("%s: %s\n", file.c_str(), unreadable.error.c_str());
            status = 1;
            continue;
        }
        const auto outcome =
            replay && replay->size > max_replay_size
                ? UploadOutcome{Reason::TooLarge}
                : desk.take(read.bytes, replay ? std::optional<std::span<const uint8_t>>(replay->bytes) : std::nullopt);
        const auto& text = describe(outcome.reason);
        if (outcome.reason == Reason::Accepted) {
            std::printf("%s: accepted, rank %lld%s\n", file.c_str(), static_cast<long long>(outcome.rank),
                        outcome.proved ? ", proved" : "");
        } else {
            std::printf("%s: %.*s: %.*s\n", file.c_str(), static_cast<int>(text.code.size()), text.code.data(),
                        static_cast<int>(text.sentence.size()), text.sentence.data());
            if (outcome.reason != Reason::Duplicate) status = 1;
        }
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    base::SetProgramName("vorlanix-bestenliste");
    // A file-size limit makes a write fail, which the databases report, instead of ending the process.
    ::signal(SIGXFSZ, SIG_IGN);
    const auto line = parse_command_line(std::vector<std::string>(argv + 1, argv + argc));
    if (!line.error.empty()) {
        base::Log("%s", line.error.c_str());
        std::fprintf(stderr, "\n%s", usage_text);
        return 2;
    }
    if (line.command == Command::Help) {
        std::fputs(usage_text, stdout);
        return 0;
    }
    if (line.command == Command::Version) {
        std::fputs("vorlanix-bestenliste " VORLANIX_VERSION "\n" VORLANIX_LICENCE_NOTICE "\n", stdout);
        return 0;
    }
    if (line.command == Command::ReceiveMail) {
        // A sendmail that ends early must not end us before the exit code is given.
        ::signal(SIGPIPE, SIG_IGN);
        return receive_mail(stdin, line.database, line.data_dir, line.mail);
    }
    if (line.command == Command::Backup || line.command == Command::Restore) {
        const bool backup = line.command == Command::Backup;
        const auto& file = line.arguments[0];
        const std::string failure = backup ? backup_database(line.database, line.data_dir, file)
                                           : restore_database(line.database, line.data_dir, file);
        if (!failure.empty()) {
            base::Log("%s failed: %s", backup ? "backup" : "restore", failure.c_str());
            return 1;
        }
        std::printf("%s %s\n", backup ? "backed up to" : "restored from", file.c_str());
        if (backup) return 0;
    }
    try {
        // Each worker holds a connection while it stores a proof, beside the requests'.
        const size_t connections = line.command == Command::Serve
                                       ? static_cast<size_t>(line.serve.threads + line.serve.workers)
                                   : line.command == Command::Work ? static_cast<size_t>(line.serve.workers)
                                                                   : 1;
        EntryStore store(line.database, line.data_dir, connections);
        UploadDesk desk(store);
        switch (line.command) {
            case Command::Serve: return serve(store, desk, line.serve);
            case Command::Work: return work(desk, line.serve);
            case Command::Import: return import_files(desk, line.arguments);
            case Command::Export: export_csv(store, stdout); return 0;
            case Command::Delete:
                std::printf("%lld entries deleted\n", static_cast<long long>(store.delete_nickname(line.arguments[0])));
                return 0;
            case Command::Restore:
                // A backup from an older version gets the newer schema at once.
                std::printf("schema version %d\n", store.schema_version());
                return 0;
            case Command::ReceiveMail:
            case Command::Backup:
            case Command::Help:
            case Command::Version: break;
        }
    } catch (const std::exception& error) {
        base::Log("%s", error.what());
        return 1;
    }
    return 0;
}
