// SPDX-License-Identifier: GPL-3.0-or-later
// initdb and pg_ctl from Debian's PostgreSQL 15, on a Unix socket in a temporary directory only.
#include "tests/server/database_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <soci/postgresql/soci-postgresql.h>
#include <soci/soci.h>

namespace {

const std::filesystem::path pg_bin = "/usr/lib/postgresql/15/bin";
const char* const cluster_user = "bestenliste";

// As root, commands run as "nobody", who may own the cluster's directory but nothing else.
std::string as_cluster_owner(const std::string& command) {
    if (::geteuid() != 0) return command;
    return "setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env -- " + command;
}

bool run_quietly(const std::string& command, const std::filesystem::path& log) {
    return std::system((command + " >>" + log.string() + " 2>&1").c_str()) == 0;
}

// A port nobody listens on now; the cluster takes it a moment later.
int free_port() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
}

}  // namespace

PostgresCluster& PostgresCluster::shared() {
    static PostgresCluster cluster;
    return cluster;
}

PostgresCluster::PostgresCluster() {
    if (!std::filesystem::exists(pg_bin / "initdb")) {
        why_not_ = "PostgreSQL 15 is not installed (" + (pg_bin / "initdb").string() + " is missing)";
        return;
    }
    if (::geteuid() == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        if (nobody == nullptr || ::chown(dir_.path().c_str(), nobody->pw_uid, nobody->pw_gid) != 0) {
            why_not_ = "cannot hand the cluster's directory to the user nobody";
            return;
        }
    }
    const auto data = dir_ / "data";
    const auto log = dir_ / "setup.log";
    port_ = free_port();
    if (!run_quietly(as_cluster_owner((pg_bin / "initdb").string() + " -D " + data.string() + " -U " + cluster_user +
                                      " -A trust -E UTF8 --locale=C --no-sync"),
                     log) ||
        !start()) {
        const auto output = read_bytes(log);
        why_not_ = "the PostgreSQL cluster did not start:\n" + std::string(output.begin(), output.end());
    }
}

PostgresCluster::~PostgresCluster() {
    if (running()) stop();
}

bool PostgresCluster::start() {
    const std::string d = dir_.path().string();
    return run_quietly(as_cluster_owner((pg_bin / "pg_ctl").string() + " -D " + (dir_ / "data").string() + " -l " + d +
                                        "/server.log -w -o \"-k " + d + " -p " + std::to_string(port_) +
                                        " -c listen_addresses=127.0.0.1 -c fsync=off\" start"),
                       dir_ / "setup.log");
}

bool PostgresCluster::stop() {
    return run_quietly(
        as_cluster_owner((pg_bin / "pg_ctl").string() + " -D " + (dir_ / "data").string() + " -m immediate -w stop"),
        dir_ / "setup.log");
}

std::string PostgresCluster::fresh_database(const std::string& wanted) {
    const std::string name = wanted.empty() ? "liste" + std::to_string(++databases_) : wanted;
    const std::string base = "postgresql:///";
    const std::string options =
        "?host=" + dir_.path().string() + "&port=" + std::to_string(port_) + "&user=" + cluster_user;
    soci::session admin(soci::postgresql, base + "postgres" + options);
    admin << "CREATE DATABASE " + name;
    return base + name + options;
}

void DatabaseTest::SetUp() {
    if (GetParam() == "postgresql") {
        auto& cluster = PostgresCluster::shared();
        if (!cluster.running()) GTEST_SKIP() << "PostgreSQL tests skipped: " << cluster.why_not();
        database_ = cluster.fresh_database();
    }
}

std::unique_ptr<bestenliste::EntryStore> DatabaseTest::open_store(size_t connections) {
    return std::make_unique<bestenliste::EntryStore>(database_, data_dir_.path(), connections);
}
