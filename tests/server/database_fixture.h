// SPDX-License-Identifier: GPL-3.0-or-later
// The databases the storage tests run against: a fresh SQLite file, or a fresh database in a
// throw-away PostgreSQL cluster that the tests start themselves.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "server/entry_store.h"
#include "tests/support/temp_dir.h"

// One cluster per test program, started on first use as an unprivileged user (PostgreSQL refuses
// to run as root) and stopped when the program ends.
class PostgresCluster {
  public:
    static PostgresCluster& shared();
    ~PostgresCluster();

    bool running() const { return why_not_.empty(); }
    const std::string& why_not() const { return why_not_; }
    // A new, empty database in the cluster, as a postgresql:// URL.
    std::string fresh_database(const std::string& name = {});
    // The directory of its Unix socket, and the loopback port it also listens on.
    std::string socket_dir() const { return dir_.path().string(); }
    int port() const { return port_; }
    // Stops the cluster, which every connection notices only when it next speaks; start() brings it back.
    bool stop();
    bool start();

  private:
    PostgresCluster();

    TempDir dir_;
    std::string why_not_;
    int databases_ = 0;
    int port_ = 0;
};

class DatabaseTest : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override;
    std::unique_ptr<bestenliste::EntryStore> open_store(size_t connections = 2);

    TempDir data_dir_;
    std::string database_;  // empty: SQLite in data_dir_
};
