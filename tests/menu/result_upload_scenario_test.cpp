// SPDX-License-Identifier: GPL-3.0-or-later
// After a game: the player types a name on the result page and enters the list, or goes on to
// the upload form, fills it in and writes the upload file.
#include <gtest/gtest.h>

#include <fstream>

#include "base/cp1252.h"
#include "score/upload_file.h"
#include "tests/support/headless_run.h"
#include "tests/support/plain_pictures.h"
#include "tests/support/temp_dir.h"

using testing_support::RunHeadless;
using testing_support::RunResult;

namespace {

// 35 years, 9 months and 2 days: the result of 1000 points.
constexpr int32_t kDays = 12872;

class ResultAndUpload : public plain_pictures::Suite {
  protected:
    // Leaves the title, plays a game and waits for its result page; then the result is set to
    // kDays with the given rank, as the end of the game and the outer loop set them.
    RunResult PlayThen(int32_t rank, const std::string& script) {
        const std::string game = R"(
            run 100
            release left 300 200
            run 100
            click left 120 100
            run-until AktMenue == 8 300000
            run-until EndeAnimationLaeuft == 0
            run 50
            set Ergebnis )" + std::to_string(kDays * 3632) +
                                 R"(
            set NeuerRang )" + std::to_string(rank) +
                                 "\n";
        return RunHeadless(game + script, {.dataDir = data.path(), .setup = UsePictures});
    }
    nlohmann::json Dumped(const std::string& name) {
        std::ifstream f(data.path() / name);
        return nlohmann::json::parse(f);
    }
    std::string DumpLine(const std::string& name) { return "dump " + (data.path() / name).string() + "\n"; }

    TempDir data;
};

}  // namespace

TEST_F(ResultAndUpload, TheNameIsTypedAndEntersTheList) {
    auto r = PlayThen(1, R"(
        expect ErgebnisOffen == -1
        # the main buttons are dead until the result page is answered
        click left 120 140
        run 50
        expect AktMenue == 8
        type Maximilian
        run 20
        expect SpielerName == Maximili
        keydown BACKSPACE
        run 20
        expect SpielerName == Maximil
        type ößé!
        keydown TAB
        keydown RETURN
        run 20
        expect SpielerName == Maximilö
        click left 437 108
        run 50
        expect AktMenue == 11
        expect MeldungZurueck == 8
        click left 330 300
        run 50
        expect AktMenue == 8
        click left 243 305
        run 50
        expect AktMenue == 4
        expect ErgebnisOffen == 0
        expect HSTage[1] == 12872
        expect HSName[1] == Maximilö
        expect HSTage[2] == 28800
    )");
    EXPECT_EQ(r.exitCode, 0);
    const auto bytes = read_bytes(data.path() / "hiscore.dat");
    ASSERT_EQ(bytes.size(), 430u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), cp1252::from_utf8("Maximilö"));
    EXPECT_EQ(bytes[8] | bytes[9] << 8, kDays);
    EXPECT_EQ(r.state["MeldungZeile"][1], "Auf dieser Seite trägst du dich in");
}

TEST_F(ResultAndUpload, ANameTypedDuringTheCountDownIsKeptAndEntered) {
    // 100 000 points count down for about 12.8 s; "Max" is typed while they do. The stored
    // name of a new file is empty, so the reload after the count-down must not bring it back.
    auto r = RunHeadless(R"(
        run 100
        release left 300 200
        run 100
        click left 120 100
        run-until ErgebnisOffen == -1
        set Punktzahl 363200000
        run-until EndeAnimationLaeuft == -1 300000
        run 1000
        type Max
        run-until EndeAnimationLaeuft == 0 20000
        run 50
        expect AktMenue == 8
        expect NeuerRang == 1
        expect SpielerName == Max
        click left 243 305
        run 50
        expect AktMenue == 4
    )",
                         {.dataDir = data.path(), .setup = UsePictures});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.state["Ergebnis"], 7560 * 3632);
    const auto bytes = read_bytes(data.path() / "hiscore.dat");
    ASSERT_EQ(bytes.size(), 430u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "Max     ");
    EXPECT_EQ(std::string(bytes.begin() + 96, bytes.begin() + 104), "Max     ");
}

