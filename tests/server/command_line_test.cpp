// SPDX-License-Identifier: GPL-3.0-or-later
// The maintenance commands as an operator runs them: import mailed files, export for the prize
// draw, delete on request, and the usage.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "tests/server/recorded_games.h"
#include "tests/server/upload_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

struct Run {
    int exit_code;
    std::string out;
};

Run bestenliste(const TempDir& dir, const std::string& arguments) {
    const std::string command =
        std::string(VORLANIX_BESTENLISTE) + " --data-dir " + dir.path().string() + " " + arguments + " 2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

TEST(BestenlisteCommands, ImportExportAndDeleteWorkOnTheSameList) {
    TempDir dir;
    TempDir mail;
    write_bytes(mail / "a.qhs", upload_bytes("Anna", 500));
    write_bytes(mail / "b.qhs", upload_bytes("Bert", 100));
    auto broken = upload_bytes("Carl", 50);
    broken[60] ^= 1;
    write_bytes(mail / "c.qhs", broken);
    const std::string files =
        (mail / "a.qhs").string() + " " + (mail / "b.qhs").string() + " " + (mail / "c.qhs").string();

    auto run = bestenliste(dir, "import " + files);
    EXPECT_EQ(run.exit_code, 1) << run.out;
    EXPECT_EQ(run.out, (mail / "a.qhs").string() + ": accepted, rank 1\n" + (mail / "b.qhs").string() +
                           ": accepted, rank 1\n" + (mail / "c.qhs").string() +
                           ": bad_checksum: Die Prüfsumme der Datei stimmt nicht, die Datei wurde verändert oder ist "
                           "beschädigt.\n");
    // Importing the same mail again refuses nothing new: both files are already in the list.
    run = bestenliste(dir, "import " + (mail / "a.qhs").string() + " " + (mail / "b.qhs").string());
    EXPECT_EQ(run.exit_code, 0) << run.out;

    run = bestenliste(dir, "export --csv");
    EXPECT_EQ(run.exit_code, 0) << run.out;
    EXPECT_NE(run.out.find("\n1,Bert,0,3,10,100,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n2,Anna,1,4,20,500,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Geheimname,Vorgeheim,01.02.1980,Heimweg 7,10115,Heimstadt,geheim@mail.example"),
              std::string::npos);

    run = bestenliste(dir, "delete -- Bert");
    EXPECT_EQ(run.out, "1 entries deleted\n");
    run = bestenliste(dir, "export --csv");
    EXPECT_EQ(run.out.find("Bert"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n1,Anna,"), std::string::npos) << run.out;
}

TEST(BestenlisteCommands, AReplayNamedAfterAnImportedFileProvesIt) {
    const auto& game = game_with_upload();
    TempDir dir;
    TempDir mail;
    write_bytes(mail / "game.qhs", game.upload);
    write_bytes(mail / "game.vxr", game.replay);
    write_bytes(mail / "other.qhs", with_nickname(game.upload, "Faker"));
    const auto run = bestenliste(dir, "import " + (mail / "other.qhs").string() + " " + (mail / "game.vxr").string() +
                                          " " + (mail / "game.qhs").string() + " " + (mail / "game.vxr").string());
    EXPECT_EQ(run.exit_code, 1) << run.out;
    EXPECT_NE(run.out.find("other.qhs: replay_mismatch: "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("game.qhs: accepted, rank 1, proved\n"), std::string::npos) << run.out;
}

TEST(BestenlisteCommands, HelpAndUsageErrors) {
    TempDir dir;
    auto run = bestenliste(dir, "--help");
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_TRUE(run.out.starts_with("Usage: vorlanix-bestenliste serve")) << run.out;
    for (const char* wrong : {"", "export", "delete", "delete a b", "import", "serve --listen nowhere", "frobnicate",
                              "serve --rate-limit -1"}) {
        run = bestenliste(dir, wrong);
        EXPECT_EQ(run.exit_code, 2) << wrong << ": " << run.out;
    }
    run = bestenliste(dir, "--database mysql://x export --csv");
    EXPECT_EQ(run.exit_code, 1) << run.out;
    EXPECT_NE(run.out.find("unknown database"), std::string::npos) << run.out;
}

}  // namespace
