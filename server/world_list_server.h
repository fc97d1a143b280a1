// SPDX-License-Identifier: GPL-3.0-or-later
// The HTTP side of the world list: pages, the JSON API, the limits on what a request may cost.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "server/connection_guard.h"
#include "server/entry_store.h"
#include "server/metrics.h"
#include "server/proof_workers.h"
#include "server/rate_limiter.h"
#include "server/upload_desk.h"

namespace bestenliste {

class HttpListener;
class WebBuild;

// The largest replay any reader takes; a 100-second game stays far below it.
inline constexpr size_t max_replay_size = replay::kLargestReplay;
// An upload file, a replay and the multipart framing around them.
inline constexpr size_t max_request_body = max_replay_size + 16 * 1024;

struct ServeOptions {
    std::string host = "127.0.0.1";
    int port = 8080;
    int rate_limit = 10;               // uploads per minute per address; 0 = none
    int search_limit = 60;             // searches per minute per address; 0 = none
    bool behind_proxy = false;         // take the client's address from the proxy's X-Forwarded-For
    int threads = 8;                   // requests at the database at once
    ConnectionLimits limits;           // behind a proxy, per_address does not apply: the proxy caps its clients
    std::filesystem::path web_dir;     // the browser game's build, served at /spielen; empty: none
    std::filesystem::path access_log;  // one line per request: time, method, route, status, size, duration; "-": stderr
    int workers = 1;                   // threads proving queued uploads beside the pages; 0: `work` processes only
    std::chrono::milliseconds proof_lease = default_proof_lease;
};

class WorldListServer {
  public:
    WorldListServer(EntryStore& store, UploadDesk& desk, ServeOptions options);
    ~WorldListServer();

    // Binds the address (port 0 picks a free one) and returns the port, or -1.
    int bind();
    // Serves until stop(); requests in flight are finished before it returns.
    bool run();
    void stop();

  private:
    void add_routes();

    EntryStore& store_;
    UploadDesk& desk_;
    ServeOptions options_;
    RateLimiter limiter_;
    RateLimiter search_limiter_;
    // Before the listener and the workers, which count into it until they end.
    ServerMetrics metrics_;
    std::unique_ptr<HttpListener> http_;
    std::FILE* access_log_ = nullptr;
    std::unique_ptr<WebBuild> web_;
    // Last: its threads end before anything they use.
    std::unique_ptr<ProofWorkers> workers_;
};

}  // namespace bestenliste
