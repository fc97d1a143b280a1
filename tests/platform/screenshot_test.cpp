// SPDX-License-Identifier: GPL-3.0-or-later
// F12 screenshots: the presented frame as a 640 x 480 PNG under a time-stamped name that never
// overwrites an earlier one, written into the screenshot directory.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "platform/screenshot_writer.h"
#include "tests/support/headless_run.h"
#include "tests/support/temp_dir.h"

namespace {

uint32_t bigEndian(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

}  // namespace

TEST(Screenshot, ATakenNameGetsTheNextFreeSuffix) {
    TempDir dir;
    std::tm when{};
    when.tm_year = 126;
    when.tm_mon = 11;
    when.tm_mday = 9;
    when.tm_hour = 8;
    when.tm_min = 5;
    when.tm_sec = 3;
    EXPECT_EQ(platform::FreeScreenshotName(dir.path(), when), dir / "vorlanix-20261209-080503.png");
    std::ofstream(dir / "vorlanix-20261209-080503.png") << "x";
    EXPECT_EQ(platform::FreeScreenshotName(dir.path(), when), dir / "vorlanix-20261209-080503-2.png");
    std::ofstream(dir / "vorlanix-20261209-080503-2.png") << "x";
    EXPECT_EQ(platform::FreeScreenshotName(dir.path(), when), dir / "vorlanix-20261209-080503-3.png");
}

TEST(Screenshot, F12SavesThePresentedFrame) {
    TempDir dir;
    // The title picture stands still, so the driver's own screenshot shows the same frame.
    const auto script = "run 200\nkeydown F12\nkeyup F12\nrun 100\nkeydown F12\nrun 100\nscreenshot " +
                        (dir / "driver.png").string() + "\n";
    const auto result =
        testing_support::RunHeadless(script, {.dataDir = dir.path(), .after = [](auto& p) { p.FinishScreenshots(); }});
    ASSERT_EQ(result.exitCode, 0);
    const auto shots = names_in(dir / "screenshots");
    ASSERT_EQ(shots.size(), 2u);
    const std::regex name(R"(vorlanix-\d{8}-\d{6}(-\d+)?\.png)");
    const auto driver = read_bytes(dir / "driver.png");
    for (const auto& shot : shots) {
        EXPECT_TRUE(std::regex_match(shot, name)) << shot;
        const auto png = read_bytes(dir / "screenshots" / shot);
        ASSERT_GT(png.size(), 24u);
        EXPECT_EQ(bigEndian(png, 16), 640u);
        EXPECT_EQ(bigEndian(png, 20), 480u);
        EXPECT_EQ(png, driver) << shot;
    }
}
