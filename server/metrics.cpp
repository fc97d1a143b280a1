// SPDX-License-Identifier: GPL-3.0-or-later
// The text format: https://prometheus.io/docs/instrumenting/exposition_formats/ (version 0.0.4).
// Label values come only from fixed sets (reason codes, routes, our own refusal texts), so
// nothing needs escaping.
#include "server/metrics.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

namespace bestenliste {

namespace {

std::string number_text(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

std::string joined(std::string_view labels, std::string_view more) {
    if (labels.empty()) return std::string(more);
    return std::string(labels) + "," + std::string(more);
}

void write_counters(std::string& out, const char* name, const char* help, const char* label,
                    const std::map<std::string, uint64_t, std::less<>>& counts) {
    out += std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " counter\n";
    for (const auto& [value, count] : counts) {
        out += std::string(name) + "{" + label + "=\"" + value + "\"} " + std::to_string(count) + "\n";
    }
}

bool is_digits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

size_t Histogram::bucket_of(double seconds) {
    size_t k = 0;
    while (k < bounds.size() && seconds > bounds[k]) ++k;
    return k;
}

void Histogram::observe(double seconds) { add(bucket_of(seconds), 1, seconds); }

void Histogram::add(size_t bucket, uint64_t count, double seconds) {
    at_most_[std::min(bucket, bounds.size())] += count;
    count_ += count;
    sum_ += seconds;
}

void Histogram::write(std::string& out, std::string_view name, std::string_view labels) const {
    uint64_t running = 0;
    for (size_t k = 0; k < bounds.size(); ++k) {
        running += at_most_[k];
        out += std::string(name) + "_bucket{" + joined(labels, "le=\"" + number_text(bounds[k]) + "\"") + "} " +
               std::to_string(running) + "\n";
    }
    out += std::string(name) + "_bucket{" + joined(labels, "le=\"+Inf\"") + "} " + std::to_string(count_) + "\n";
    const std::string braces = labels.empty() ? std::string() : "{" + std::string(labels) + "}";
    out += std::string(name) + "_sum" + braces + " " + number_text(sum_) + "\n";
    out += std::string(name) + "_count" + braces + " " + std::to_string(count_) + "\n";
}

void ServerMetrics::count_upload(Reason outcome) {
    std::lock_guard lock(mutex_);
    ++uploads_[std::string(describe(outcome).code)];
}

void ServerMetrics::count_refusal(std::string_view what) {
    std::lock_guard lock(mutex_);
    std::string key(what);
    for (char& c : key) {
        if (c == ' ') c = '_';
    }
    ++refusals_[key];
}

void ServerMetrics::observe_request(std::string_view route, std::chrono::duration<double> taken) {
    std::lock_guard lock(mutex_);
    auto found = request_seconds_.find(route);
    if (found == request_seconds_.end()) found = request_seconds_.emplace(std::string(route), Histogram()).first;
    found->second.observe(taken.count());
}

std::string ServerMetrics::text(const std::optional<ProofFigures>& proofs) const {
    std::string out;
    std::lock_guard lock(mutex_);
    write_counters(out, "vorlanix_uploads_total", "Uploads answered over HTTP, by outcome.", "outcome", uploads_);
    write_counters(out, "vorlanix_refusals_total", "Requests and connections refused before their handler.", "reason",
                   refusals_);
    // Every process on the database shows the same proof figures; a scrape of one is enough.
    static const std::map<std::string, uint64_t, std::less<>> none;
    write_counters(out, "vorlanix_proofs_total", "Proofs done by every server and worker on the database, by outcome.",
                   "outcome", proofs ? proofs->outcomes : none);
    out +=
        "# HELP vorlanix_proof_queue_length Uploads waiting for their proof, from every server and worker.\n"
        "# TYPE vorlanix_proof_queue_length gauge\nvorlanix_proof_queue_length " +
        (proofs ? std::to_string(proofs->waiting) : std::string("NaN")) + "\n";
    if (proofs) {
        out +=
            "# HELP vorlanix_proof_duration_seconds How long a proof took, by every server and worker on the "
            "database.\n"
            "# TYPE vorlanix_proof_duration_seconds histogram\n";
        proofs->durations.write(out, "vorlanix_proof_duration_seconds", "");
    }
    out +=
        "# HELP vorlanix_request_duration_seconds From a connection's first byte to its answer, by route.\n"
        "# TYPE vorlanix_request_duration_seconds histogram\n";
    for (const auto& [route, histogram] : request_seconds_) {
        // "GET /eintrag/ID": the method and the route as labels of their own.
        const auto space = route.find(' ');
        const std::string labels = space == std::string::npos ? "method=\"\",route=\"" + route + "\""
                                                              : "method=\"" + route.substr(0, space) + "\",route=\"" +
                                                                    route.substr(space + 1) + "\"";
        histogram.write(out, "vorlanix_request_duration_seconds", labels);
    }
    return out;
}

std::string_view route_of(std::string_view method, std::string_view path) {
    if (method == "POST") {
        if (path == "/api/upload") return "POST /api/upload";
        if (path == "/hochladen") return "POST /hochladen";
        return "other";
    }
    if (method != "GET" && method != "HEAD") return "other";
    // clang-format off
    static constexpr std::string_view fixed[] = {"GET /", "GET /unbewiesen", "GET /hochladen", "GET /api/list",
                                                 "GET /healthz", "GET /metrics", "GET /stil.css", "GET /spielen"};
    // clang-format on
    for (const std::string_view route : fixed) {
        if (path == route.substr(4)) return route;
    }
    if (path.starts_with("/spielen/")) return "GET /spielen/FILE";
    if (path.starts_with("/api/entry/") && is_digits(path.substr(11))) return "GET /api/entry/ID";
    if (path.starts_with("/eintrag/")) {
        const std::string_view rest = path.substr(9);
        if (is_digits(rest)) return "GET /eintrag/ID";
        if (rest.ends_with("/aufzeichnung") && is_digits(rest.substr(0, rest.size() - 13))) {
            return "GET /eintrag/ID/aufzeichnung";
        }
    }
    return "other";
}

}  // namespace bestenliste
