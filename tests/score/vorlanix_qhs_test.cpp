// SPDX-License-Identifier: GPL-3.0-or-later
// The collector's tool, run as a program on files the game wrote.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "score/upload_file.h"
#include "tests/support/temp_dir.h"

namespace {

struct Run {
    int exit_code;
    std::string out;
};

Run run_tool(const TempDir& dir, const std::string& arguments) {
    const auto out = dir / "tool-output.txt";
    const std::string command = std::string(VORLANIX_QHS) + " " + arguments + " >" + out.string() + " 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream in(out);
    std::stringstream text;
    text << in.rdbuf();
    std::filesystem::remove(out);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
}

score::UploadEntry entry(const std::string& nickname, int32_t t) {
    score::UploadEntry e;
    e.S = 4242;
    e.t = t;
    e.FeldText = {"", nickname, "Name", "Vorname", "1.1.1980", "Weg 1", "10115", "Berlin", "a@b.de"};
    return e;
}

TEST(VorlanixQhs, VerifyAcceptsTheGamesFileAndRejectsAChangedByte) {
    TempDir dir;
    const auto good = score::write_upload_file(dir.path(), entry("J\xF6rg", 11565)).path;
    auto run = run_tool(dir, "verify " + good.string());
    EXPECT_EQ(run.exit_code, 0) << run.out;
    EXPECT_EQ(run.out, good.string() + ": J\xC3\xB6rg, 32/01/15: OK\n");

    auto bytes = read_bytes(good);
    bytes[100] ^= 0x20;
    const auto bad = dir / "bad.qhs";
    write_bytes(bad, bytes);
    run = run_tool(dir, "verify " + good.string() + " " + bad.string());
    EXPECT_EQ(run.exit_code, 1) << run.out;
    EXPECT_NE(run.out.find(good.string() + ": J\xC3\xB6rg, 32/01/15: OK\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(bad.string() + ": J\xC3\xB6rg, 32/01/15: invalid: the check sum does not match"),
              std::string::npos)
        << run.out;

    run = run_tool(dir, "verify " + (dir / "missing.qhs").string());
    EXPECT_EQ(run.exit_code, 1) << run.out;
    EXPECT_NE(run.out.find("invalid: cannot read"), std::string::npos) << run.out;
}

TEST(VorlanixQhs, RankOrdersByAgeAndKeepsTheOrderGivenForTies) {
    TempDir dir;
    const auto slow = score::write_upload_file(dir.path(), entry("Langsam", 20000)).path;
    const auto fast = score::write_upload_file(dir.path(), entry("Schnell", 9000)).path;
    const auto tie = score::write_upload_file(dir.path(), entry("Gleich", 20000)).path;
    const auto broken = dir / "broken.qhs";
    write_bytes(broken, {1, 2, 3});

    const std::string files = slow.string() + " " + fast.string() + " " + tie.string();
    auto run = run_tool(dir, "rank --csv " + files);
    EXPECT_EQ(run.exit_code, 0) << run.out;
    EXPECT_EQ(run.out,
              "rank,nickname,years,months,days,result_days,name,vorname,geboren,strasse,plz,ort,email,file\n"
              "1,Schnell,25,0,0,9000,Name,Vorname,1.1.1980,Weg 1,10115,Berlin,a@b.de," +
                  fast.string() +
                  "\n"
                  "2,Langsam,55,6,20,20000,Name,Vorname,1.1.1980,Weg 1,10115,Berlin,a@b.de," +
                  slow.string() +
                  "\n"
                  "3,Gleich,55,6,20,20000,Name,Vorname,1.1.1980,Weg 1,10115,Berlin,a@b.de," +
                  tie.string() + "\n");

    run = run_tool(dir, "rank " + files + " " + broken.string());
    EXPECT_EQ(run.exit_code, 1) << run.out;
    const auto first = run.out.find("Schnell");
    const auto second = run.out.find("Langsam");
    const auto third = run.out.find("Gleich");
    EXPECT_TRUE(first < second && second < third) << run.out;
    EXPECT_NE(run.out.find("broken.qhs: invalid: the file has 3 bytes instead of 332"), std::string::npos) << run.out;
}

TEST(VorlanixQhs, RankAsCsvKeepsAFormulaInAStrangersEntryText) {
    // The world list's export and this tool write the same fields: a spreadsheet must not run them.
    TempDir dir;
    const auto file = score::write_upload_file(dir.path(), entry("=1+2", 9000)).path;
    const auto run = run_tool(dir, "rank --csv " + file.string());
    EXPECT_EQ(run.exit_code, 0) << run.out;
    EXPECT_NE(run.out.find("\n1,'=1+2,"), std::string::npos) << run.out;
}

TEST(VorlanixQhs, UsageErrorsExitWithTwo) {
    TempDir dir;
    EXPECT_EQ(run_tool(dir, "--help").exit_code, 0);
    for (const char* arguments : {"", "verify", "check x.qhs", "verify --csv x.qhs", "rank --wide x.qhs"}) {
        SCOPED_TRACE(arguments);
        EXPECT_EQ(run_tool(dir, arguments).exit_code, 2);
    }
}

}  // namespace
