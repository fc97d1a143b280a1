// SPDX-License-Identifier: GPL-3.0-or-later
// The program starts on the headless backend, shows the title picture with the pointer, and a
// released mouse button leaves the title for the menu.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/headless_run.h"
#include "tests/support/temp_dir.h"

using testing_support::RunHeadless;

TEST(TitleScenario, ShowsTheTitleUntilAButtonIsReleased) {
    TempDir dir;
    const auto shot = dir.path() / "title.png";
    auto r = RunHeadless(R"(
        run 200
        expect Modus == 1
        expect FarbeWeiss == 65535
        move 300 200
        run 50
        screenshot )" + shot.string() +
                             R"(
        press left 300 200
        run 50
        expect Modus == 1
        release left 300 200
        run 50
        expect Modus == 2
    )",
                         {.dataDir = dir.path()});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(shot));
    EXPECT_GT(r.state.value("frames", 0), 5);
}

TEST(TitleScenario, ALostDisplayStopsTheFramesUntilItComesBack) {
    TempDir dir;
    auto dumpAt = [&](const char* name) { return (dir.path() / name).string(); };
    auto r = RunHeadless("run 100\ndisplay lost\nrun 20\ndump " + dumpAt("a.json") + "\nrun 500\ndump " +
                             dumpAt("b.json") + "\ndisplay restored\nrun 100\n",
                         {.dataDir = dir.path()});
    EXPECT_EQ(r.exitCode, 0);
    auto frames = [](const std::filesystem::path& f) {
        std::ifstream in(f);
        return nlohmann::json::parse(in)["frames"].get<int>();
    };
    EXPECT_EQ(frames(dumpAt("a.json")), frames(dumpAt("b.json")));
    EXPECT_GT(r.state["frames"].get<int>(), frames(dumpAt("b.json")));
}

TEST(TitleScenario, EscapeEndsTheProgramFromTheTitle) {
    TempDir dir;
    auto r = RunHeadless("run 100\nkeydown ESCAPE\nrun 100\nexpect Modus == 99\n", {.dataDir = dir.path()});
    // The program ends before the failing expectation is reached.
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.state.empty());
}

TEST(TitleScenario, ADisplayThatCannotBeSetUpEndsWithTheMessage) {
    TempDir dir;
    std::vector<std::string> boxes;
    auto r = RunHeadless("run 100\n", {.dataDir = dir.path(),
                                       .setup =
                                           [](platform::HeadlessPlatform& p) {
                                               p.SetDisplayFailure(platform::DisplayError(false, "no video device"));
                                           },
                                       .after = [&](platform::HeadlessPlatform& p) { boxes = p.messageBoxes(); }});
    EXPECT_EQ(r.exitCode, 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Dieses Programm benötigt DirectX 7\n\nno video device");
}
