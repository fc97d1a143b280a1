// SPDX-License-Identifier: GPL-3.0-or-later
// Routes of the world list. The size and the rate of uploads are judged from the headers alone,
// before the body is read; nothing from a request ever names a file.
#include "server/world_list_server.h"

#include <httplib.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <exception>
#include <optional>
#include <span>
#include <stdexcept>

#include "base/log.h"
#include "server/html_pages.h"
#include "server/json_answers.h"
#include "server/time_text.h"
#include "server/web_build.h"

namespace bestenliste {

namespace {

constexpr const char* html_type = "text/html; charset=utf-8";
constexpr const char* json_type = "application/json";
// Far beyond any list, and small enough that offsets never overflow.
constexpr int64_t largest_page = 1'000'000'000;

// Set while a connection is served, for the handlers and the access log of its thread.
thread_local bool body_left_unread = false;
thread_local std::chrono::steady_clock::time_point request_start;
thread_local int answered_status = 0;

void log_refusal(ServerMetrics& metrics, const char* what) {
    base::Log("refused: %s", what);
    metrics.count_refusal(what);
}

}  // namespace

// httplib serves a connection with one thread of its pool from the first byte to the last. Before
// it reads anything, the guard counts the connection in and waits for its whole header, so a
// client that trickles or floods its header is dropped at a deadline; httplib then reads through
// a stream whose deadline for the whole request ends a trickling body.
class HttpListener : public httplib::Server {
  public:
    HttpListener(const ConnectionLimits& limits, bool by_address, ServerMetrics& metrics)
        : guard_(by_address ? limits : without_address_cap(limits)), metrics_(metrics) {}

    // httplib listens with a backlog of 5, which drops the connections of a burst of clients before
    // they are accepted; listening again on the bound socket widens the queue.
    void widen_backlog() { ::listen(svr_sock_, SOMAXCONN); }
    const ConnectionLimits& limits() const { return guard_.limits(); }

  protected:
    bool process_and_close_socket(socket_t sock) override {
        const auto start = std::chrono::steady_clock::now();
        const auto& limits = guard_.limits();
        const std::string address = limits.per_address > 0 ? peer_address(sock) : std::string();
        const Admission admission = guard_.admit(address);
        if (admission != Admission::Admitted) {
            log_refusal(metrics_, admission == Admission::TooMany ? "too many connections"
                                                                  : "too many connections from one address");
            send_refusal(sock, 503);
            close_lingering(sock, 4 * limits.header_bytes, std::chrono::milliseconds(200));
            return false;
        }
        request_start = start;
        const HeaderWait header = guard_.await_header(sock, start + limits.header_time);
        if (header != HeaderWait::Arrived) {
            if (header != HeaderWait::Closed) {
                log_refusal(metrics_, header == HeaderWait::TooLarge ? "header too large" : "header too slow");
                send_refusal(sock, header == HeaderWait::TooLarge ? 431 : 408);
            }
            close_lingering(sock, 4 * limits.header_bytes, std::chrono::milliseconds(200));
            guard_.leave(address);
            return false;
        }
        // A connection is kept for its next request while it waits little and the server has
        // room: an idle one holds a thread and counts against the caps until its deadline. A
        // refused upload leaves its unread body on the connection, which then closes.
        GuardedStream stream(sock, start + limits.request_time, std::chrono::seconds(10));
        bool served = true;
        for (int requests = 1;; ++requests) {
            body_left_unread = false;
            answered_status = 0;
            bool connection_closed = false;
            const bool keep = requests < limits.keep_alive_requests && !guard_.crowded();
            served = process_request(stream, !keep, connection_closed, {});
            if (body_left_unread) {
                close_lingering(sock, 2 * max_request_body, std::chrono::seconds(2));
                guard_.leave(address);
                return served;
            }
            // A pipelined request already read into the stream's buffer is not served: the
            // header wait sees only the socket.
            // After an error the rest of the connection cannot be trusted (a body cut short, a
            // broken form): it closes. A missing page or a refused search is no such error.
            const bool sound = answered_status < 400 || answered_status == 404 || answered_status == 429;
            if (!served || !keep || !sound || connection_closed || stream.holds_unread()) break;
            const HeaderWait next =
                guard_.await_header(sock, std::chrono::steady_clock::now() + limits.keep_alive_idle);
            if (next != HeaderWait::Arrived) {
                if (next == HeaderWait::TooLarge) {
                    log_refusal(metrics_, "header too large");
                    send_refusal(sock, 431);
                    close_lingering(sock, 4 * limits.header_bytes, std::chrono::milliseconds(200));
                    guard_.leave(address);
                    return served;
                }
                // Idle or trickling past the keep-alive time: closed like any idle connection.
                break;
            }
            request_start = std::chrono::steady_clock::now();
            stream.set_read_deadline(request_start + limits.request_time);
        }
        ::close(sock);
        guard_.leave(address);
        return served;
    }

