// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: every option parsed, bad ones refused with a one-line message and code 2.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>

#include "shell/options.h"
#include "tests/support/temp_dir.h"

using vorlanix::Options;
using vorlanix::ParseCommandLine;
using vorlanix::ParseResult;

namespace {

ParseResult parse(std::vector<std::string> args, Options& o, std::string& message) {
    args.insert(args.begin(), "vorlanix");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    return ParseCommandLine(static_cast<int>(argv.size()), argv.data(), o, message);
}

}  // namespace

TEST(CommandLine, ReadsEveryOption) {
    Options o;
    std::string message;
    ASSERT_EQ(parse({"--window",  "--scale", "3",          "--assets", "/a",         "--data-dir",   "/d",
                     "--seed",    "42",      "--headless", "--script", "s.txt",      "--tick-start", "4294967000",
                     "--scaling", "smooth",  "--renderer", "software", "--no-vsync", "--state-file", "state.json"},
                    o, message),
              ParseResult::Run);
    EXPECT_TRUE(o.window);
    EXPECT_EQ(o.scale, 3);
    EXPECT_EQ(o.assetDir, "/a");
    EXPECT_EQ(o.dataDir, "/d");
    EXPECT_EQ(o.seed, 42u);
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(o.script, "s.txt");
    EXPECT_EQ(o.tickStart, 4294967000u);
    EXPECT_EQ(o.scaling, "smooth");
    EXPECT_EQ(o.renderer, "software");
    EXPECT_FALSE(o.vsync);
    EXPECT_EQ(o.stateFile, "state.json");
}

TEST(CommandLine, ValuesMayFollowAnEqualsSignAndSettingsKeysHaveOptions) {
    Options o;
    std::string message;
    ASSERT_EQ(parse({"--scale=4", "--effects-volume=0", "--music-volume", "35", "--scaling=smooth", "--renderer",
                     "software", "--no-vsync", "--mute", "--controller-dead-zone=30", "--controller-speed", "900",
                     "--screenshot-dir=/s=1", "--config", "/c.conf", "--print-paths", "--seed=7"},
                    o, message),
              ParseResult::Run)
        << message;
    EXPECT_EQ(o.scale, 4);
    EXPECT_EQ(o.effectsVolume, 0);
    EXPECT_EQ(o.musicVolume, 35);
    EXPECT_EQ(o.scaling, "smooth");
    EXPECT_EQ(o.renderer, "software");
    EXPECT_FALSE(o.vsync);
    EXPECT_TRUE(o.mute);
    EXPECT_EQ(o.controllerDeadZone, 30);
    EXPECT_EQ(o.controllerSpeed, 900);
    EXPECT_EQ(o.screenshotDir, "/s=1");
    EXPECT_EQ(o.config, "/c.conf");
    EXPECT_TRUE(o.printPaths);
    EXPECT_EQ(o.seed, 7u);
}

TEST(CommandLine, AReplayNamedAloneIsWatchedAsAFileManagerOpensIt) {
    Options o;
    std::string message;
    ASSERT_EQ(parse({"--window", "/home/spieler/Downloads/gute Runde.vxr"}, o, message), ParseResult::Run);
    EXPECT_EQ(o.replay, "/home/spieler/Downloads/gute Runde.vxr");
    EXPECT_TRUE(o.window);
}

TEST(CommandLine, RefusesWhatItCannotUse) {
    // clang-format off
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"}, {"--scale"}, {"--scale", "0"}, {"--scale", "x"}, {"--seed", "-1"},
        {"--seed", "4294967296"}, {"--data-dir"}, {"--script", "s.txt"},  // a script needs --headless
        {"--effects-volume=101"}, {"--scaling", "blurry"}, {"--mute=yes"}, {"--config="}, {"--fullscreen=no"},
        {"--scaling"}, {"--renderer"}, {"a.vxr", "b.vxr"}, {"--replay", "a.vxr", "b.vxr"},
    };
    // clang-format on
    for (const auto& args : bad) {
        Options o;
        std::string message;
        EXPECT_EQ(parse(args, o, message), ParseResult::Error) << args[0];
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
}

TEST(CommandLine, HelpNamesEveryOptionAndTheProgramExitsWithTwoOnAnUnknownOne) {
    Options o;
    std::string help;
    ASSERT_EQ(parse({"-h"}, o, help), ParseResult::Exit);
    for (const char* option : {"--window",
                               "--fullscreen",
                               "--scale",
                               "--scaling",
                               "--renderer",
                               "--no-vsync",
                               "--effects-volume",
                               "--music-volume",
                               "--mute",
                               "--controller-dead-zone",
                               "--controller-speed",
                               "--screenshot-dir",
                               "--config",
                               "--print-paths",
                               "--assets",
                               "--data-dir",
                               "--seed",
                               "--headless",
                               "--script",
                               "--tick-start",
                               "--state-file",
                               "-h,",
                               "--help",
                               "--version"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    const int status = std::system((std::string(VORLANIX_EXE) + " --no-such-option 2>/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

TEST(CommandLine, TheCommandLineWinsOverTheSettingsFileForThatRun) {
    TempDir dir;
    std::ofstream(dir / "v.conf") << "screenshot_dir = " << (dir / "from-file").string() << "\nscale = 3\ncolour = 1\n";
    const std::string base = std::string(VORLANIX_EXE) + " --print-paths --data-dir " + dir.path().string() +
                             " --config " + (dir / "v.conf").string();
    auto run = [&](const std::string& extra) {
        const std::string out = (dir / "out.txt").string();
        EXPECT_EQ(std::system((base + extra + " > " + out + " 2> " + (dir / "err.txt").string()).c_str()), 0);
        const auto bytes = read_bytes(out);
        return std::string(bytes.begin(), bytes.end());
    };
    const std::string fromFile = run("");
    EXPECT_NE(fromFile.find("screenshots: " + (dir / "from-file").string() + "\n"), std::string::npos) << fromFile;
    EXPECT_NE(fromFile.find("settings:    " + (dir / "v.conf").string() + "\n"), std::string::npos) << fromFile;
    // The unknown key is named once, with its file and line, and the rest of the file still counts.
    const auto err = read_bytes(dir / "err.txt");
    EXPECT_EQ(std::string(err.begin(), err.end()),
              "vorlanix: " + (dir / "v.conf").string() + ":3: unknown key \"colour\"; ignored\n");
    const std::string overridden = run(" --screenshot-dir=" + (dir / "mine").string());
    EXPECT_NE(overridden.find("screenshots: " + (dir / "mine").string() + "\n"), std::string::npos) << overridden;
    // The command line changed nothing in the file.
    const auto bytes = read_bytes(dir / "v.conf");
    EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("from-file"), std::string::npos);
}

TEST(CommandLine, PrintPathsOnlyPrintsAndCreatesNothing) {
    TempDir dir;
    const std::string env = "env HOME=" + dir.path().string() + " XDG_DATA_HOME= XDG_CONFIG_HOME= ";
    const std::string out = (dir / "out.txt").string();
    ASSERT_EQ(std::system((env + VORLANIX_EXE + " --print-paths > " + out).c_str()), 0);
    const auto bytes = read_bytes(out);
    const std::string shown(bytes.begin(), bytes.end());
    EXPECT_NE(shown.find("data:        " + (dir / ".local/share/vorlanix").string() + "\n"), std::string::npos)
        << shown;
    EXPECT_NE(shown.find("settings:    " + (dir / ".config/vorlanix/vorlanix.conf").string() + "\n"), std::string::npos)
        << shown;
    EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"out.txt"});
}
