// SPDX-License-Identifier: GPL-3.0-or-later
// The SDL backend's tick count is the system's: milliseconds since the machine started, not
// since the program did.
#include <gtest/gtest.h>

#include <ctime>

#include "platform/sdl/sdl_platform.h"

namespace {

uint32_t monotonicMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<uint32_t>(static_cast<uint64_t>(t.tv_sec) * 1000u + static_cast<uint64_t>(t.tv_nsec) / 1000000u);
}

}  // namespace

TEST(SdlClock, TheTickCountIsTheSystemsMonotonicMilliseconds) {
    auto p = platform::CreateSdlPlatform({});
    const uint32_t before = monotonicMs();
    const uint32_t tick = p->GetTickCount();
    const uint32_t after = monotonicMs();
    // Differences as the game takes them, so the check holds across the counter's wrap too.
    EXPECT_GE(static_cast<int32_t>(tick - before), 0);
    EXPECT_LE(static_cast<int32_t>(tick - after), 0);
}