  private:
    static ConnectionLimits without_address_cap(ConnectionLimits limits) {
        limits.per_address = 0;
        return limits;
    }

    ConnectionGuard guard_;
    ServerMetrics& metrics_;
};

namespace {

bool is_upload_path(const std::string& path) { return path == "/api/upload" || path == "/hochladen"; }

bool is_api_path(const std::string& path) { return path.starts_with("/api/"); }

std::optional<int64_t> number_of(const std::string& text) {
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

int64_t bounded_parameter(const httplib::Request& req, const char* name, int64_t fallback, int64_t low, int64_t high) {
    if (!req.has_param(name)) return fallback;
    return std::clamp(number_of(req.get_param_value(name)).value_or(fallback), low, high);
}

std::string client_address(const httplib::Request& req, bool behind_proxy) {
    if (behind_proxy && req.has_header("X-Forwarded-For")) {
        // The proxy appends the address it saw; earlier entries are the client's own claims.
        const std::string forwarded = req.get_header_value("X-Forwarded-For");
        const auto comma = forwarded.rfind(',');
        const auto last = comma == std::string::npos ? forwarded : forwarded.substr(comma + 1);
        const auto first = last.find_first_not_of(' ');
        return first == std::string::npos ? req.remote_addr : last.substr(first);
    }
    return req.remote_addr;
}

std::span<const uint8_t> as_bytes(const std::string& content) {
    return {reinterpret_cast<const uint8_t*>(content.data()), content.size()};
}

// What changes only with the list is answered with its fingerprint; a client holding the same
// copy gets 304 and no body. `cache_control` says how long it may keep it without asking.
void answer_cacheable(const httplib::Request& req, httplib::Response& res, std::string body, const char* type,
                      const char* cache_control) {
    char tag[24];
    std::snprintf(tag, sizeof tag, "\"%016zx\"", std::hash<std::string>{}(body));
    res.set_header("ETag", tag);
    res.set_header("Cache-Control", cache_control);
    const std::string held = req.get_header_value("If-None-Match");
    if (held == "*" || held.find(tag) != std::string::npos) {
        res.status = 304;
        return;
    }
    res.set_content(std::move(body), type);
}

// List pages change with every upload: a short while in a cache, then asked again.
constexpr const char* list_cache = "public, max-age=10";

void answer_upload(const httplib::Request& req, httplib::Response& res, const UploadOutcome& outcome,
                   ServerMetrics& metrics) {
    metrics.count_upload(outcome.reason);
    res.status = describe(outcome.reason).status;
    if (is_api_path(req.path)) {
        res.set_content(upload_answer(outcome), json_type);
    } else {
        res.set_content(upload_page(outcome), html_type);
    }
}

}  // namespace

WorldListServer::WorldListServer(EntryStore& store, UploadDesk& desk, ServeOptions options)
    : store_(store),
      desk_(desk),
      options_(std::move(options)),
      limiter_(options_.rate_limit),
      search_limiter_(options_.search_limit),
      http_(std::make_unique<HttpListener>(options_.limits, !options_.behind_proxy, metrics_)),
      web_(options_.web_dir.empty() ? nullptr : WebBuild::load(options_.web_dir)) {
    // A waiting connection costs a thread and little else; what costs more (the database, proofs)
    // has bounds of its own.
    const int threads = std::max(1, options_.limits.total);
    http_->new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<size_t>(threads)); };
    // Not SO_REUSEPORT (httplib's default): a second server on the same port must fail to start
    // rather than take half of the connections.
    http_->set_socket_options([](socket_t sock) {
        const int yes = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    if (!options_.access_log.empty() && options_.access_log != "-") {
        access_log_ = std::fopen(options_.access_log.c_str(), "a");
        if (!access_log_) throw std::runtime_error("cannot write the access log " + options_.access_log.string());
    }
    // The method and route (never the path or query a client sent: a search names a nickname),
    // status, size and time taken: nothing that tells who asked, or what for.
    http_->set_logger([this](const httplib::Request& req, const httplib::Response& res) {
        answered_status = res.status;
        const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - request_start;
        const std::string_view route = route_of(req.method, req.path);
        metrics_.observe_request(route, taken);
        if (options_.access_log.empty()) return;
        char line[160];
        std::snprintf(line, sizeof line, "%s %.*s %d %zu %.1fms", iso_time(UploadDesk::system_milliseconds()).c_str(),
                      static_cast<int>(route.size()), route.data(), res.status, res.body.size(), taken.count() * 1000);
        if (access_log_) {
            std::fprintf(access_log_, "%s\n", line);
            std::fflush(access_log_);
        } else {
            base::LogLine(line);
        }
    });
    http_->set_payload_max_length(max_request_body);
    // What the Keep-Alive header of a kept connection's answer tells the client.
    http_->set_keep_alive_max_count(static_cast<size_t>(std::max(1, options_.limits.keep_alive_requests)));
    http_->set_keep_alive_timeout(
        std::max<time_t>(1, std::chrono::duration_cast<std::chrono::seconds>(options_.limits.keep_alive_idle).count()));
    add_routes();
    if (options_.workers > 0) {
        workers_ = std::make_unique<ProofWorkers>(desk_, options_.workers, options_.proof_lease);
    }
}

WorldListServer::~WorldListServer() {
    if (access_log_) std::fclose(access_log_);
}

int WorldListServer::bind() {
    const int port = options_.port == 0 ? http_->bind_to_any_port(options_.host)
                                        : (http_->bind_to_port(options_.host, options_.port) ? options_.port : -1);
    if (port >= 0) http_->widen_backlog();
    return port;
}

bool WorldListServer::run() { return http_->listen_after_bind(); }

void WorldListServer::stop() { http_->stop(); }

void WorldListServer::add_routes() {
    auto& http = *http_;

    http.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        const bool upload = req.method == "POST" && is_upload_path(req.path);
        std::optional<Reason> refusal;
        const char* why = nullptr;
        const auto length = req.has_header("Content-Length") ? number_of(req.get_header_value("Content-Length"))
                                                             : std::optional<int64_t>(0);
        if (static_cast<int>(req.headers.size()) > http_->limits().header_fields) {
            res.status = 431;
            why = "too many header fields";
        } else if (req.has_header("Transfer-Encoding")) {
            // A body's length is known before it is read, or the request is refused; with both
            // framings a proxy and this server could disagree where the request ends.
            refusal = req.has_header("Content-Length") ? Reason::BadRequest : Reason::LengthRequired;
            why = req.has_header("Content-Length") ? "both Content-Length and Transfer-Encoding" : "length unknown";
        } else if (upload && !req.has_header("Content-Length")) {
            refusal = Reason::LengthRequired;
            why = "length unknown";
        } else if (!length || *length < 0 || req.get_header_value_count("Content-Length") > 1) {
            refusal = Reason::BadRequest;
            why = "unreadable Content-Length";
        } else if (static_cast<uint64_t>(*length) > (upload ? max_request_body : 0)) {
            // Only uploads have a body.
            refusal = Reason::TooLarge;
            why = "body too large";
        } else if (upload && !limiter_.allow(client_address(req, options_.behind_proxy))) {
            refusal = Reason::RateLimited;
            why = "rate limited";
        }
        if (!why) return httplib::Server::HandlerResponse::Unhandled;
        log_refusal(metrics_, why);
        body_left_unread = true;
        if (refusal) {
            if (upload) {
                answer_upload(req, res, {*refusal}, metrics_);
                return httplib::Server::HandlerResponse::Handled;
            }
            res.status = describe(*refusal).status;
        }
        // The error handler writes the page or the JSON for the status.
        return httplib::Server::HandlerResponse::Handled;
    });

