// SPDX-License-Identifier: GPL-3.0-or-later
// `vorlanix --headless --replay FILE` as a player or a collector runs it: one line per game on
// standard output, one line on standard error when something is wrong, and the exit code.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "replay/format.h"
#include "shell/replay_command.h"
#include "tests/replay/recorded_game.h"

namespace {

struct CommandRun {
    int code;
    std::string out, err;
};

CommandRun runVorlanix(const std::string& arguments, const TempDir& dir) {
    const auto errFile = dir / "stderr.txt";
    const std::string command = std::string(VORLANIX_EXE) + " " + arguments + " 2>'" + errFile.string() + "'";
    CommandRun r{-1, {}, {}};
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[512];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe)) r.out += buffer;
    const int status = pipe ? ::pclose(pipe) : -1;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const auto err = read_bytes(errFile);
    r.err.assign(err.begin(), err.end());
    return r;
}

CommandRun resimulate(const std::filesystem::path& file, const TempDir& dir) {
    return runVorlanix("--headless --replay '" + file.string() + "'", dir);
}

}  // namespace

TEST(ReplayCommand, PrintsTheGamesAndSaysWhetherTheReplayHeld) {
    const auto& rec = recorded_game::Get();
    TempDir dir;
    write_bytes(dir / "good.vxr", rec.wholeRun);
    auto f = replay::DecodeReplay(rec.wholeRun);
    f.header.seed ^= 1;
    write_bytes(dir / "drifts.vxr", replay::EncodeReplay(f.header, f.stream));
    write_bytes(dir / "foreign.vxr", {'h', 'e', 'l', 'l', 'o'});

    struct Case {
        const char* file;
        int code;
        std::string out, err;
    } cases[] = {
        {"good.vxr", 0, "game 1: " + std::to_string(rec.days) + " days, ", "in sync"},
        {"drifts.vxr", 3, "", "out of sync at frame "},
        {"foreign.vxr", 2, "", "not a Vorlanix replay"},
        {"missing.vxr", 2, "", "cannot read"},
    };
    for (const Case& c : cases) {
        const CommandRun r = resimulate(dir / c.file, dir);
        EXPECT_EQ(r.code, c.code) << c.file << "\n" << r.err;
        EXPECT_NE(r.out.find(c.out), std::string::npos) << c.file << "\n" << r.out;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.file << "\n" << r.err;
        EXPECT_LE(std::count(r.err.begin(), r.err.end(), '\n'), 2) << c.file << "\n" << r.err;
    }
}

TEST(ReplayCommand, AScriptWatchesTheReplayButMayNotChangeIt) {
    const auto& rec = recorded_game::Get();
    TempDir dir;
    write_bytes(dir / "good.vxr", rec.wholeRun);
    const auto dump = dir / "frame300.json";
    std::ofstream(dir / "watch.txt") << "run-until frames >= 300\nexpect Modus == -1\ndump " << dump.string() << "\n";
    std::ofstream(dir / "steer.txt") << "run 100\nclick left 120 100\n";
    auto run = [&](const char* script) {
        const std::string command = std::string(VORLANIX_EXE) + " --headless --replay '" + (dir / "good.vxr").string() +
                                    "' --script '" + (dir / script).string() + "' >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(run("watch.txt"), 0);
    const auto state = nlohmann::json::parse(std::ifstream(dump));
    EXPECT_EQ(state["frames"], 300);
    EXPECT_EQ(run("steer.txt"), 2);
}

TEST(ReplayCommand, ReSimulationStopsAtTheSharedTimeLimit) {
    TempDir dir;
    write_bytes(dir / "game.vxr", recorded_game::Get().wholeRun);
    EXPECT_EQ(replay::RunReplayCommand(dir / "game.vxr", nullptr, nullptr, std::chrono::milliseconds(0)), 3);
    EXPECT_EQ(replay::RunReplayCommand(dir / "game.vxr", nullptr), 0);
}

TEST(ReplayCommand, TheKeptReplaysAreListedNewestFirstAndTheNewestIsWatchedWithoutAFile) {
    const auto& rec = recorded_game::Get();
    TempDir dir;
    const std::string data = " --headless --data-dir '" + rec.data.path().string() + "' ";
    const std::string days = std::to_string(rec.days) + " days, ";

    // The last game's last.vxr and its dated copy (its result entered the list): one line each.
    const CommandRun list = runVorlanix(data + "--list-replays", dir);
    EXPECT_EQ(list.code, 0) << list.err;
    std::vector<std::string> lines;
    std::istringstream out(list.out);
    for (std::string line; std::getline(out, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 2u) << list.out;
    EXPECT_TRUE(lines[0].ends_with("/replays/last.vxr")) << lines[0];
    EXPECT_TRUE(lines[1].ends_with("-days.vxr")) << lines[1];
    for (const auto& line : lines) {
        EXPECT_TRUE(std::regex_search(line, std::regex(R"(^\d{4}-\d\d-\d\d \d\d:\d\d  )"))) << line;
        EXPECT_NE(line.find(days), std::string::npos) << line;
    }

    const CommandRun newest = runVorlanix(data + "--replay", dir);
    EXPECT_EQ(newest.code, 0) << newest.err;
    EXPECT_NE(newest.out.find("game 1: " + days), std::string::npos) << newest.out;

    // Where nothing was kept yet, both say so, and neither creates the data directory.
    const std::string none = " --headless --data-dir '" + (dir / "none").string() + "' ";
    const CommandRun empty = runVorlanix(none + "--list-replays", dir);
    EXPECT_EQ(empty.code, 0);
    EXPECT_EQ(empty.out, "");
    EXPECT_NE(empty.err.find("no replays are kept in "), std::string::npos) << empty.err;
    const CommandRun nothing = runVorlanix(none + "--replay", dir);
    EXPECT_EQ(nothing.code, 1);
    EXPECT_NE(nothing.err.find("there is no replay to watch in "), std::string::npos) << nothing.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "none"));
}
