// SPDX-License-Identifier: GPL-3.0-or-later
// Buckets that have filled up again say nothing a new one would not, so they are dropped when the
// table grows: the memory stays bounded however many addresses come by.
#include "server/rate_limiter.h"

#include <algorithm>

namespace bestenliste {

namespace {

constexpr size_t buckets_before_pruning = 65536;

}  // namespace

double RateLimiter::refilled(const Bucket& bucket, Clock::time_point now) const {
    const double seconds = std::chrono::duration<double>(now - bucket.last).count();
    return std::min<double>(per_minute_, bucket.tokens + seconds * per_minute_ / 60.0);
}

bool RateLimiter::allow(const std::string& address, Clock::time_point now) {
    if (per_minute_ <= 0) {
        return true;
    }
    std::lock_guard lock(mutex_);
    if (buckets_.size() >= buckets_before_pruning) {
        std::erase_if(buckets_, [&](const auto& item) { return refilled(item.second, now) >= per_minute_; });
    }
    const auto it = buckets_.try_emplace(address, Bucket{static_cast<double>(per_minute_), now}).first;
    Bucket& bucket = it->second;
    bucket.tokens = refilled(bucket, now);
    bucket.last = now;
    if (bucket.tokens < 1.0) {
        return false;
    }
    bucket.tokens -= 1.0;
    return true;
}

}  // namespace bestenliste