TEST_F(ResultAndUpload, AResultThatDoesNotRankStillLeadsToTheUploadForm) {
    const std::string wide(41, 'W');
    auto r = PlayThen(80, R"(
        type Ann
        click left 368 305
        run 50
        expect AktMenue == 9
        expect ErgebnisOffen == 0
        expect HSTage[1] == 28800
        expect AktFeld == 1
        # LÖSCHEN empties every field
        type Weg
        click left 243 305
        run 20
        )" + DumpLine("cleared.json") +
                              R"(
        click left 259 273
        run 20
        expect AktFeld == 8
        keydown TAB
        run 20
        expect AktFeld == 1
        type Max
        keydown TAB
        keydown TAB
        type )" + wide + R"(
        run 20
        expect FeldText[3] == )" +
                              std::string(40, 'W') + R"(
        keydown TAB
        type 1.1.1990
        keydown TAB
        keydown TAB
        type 12345
        keydown TAB
        type Köln
        keydown TAB
        type max@example.org
        click left 437 108
        run 50
        expect AktMenue == 11
        expect MeldungZeile[5] == highscore@vorlanix.example
        expect MeldungZeile[9] == www.vorlanix.example
        click left 330 300
        run 50
        expect AktMenue == 9
        # SICHERN with fields 2 and 5 empty: the cursor goes to field 2
        click left 368 305
        run 50
        expect AktFeld == 2
        expect AktMenue == 11
        expect MeldungZurueck == 9
        )" + DumpLine("empty-fields.json") +
                              R"(
        click left 330 420
        run 50
        expect AktMenue == 9
        type Mustermann
        click left 259 227
        run 20
        expect AktFeld == 5
        type Hauptstrasse 1
        click left 368 305
        run 50
        expect AktMenue == 11
        expect MeldungZurueck == 4
        )" + DumpLine("saved.json") +
                              R"(
        click left 330 300
        run 50
        expect AktMenue == 4
    )");
    EXPECT_EQ(r.exitCode, 0);

    for (int i = 1; i <= 8; ++i) EXPECT_EQ(Dumped("cleared.json")["FeldText"][i], "") << i;

    const auto empty = Dumped("empty-fields.json");
    EXPECT_EQ(empty["MeldungZeile"][1], "Bitte alle Felder ausfüllen.");
    for (int i = 2; i <= 12; ++i) EXPECT_EQ(empty["MeldungZeile"][i], "") << i;

    const auto file = data.path() / "Max_35_09_02.qhs";
    const auto check = score::check_upload_file(file);
    ASSERT_TRUE(check.ok()) << check.error;
    EXPECT_EQ(check.entry.t, kDays);
    EXPECT_EQ(check.entry.FeldText[2], "Mustermann");
    EXPECT_EQ(check.entry.FeldText[7], cp1252::from_utf8("Köln"));

    const auto saved = Dumped("saved.json");
    EXPECT_EQ(saved["MeldungZeile"][1], "Deine High-Score-Upload-Datei wurde ");
    EXPECT_EQ(saved["MeldungZeile"][11], score::upload_address);
    std::string path;
    for (int i = 4; i <= 9; ++i) path += saved["MeldungZeile"][i].get<std::string>();
    EXPECT_EQ(path, file.string());
    // The form is kept for the next upload.
    const auto bytes = read_bytes(data.path() / "hiscore.dat");
    EXPECT_EQ(std::string(bytes.begin() + 104, bytes.begin() + 114), "Max       ");
}

TEST_F(ResultAndUpload, AFailedUploadKeepsTheFormAndLeadsBackToIt) {
    // An UpLoad directory that takes upload files, where a directory already has the file's name.
    std::filesystem::create_directories(data.path() / "UpLoad" / "Max_35_09_02.qhs");
    std::ofstream(data.path() / "UpLoad" / "readme.txt") << "upload files go here\n";
    std::string fill;
    for (int i = 1; i <= 8; ++i) fill += "set FeldText[" + std::to_string(i) + "] " + (i == 1 ? "Max" : "x y") + "\n";
    auto r = PlayThen(80, R"(
        click left 368 305
        run 50
        )" + fill + R"(
        click left 368 305
        run 50
        expect AktMenue == 11
        expect MeldungZurueck == 9
        )" + DumpLine("failed.json") +
                              R"(
        click left 330 300
        run 50
        expect AktMenue == 9
        expect FeldText[1] == Max
    )");
    EXPECT_EQ(r.exitCode, 0);
    const auto failed = Dumped("failed.json");
    EXPECT_EQ(failed["MeldungZeile"][1], "Die High-Score-Upload-Datei konnte");
    EXPECT_EQ(failed["MeldungZeile"][10], "Ein Verzeichnis hat diesen Namen.");
}
