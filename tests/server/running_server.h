// SPDX-License-Identifier: GPL-3.0-or-later
// A world-list server on a free loopback port inside the test process, over a fresh SQLite file.
#pragma once

#include <httplib.h>

#include <thread>

#include "server/world_list_server.h"
#include "tests/support/temp_dir.h"

class RunningServer {
  public:
    // `database` as for --database; empty: a fresh SQLite file.
    explicit RunningServer(bestenliste::ServeOptions options = {}, const std::string& database = {})
        : store_(database, dir_.path(), 4), desk_(store_), server_(store_, desk_, with_free_port(options)) {
        port_ = server_.bind();
        thread_ = std::thread([this] { server_.run(); });
    }
    ~RunningServer() {
        server_.stop();
        thread_.join();
    }

    int port() const { return port_; }
    httplib::Client client() const { return httplib::Client("127.0.0.1", port_); }
    bestenliste::EntryStore& store() { return store_; }

  private:
    static bestenliste::ServeOptions with_free_port(bestenliste::ServeOptions options) {
        options.port = 0;
        options.threads = 4;
        return options;
    }

    TempDir dir_;
    bestenliste::EntryStore store_;
    bestenliste::UploadDesk desk_;
    bestenliste::WorldListServer server_;
    int port_ = -1;
    std::thread thread_;
};
