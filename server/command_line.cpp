// SPDX-License-Identifier: GPL-3.0-or-later
// Options may stand before or after the command; "--" ends them, so a nickname may begin with "-".
#include "server/command_line.h"

#include <charconv>
#include <cstdlib>

namespace bestenliste {

const char* const usage_text =
    "Usage: vorlanix-bestenliste serve [--listen ADDR:PORT] [--rate-limit N] [--behind-proxy] [--threads N]\n"
    "                                   [--max-connections N] [--connections-per-address N]\n"
    "                                   [--access-log FILE] [--web-dir DIR] [--workers N] [--lease S]\n"
    "       vorlanix-bestenliste work [--workers N] [--lease S]\n"
    "       vorlanix-bestenliste import FILE [REPLAY.vxr]...\n"
    "       vorlanix-bestenliste export --csv\n"
    "       vorlanix-bestenliste delete NICKNAME\n"
    "       vorlanix-bestenliste receive-mail [--reply] [--sendmail PROGRAM] [--reply-from ADDR]\n"
    "       vorlanix-bestenliste backup FILE\n"
    "       vorlanix-bestenliste restore FILE\n"
    "       vorlanix-bestenliste --help | --version\n"
    "\n"
    "The world-wide high-score list of Vorlanix: collects upload files (.qhs), ranks them as the\n"
    "game ranks (lower age first, equal ages by the earlier upload) and serves the list as web pages\n"
    "and JSON.\n"
    "\n"
    "  serve            serve the pages and the API until SIGTERM or SIGINT\n"
    "  work             prove uploaded replays waiting in the database until SIGTERM or SIGINT;\n"
    "                   any number of these may run on any machine that reaches the database\n"
    "  import FILE...   take upload files saved from mail, with the same checks as the web form;\n"
    "                   a replay (.vxr) named right after a file is that file's replay\n"
    "  export --csv     print every entry with its personal data as CSV (for the prize draw)\n"
    "  delete NICKNAME  remove every entry of that nickname\n"
    "  receive-mail     take the .qhs attachments (each with a .vxr of the same name) of one e-mail\n"
    "                   on standard input, for an MTA's pipe transport or a fetchmail/getmail MDA;\n"
    "                   exits 0 when taken, 65 for a malformed message, 75 to be tried again later\n"
    "  backup FILE      write a consistent copy of the whole database to FILE while it serves\n"
    "                   (SQLite: a database file; PostgreSQL: pg_dump's custom format)\n"
    "  restore FILE     replace the database's contents by those of a backup FILE\n"
    "\n"
    "Options for every command:\n"
    "  --data-dir DIR   where the SQLite database lives\n"
    "                   (default $XDG_DATA_HOME/vorlanix-bestenliste or ~/.local/share/vorlanix-bestenliste)\n"
    "  --database URL   postgresql://USER@HOST/DB for PostgreSQL, or sqlite:FILE\n"
    "Options for serve:\n"
    "  --listen ADDR:PORT  address to listen on (default 127.0.0.1:8080; port 0 picks a free one)\n"
    "  --rate-limit N      uploads per minute per address (default 10; 0 = no limit)\n"
    "  --behind-proxy      take the client's address from X-Forwarded-For (set by your proxy)\n"
    "  --threads N         requests at the database at once (default 8)\n"
    "  --max-connections N connections served at once (default 256); more wait for their turn\n"
    "  --connections-per-address N\n"
    "                      connections at once from one client address (default 32; 0 = no cap);\n"
    "                      not applied with --behind-proxy, where the proxy caps them\n"
    "                      Every connection must send its header within 10 s and its whole request\n"
    "                      within 60 s, in at most 16 KiB and 64 header fields\n"
    "  --access-log FILE   append a line per request (time, method, route such as /eintrag/ID,\n"
    "                      status, size, duration; never the client's address, the path's ids or\n"
    "                      the query); \"-\" for standard error\n"
    "  --web-dir DIR       serve the browser game built into DIR (scripts/build-web.sh) at /spielen\n"
    "Options for serve and work:\n"
    "  --workers N         replays proved at once (default 1; serve --workers 0 leaves every proof\n"
    "                      to work processes)\n"
    "  --lease S           seconds a worker holds a job (default 90); the job of a worker that died\n"
    "                      is taken up again after them\n"
    "Options for receive-mail:\n"
    "  --reply             answer the sender in German through sendmail\n"
    "  --sendmail PROGRAM  the sendmail interface to answer through (default /usr/sbin/sendmail)\n"
    "  --reply-from ADDR   the answer's From address (default: as the MTA sets it)\n";

namespace {

bool parse_int(const std::string& text, int low, int high, int& value) {
    int parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size() || parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

bool parse_listen(const std::string& text, ServeOptions& serve) {
    const auto colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) return false;
    std::string host = text.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    if (!parse_int(text.substr(colon + 1), 0, 65535, serve.port)) return false;
    serve.host = host;
    return true;
}

}  // namespace

std::filesystem::path default_data_dir() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
        return std::filesystem::path(xdg) / "vorlanix-bestenliste";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : ".") / ".local/share/vorlanix-bestenliste";
}