    http.set_post_routing_handler([](const httplib::Request& req, httplib::Response& res) {
        res.set_header("X-Content-Type-Options", "nosniff");
        // The game's page runs its own scripts and WebAssembly and fetches its files and replays.
        res.set_header("Content-Security-Policy",
                       req.path.starts_with("/spielen")
                           ? "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; img-src 'self' blob: data:; "
                             "form-action 'self'; frame-ancestors 'none'"
                           : "default-src 'none'; style-src 'self'; form-action 'self'; frame-ancestors 'none'");
        res.set_header("Referrer-Policy", "no-referrer");
    });

    http.set_error_handler(
        httplib::Server::HandlerWithResponse([this](const httplib::Request& req, httplib::Response& res) {
            if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
            if (res.status == 413) {
                answer_upload(req, res, {Reason::TooLarge}, metrics_);
            } else if (res.status == 400 && req.method == "POST" && is_upload_path(req.path)) {
                // A body that is not the multipart form the upload takes.
                answer_upload(req, res, {Reason::BadRequest}, metrics_);
            } else if (is_api_path(req.path)) {
                res.set_content("{\"error\":" + std::to_string(res.status) + "}", json_type);
            } else {
                res.set_content(error_page(res.status), html_type);
            }
            return httplib::Server::HandlerResponse::Handled;
        }));

