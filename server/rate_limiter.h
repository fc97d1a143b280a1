// SPDX-License-Identifier: GPL-3.0-or-later
// Uploads per minute per address, as a token bucket: a burst of the whole minute's share, then
// one more every 60/N seconds.
#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>

namespace bestenliste {

class RateLimiter {
  public:
    using Clock = std::chrono::steady_clock;

    // 0 = no limit.
    explicit RateLimiter(int per_minute) : per_minute_(per_minute) {}

    bool allow(const std::string& address, Clock::time_point now = Clock::now());

  private:
    struct Bucket {
        double tokens;
        Clock::time_point last;
    };
    double refilled(const Bucket& bucket, Clock::time_point now) const;

    int per_minute_;
    std::mutex mutex_;
    std::unordered_map<std::string, Bucket> buckets_;
};

}  // namespace bestenliste
