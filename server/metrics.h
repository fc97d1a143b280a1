// SPDX-License-Identifier: GPL-3.0-or-later
// What the server has done since it started, kept in the process and written at /metrics in the
// text format Prometheus reads: uploads by outcome, refusals and request latencies by route, and
// the proofs of every process on the database.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "server/refusal.h"

namespace bestenliste {

// Counts of observed durations at or below each bound (seconds), as a Prometheus histogram.
class Histogram {
  public:
    static constexpr std::array<double, 12> bounds = {0.001, 0.0025, 0.005, 0.01, 0.025, 0.05,
                                                      0.1,   0.25,   0.5,   1,    2.5,   10};
    void observe(double seconds);
    // The bucket a duration falls into: an index into `bounds`, or bounds.size() above them all.
    static size_t bucket_of(double seconds);
    // `count` durations of bucket `bucket` that took `seconds` together.
    void add(size_t bucket, uint64_t count, double seconds);
    // The _bucket, _sum and _count lines of `name`, each with `labels` (`key="value"`, or empty).
    void write(std::string& out, std::string_view name, std::string_view labels) const;

  private:
    std::array<uint64_t, bounds.size() + 1> at_most_{};  // per bound and above them, not yet added up
    uint64_t count_ = 0;
    double sum_ = 0;
};

// What the database knows of the proofs of every server and worker that shares it.
struct ProofFigures {
    int64_t waiting = 0;                                    // uploads waiting for their proof
    std::map<std::string, uint64_t, std::less<>> outcomes;  // proofs done, by the code of their outcome
    Histogram durations;                                    // how long each took
};

class ServerMetrics {
  public:
    // An upload answered over HTTP, by the code of its outcome ("accepted", "pending", "duplicate"...).
    void count_upload(Reason outcome);
    // A request or connection refused before its handler, by what was wrong ("body too large"...).
    void count_refusal(std::string_view what);
    // A request answered, by its route ("GET /eintrag/ID", never the path a client chose).
    void observe_request(std::string_view route, std::chrono::duration<double> taken);

    // The whole exposition; the proofs' figures are read from the database by the caller
    // (nothing when it cannot be read now).
    std::string text(const std::optional<ProofFigures>& proofs) const;

  private:
    mutable std::mutex mutex_;
    std::map<std::string, uint64_t, std::less<>> uploads_, refusals_;
    std::map<std::string, Histogram, std::less<>> request_seconds_;
};

// The method and route a request belongs to ("GET /eintrag/ID"), from a fixed set (ids and names in
// paths become ID and FILE; anything else is "other"), so that neither the metrics nor the access
// log grow with, or tell, what clients ask for.
std::string_view route_of(std::string_view method, std::string_view path);

}  // namespace bestenliste
