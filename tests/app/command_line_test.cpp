// The command line: every option parsed, bad ones refused with a one-line message and code 2.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "app/options.h"

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
    ASSERT_EQ(parse({"--window", "--scale", "3", "--assets", "/a", "--data-dir", "/d", "--seed", "42", "--headless",
                     "--script", "s.txt", "--tick-start", "4294967000", "--scaling", "smooth", "--renderer", "software",
                     "--no-vsync", "--state-file", "state.json"},
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

TEST(CommandLine, RefusesWhatItCannotUse) {
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"}, {"--scale"}, {"--scale", "0"}, {"--scale", "x"}, {"--seed", "-1"},
        {"--seed", "4294967296"}, {"--data-dir"}, {"--scaling", "blurry"}, {"--scaling"}, {"--renderer"}, {"--script", "s.txt"},  // a script needs --headless
    };
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
    ASSERT_EQ(parse({"--help"}, o, help), ParseResult::Exit);
    for (const char* option : {"--window", "--fullscreen", "--scale", "--assets", "--data-dir", "--seed", "--headless",
                               "--script", "--tick-start", "--scaling", "--renderer", "--no-vsync", "--state-file", "--help", "--version"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    const int status = std::system((std::string(VORLANIX_EXE) + " --no-such-option 2>/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(status), 2);
}
