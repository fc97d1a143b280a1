// Routes of the world list. The size and the rate of uploads are judged from the headers alone,
// before the body is read; nothing from a request ever names a file.
#include "server/world_list_server.h"

#include <httplib.h>
#include <sys/socket.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <exception>
#include <optional>
#include <span>

#include "server/html_pages.h"
#include "server/json_answers.h"
#include "server/web_build.h"

namespace bestenliste {

namespace {

constexpr const char* html_type = "text/html; charset=utf-8";
constexpr const char* json_type = "application/json";
// Far beyond any list, and small enough that offsets never overflow.
constexpr int64_t largest_page = 1'000'000'000;

}  // namespace

// httplib listens with a backlog of 5, which drops the connections of a burst of clients before
// they are accepted; listening again on the bound socket widens the queue.
class HttpListener : public httplib::Server {
public:
    void widen_backlog() { ::listen(svr_sock_, SOMAXCONN); }
};

namespace {

bool is_upload_path(const std::string& path) {
    return path == "/api/upload" || path == "/hochladen";
}

bool is_api_path(const std::string& path) {
    return path.starts_with("/api/");
}

std::optional<int64_t> number_of(const std::string& text) {
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

int64_t bounded_parameter(const httplib::Request& req, const char* name, int64_t fallback, int64_t low,
                          int64_t high) {
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

void answer_upload(const httplib::Request& req, httplib::Response& res, const UploadOutcome& outcome) {
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
      http_(std::make_unique<HttpListener>()),
      web_(options_.web_dir.empty() ? nullptr : WebBuild::load(options_.web_dir)) {
    const int threads = std::max(1, options_.threads);
    http_->new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<size_t>(threads)); };
    http_->set_payload_max_length(max_request_body);
    // One request per connection: an idle kept-alive connection would hold a worker of the pool,
    // and a refused upload leaves its unread body on the connection.
    http_->set_keep_alive_max_count(1);
    http_->set_read_timeout(10);
    http_->set_write_timeout(10);
    add_routes();
}

WorldListServer::~WorldListServer() = default;

int WorldListServer::bind() {
    const int port = options_.port == 0 ? http_->bind_to_any_port(options_.host)
                                        : (http_->bind_to_port(options_.host, options_.port) ? options_.port : -1);
    if (port >= 0) http_->widen_backlog();
    return port;
}

bool WorldListServer::run() {
    return http_->listen_after_bind();
}

void WorldListServer::stop() {
    http_->stop();
}

void WorldListServer::add_routes() {
    auto& http = *http_;

    http.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        if (req.method != "POST" || !is_upload_path(req.path)) return httplib::Server::HandlerResponse::Unhandled;
        std::optional<Reason> refusal;
        if (!req.has_header("Content-Length")) {
            refusal = Reason::LengthRequired;
        } else if (const auto length = number_of(req.get_header_value("Content-Length"));
                   !length || *length < 0 || static_cast<uint64_t>(*length) > max_request_body) {
            refusal = Reason::TooLarge;
        } else if (!limiter_.allow(client_address(req, options_.behind_proxy))) {
            refusal = Reason::RateLimited;
        }
        if (!refusal) return httplib::Server::HandlerResponse::Unhandled;
        answer_upload(req, res, {*refusal});
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

    http.set_error_handler(httplib::Server::HandlerWithResponse([](const httplib::Request& req,
                                                                   httplib::Response& res) {
        if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
        if (res.status == 413) {
            answer_upload(req, res, {Reason::TooLarge});
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
            std::fprintf(stderr, "vorlanix-bestenliste: the database failed: %s\n", database_message(error).c_str());
        } catch (...) {
        }
        // What fails here is the database; it comes back by itself (see EntryStore::revive).
        res.status = 503;
        res.set_content("", "text/plain");
    });

    const auto take_upload = [this](const httplib::Request& req, httplib::Response& res) {
        if (!req.has_file("qhs")) {
            answer_upload(req, res, {Reason::MissingFile});
            return;
        }
        const auto qhs = req.get_file_value("qhs");
        const auto replay = req.get_file_value("replay");
        // A browser sends the form's replay field empty when no file was chosen.
        std::optional<std::span<const uint8_t>> replay_bytes;
        if (!replay.content.empty()) replay_bytes = as_bytes(replay.content);
        answer_upload(req, res, desk_.take(as_bytes(qhs.content), replay_bytes));
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

    http.Get("/hochladen", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(upload_page(), html_type);
    });

    http.Get("/", [this](const httplib::Request& req, httplib::Response& res) {
        ListView view;
        view.search = req.has_param("suche") ? req.get_param_value("suche").substr(0, 40) : std::string();
        view.page = bounded_parameter(req, "seite", 1, 1, largest_page);
        view.total = store_.count(view.search);
        view.entries = store_.page((view.page - 1) * entries_per_page, entries_per_page, view.search);
        res.set_content(list_page(view), html_type);
    });

    http.Get("/api/list", [this](const httplib::Request& req, httplib::Response& res) {
        const int64_t offset = bounded_parameter(req, "offset", 0, 0, largest_page * entries_per_page);
        const int64_t limit = bounded_parameter(req, "limit", api_list_limit, 0, api_list_limit);
        res.set_content(list_answer(store_.count(), store_.page(offset, limit)), json_type);
    });

    http.Get(R"(/eintrag/(\d{1,18}))", [this](const httplib::Request& req, httplib::Response& res) {
        const auto entry = store_.find(number_of(req.matches[1]).value_or(0));
        if (!entry) {
            res.status = 404;
            return;
        }
        res.set_content(entry_page(*entry, web_ != nullptr), html_type);
    });

    http.Get(R"(/eintrag/(\d{1,18})/aufzeichnung)", [this](const httplib::Request& req, httplib::Response& res) {
        const int64_t id = number_of(req.matches[1]).value_or(0);
        const auto replay = store_.replay(id);
        if (!replay) {
            res.status = 404;
            return;
        }
        res.set_header("Content-Disposition",
                       "attachment; filename=\"vorlanix-" + std::to_string(id) + ".vxr\"");
        res.set_content(std::string(replay->begin(), replay->end()), "application/octet-stream");
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