CommandLine parse_command_line(const std::vector<std::string>& args) {
    CommandLine line;
    bool have_command = false, csv = false, options_done = false;
    const auto fail = [&line](std::string message) {
        if (line.error.empty()) line.error = std::move(message);
    };
    for (size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        const auto value = [&]() -> std::string {
            if (k + 1 >= args.size()) {
                fail(arg + " needs a value");
                return {};
            }
            return args[++k];
        };
        if (!options_done && arg == "--") {
            options_done = true;
        } else if (!options_done && (arg == "--help" || arg == "-h")) {
            line.command = Command::Help;
            return line;
        } else if (!options_done && arg == "--version") {
            line.command = Command::Version;
            return line;
        } else if (!options_done && arg == "--data-dir") {
            line.data_dir = value();
        } else if (!options_done && arg == "--database") {
            line.database = value();
        } else if (!options_done && arg == "--listen") {
            if (!parse_listen(value(), line.serve)) fail("--listen takes ADDR:PORT");
        } else if (!options_done && arg == "--rate-limit") {
            if (!parse_int(value(), 0, 1'000'000, line.serve.rate_limit)) fail("--rate-limit takes a number >= 0");
        } else if (!options_done && arg == "--threads") {
            if (!parse_int(value(), 1, 256, line.serve.threads)) fail("--threads takes a number from 1 to 256");
        } else if (!options_done && arg == "--max-connections") {
            if (!parse_int(value(), 1, 100'000, line.serve.limits.total)) fail("--max-connections takes a number >= 1");
        } else if (!options_done && arg == "--connections-per-address") {
            if (!parse_int(value(), 0, 100'000, line.serve.limits.per_address)) {
                fail("--connections-per-address takes a number >= 0");
            }
        } else if (!options_done && arg == "--workers") {
            if (!parse_int(value(), 0, 256, line.serve.workers)) fail("--workers takes a number from 0 to 256");
        } else if (!options_done && arg == "--lease") {
            int seconds = 0;
            if (!parse_int(value(), 1, 86'400, seconds)) fail("--lease takes a number of seconds >= 1");
            line.serve.proof_lease = std::chrono::seconds(seconds);
        } else if (!options_done && arg == "--access-log") {
            line.serve.access_log = value();
        } else if (!options_done && arg == "--web-dir") {
            line.serve.web_dir = value();
        } else if (!options_done && arg == "--behind-proxy") {
            line.serve.behind_proxy = true;
        } else if (!options_done && arg == "--reply") {
            line.mail.reply = true;
        } else if (!options_done && arg == "--sendmail") {
            line.mail.sendmail = value();
        } else if (!options_done && arg == "--reply-from") {
            line.mail.from = value();
        } else if (!options_done && arg == "--csv") {
            csv = true;
        } else if (!options_done && arg.starts_with("-")) {
            fail("unknown option " + arg);
        } else if (!have_command) {
            have_command = true;
            if (arg == "serve")
                line.command = Command::Serve;
            else if (arg == "import")
                line.command = Command::Import;
            else if (arg == "export")
                line.command = Command::Export;
            else if (arg == "delete")
                line.command = Command::Delete;
            else if (arg == "receive-mail")
                line.command = Command::ReceiveMail;
            else if (arg == "backup")
                line.command = Command::Backup;
            else if (arg == "restore")
                line.command = Command::Restore;
            else if (arg == "work")
                line.command = Command::Work;
            else
                fail("unknown command " + arg);
        } else {
            line.arguments.push_back(arg);
        }
    }
    if (!have_command) fail("no command given");
    if (line.command == Command::Import && line.arguments.empty()) fail("import needs at least one FILE");
    if (line.command == Command::Export && !csv) fail("export needs --csv");
    if (line.command == Command::Delete && line.arguments.size() != 1) fail("delete needs exactly one NICKNAME");
    if ((line.command == Command::Backup || line.command == Command::Restore) && line.arguments.size() != 1) {
        fail(std::string(line.command == Command::Backup ? "backup" : "restore") + " needs exactly one FILE");
    }
    if (line.command == Command::Work && line.serve.workers < 1) fail("work needs --workers of at least 1");
    if ((line.command == Command::Serve || line.command == Command::Export || line.command == Command::ReceiveMail ||
         line.command == Command::Work) &&
        !line.arguments.empty()) {
        fail("unexpected argument " + line.arguments.front());
    }
    if (line.data_dir.empty()) line.data_dir = default_data_dir();
    return line;
}

}  // namespace bestenliste