    http.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr thrown) {
        try {
            std::rethrow_exception(thrown);
        } catch (const std::exception& error) {
            base::Log("the database failed: %s", database_message(error).c_str());
        } catch (...) {
        }
        // What fails here is the database; it comes back by itself (see EntryStore::revive).
        res.status = 503;
        res.set_content("", "text/plain");
    });

    const auto take_upload = [this](const httplib::Request& req, httplib::Response& res) {
        if (!req.has_file("qhs")) {
            answer_upload(req, res, {Reason::MissingFile}, metrics_);
            return;
        }
        const auto qhs = req.get_file_value("qhs");
        const auto replay = req.get_file_value("replay");
        // A browser sends the form's replay field empty when no file was chosen.
        if (replay.content.empty()) {
            answer_upload(req, res, desk_.take(as_bytes(qhs.content)), metrics_);
            return;
        }
        // A proof takes up to its time limit: the upload waits for it in the database, not here.
        const UploadOutcome outcome =
            desk_.queue(as_bytes(qhs.content), as_bytes(replay.content), client_address(req, options_.behind_proxy));
        if (outcome.reason == Reason::Pending && workers_) workers_->wake();
        answer_upload(req, res, outcome, metrics_);
    };
    http.Post("/api/upload", take_upload);
    http.Post("/hochladen", take_upload);

    // For load balancers and monitoring: 200 while the database answers, 503 while it does not.
    http.Get("/healthz", [this](const httplib::Request&, httplib::Response& res) {
        const bool healthy = store_.healthy();
        res.status = healthy ? 200 : 503;
        res.set_header("Cache-Control", "no-store");
        res.set_content(healthy ? R"({"database":"ok"})" : R"({"database":"unavailable"})", json_type);
    });

    // For Prometheus: what this process has done since it started, and the proofs of all.
    http.Get("/metrics", [this](const httplib::Request&, httplib::Response& res) {
        std::optional<ProofFigures> proofs;
        try {
            proofs = desk_.proofs().figures();
        } catch (const std::exception& error) {
            base::Log("the database failed: %s", database_message(error).c_str());
        }
        res.set_header("Cache-Control", "no-store");
        res.set_content(metrics_.text(proofs), "text/plain; version=0.0.4; charset=utf-8");
    });

    http.Get("/hochladen",
             [](const httplib::Request&, httplib::Response& res) { res.set_content(upload_page(), html_type); });

    // The proved list at /, the unproved results (and the uploads still being proved) at /unbewiesen.
    const auto list_page_of = [this](Listing list) {
        return [this, list](const httplib::Request& req, httplib::Response& res) {
            ListView view;
            view.list = list;
            view.search = req.has_param("suche") ? req.get_param_value("suche").substr(0, 40) : std::string();
            view.page = bounded_parameter(req, "seite", 1, 1, largest_page);
            // A search reads more than a page of the list does: each address has its share.
            if (!view.search.empty() && !search_limiter_.allow(client_address(req, options_.behind_proxy))) {
                log_refusal(metrics_, "search rate limited");
                res.status = 429;
                res.set_header("Retry-After", "60");
                return;
            }
            if (view.search.empty()) {
                view.total = store_.count(list);
                view.entries = store_.page(list, (view.page - 1) * entries_per_page, entries_per_page);
            } else {
                auto found = store_.search(list, view.search, (view.page - 1) * entries_per_page, entries_per_page);
                view.total = found.total;
                view.entries = std::move(found.entries);
            }
            if (list == Listing::Unproved && view.page == 1 && view.search.empty()) {
                view.waiting_total = desk_.proofs().waiting();
                if (view.waiting_total > 0) view.waiting = desk_.proofs().waiting_entries(entries_per_page);
            }
            answer_cacheable(req, res, list_page(view), html_type, list_cache);
        };
    };
    http.Get("/", list_page_of(Listing::Proved));
    http.Get("/unbewiesen", list_page_of(Listing::Unproved));

    http.Get("/api/list", [this](const httplib::Request& req, httplib::Response& res) {
        const int64_t offset = bounded_parameter(req, "offset", 0, 0, largest_page * entries_per_page);
        const int64_t limit = bounded_parameter(req, "limit", api_list_limit, 0, api_list_limit);
        const std::string wanted = req.get_param_value("list");
        if (!wanted.empty() && wanted != "proved" && wanted != "unproved") {
            res.status = 400;
            return;
        }
        const Listing list = wanted == "unproved" ? Listing::Unproved : Listing::Proved;
        std::vector<ListedEntry> waiting;
        int64_t waiting_total = 0;
        if (list == Listing::Unproved) {
            waiting_total = desk_.proofs().waiting();
            if (waiting_total > 0) waiting = desk_.proofs().waiting_entries(api_list_limit);
        }
        answer_cacheable(
            req, res, list_answer(list, store_.count(list), store_.page(list, offset, limit), waiting, waiting_total),
            json_type, list_cache);
    });

    http.Get(R"(/eintrag/(\d{1,18}))", [this](const httplib::Request& req, httplib::Response& res) {
        const int64_t id = number_of(req.matches[1]).value_or(0);
        if (const auto entry = store_.find(id)) {
            res.set_content(entry_page(*entry, web_ != nullptr), html_type);
            return;
        }
        // An upload waiting for its proof, or refused by it, is not in the list but has its page.
        const auto proof = desk_.proofs().status(id);
        if (!proof || proof->state == ProofState::Proved) {
            res.status = 404;
            return;
        }
        res.set_header("Cache-Control", "no-store");
        res.set_content(proof_page(id, *proof), html_type);
    });

    http.Get(R"(/api/entry/(\d{1,18}))", [this](const httplib::Request& req, httplib::Response& res) {
        const int64_t id = number_of(req.matches[1]).value_or(0);
        const auto entry = store_.find(id);
        const auto proof = entry ? std::nullopt : desk_.proofs().status(id);
        if (!entry && (!proof || proof->state == ProofState::Proved)) {
            res.status = 404;
            return;
        }
        res.set_header("Cache-Control", "no-store");
        res.set_content(entry_answer(id, entry, proof), json_type);
    });

    http.Get(R"(/eintrag/(\d{1,18})/aufzeichnung)", [this](const httplib::Request& req, httplib::Response& res) {
        const int64_t id = number_of(req.matches[1]).value_or(0);
        const auto replay = store_.replay(id);
        if (!replay) {
            res.status = 404;
            return;
        }
        res.set_header("Content-Disposition", "attachment; filename=\"vorlanix-" + std::to_string(id) + ".vxr\"");
        // A stored replay never changes; it only goes when its entry is deleted.
        answer_cacheable(req, res, std::string(replay->begin(), replay->end()), "application/octet-stream",
                         "public, max-age=86400");
    });

    http.Get("/stil.css", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(std::string(style_sheet()), "text/css; charset=utf-8");
    });

    if (!web_) return;
    http.Get("/spielen", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/spielen/"); });
    http.Get(R"(/spielen/([A-Za-z0-9_.-]{0,100}))", [this](const httplib::Request& req, httplib::Response& res) {
        const WebAnswer answer = web_->answer(req.matches[1].str(), req.get_header_value("Accept-Encoding"));
        if (answer.status != 200) {
            res.status = answer.status;
            return;
        }
        res.set_header("Cache-Control", answer.cache_control);
        res.set_header("Vary", "Accept-Encoding");
        if (answer.gzip) res.set_header("Content-Encoding", "gzip");
        res.set_content(answer.body.data(), answer.body.size(), answer.type.c_str());
    });
}

}  // namespace bestenliste
