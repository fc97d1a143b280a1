// SPDX-License-Identifier: GPL-3.0-or-later
// The game object's list and settings against hiscore.dat in the data directory: a new file at
// the first load, a result entered and saved, and a file that cannot be used leaving the list in
// memory valid and the file untouched.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "app/vorlanix.h"
#include "platform/headless/headless_platform.h"
#include "score/hiscore_file.h"
#include "tests/support/temp_dir.h"

namespace {

struct Game {
    explicit Game(const std::filesystem::path& data) : game(headless) { headless.SetDirectories(data, data, data); }
    platform::HeadlessPlatform headless;
    vorlanix::Vorlanix game;
};

}  // namespace

TEST(HighscoreGlue, TheFirstLoadWritesANewFileAndAResultEntersAndIsSaved) {
    TempDir dir;
    Game g(dir.path());
    g.game.HighscoreLaden();
    EXPECT_EQ(std::filesystem::file_size(dir.path() / "hiscore.dat"), 430u);
    EXPECT_EQ(g.game.SoundAn, vorlanix::True);
    EXPECT_EQ(g.game.HSTage[8], 28800);

    g.game.Ergebnis = 10407 * 3632;
    g.game.NeuerRang = g.game.HighscoreRang(g.game.Ergebnis / 3632);
    EXPECT_EQ(g.game.NeuerRang, 1);
    g.game.SpielerName = "Max";
    g.game.HighscoreEintragen();

    Game again(dir.path());
    again.game.HighscoreLaden();
    EXPECT_EQ(again.game.HSName[1], "Max     ");
    EXPECT_EQ(again.game.HSTage[1], 10407);
    EXPECT_EQ(again.game.HSTage[2], 28800);
}

TEST(HighscoreGlue, AFileThatCannotBeReadIsNeverSavedOverAndIsReportedOnce) {
    // A named pipe and a directory cannot be read as a list, even by root; renaming a new file over
    // the pipe would succeed, so only the game's own care keeps it.
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> make;
        std::filesystem::file_type kept;
    };
    const Case cases[] = {
        {"pipe", [](const std::filesystem::path& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0600), 0); },
         std::filesystem::file_type::fifo},
        {"directory", [](const std::filesystem::path& f) { std::filesystem::create_directory(f); },
         std::filesystem::file_type::directory},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const auto file = dir / "hiscore.dat";
        c.make(file);
        Game g(dir.path());
        testing::internal::CaptureStderr();
        g.game.HighscoreLaden();
        g.game.SoundAn = vorlanix::False;
        g.game.HighscoreSpeichern();
        g.game.HighscoreLaden();
        const std::string err = testing::internal::GetCapturedStderr();
        // A valid new list in memory, the setting kept, the file untouched, and one line on stderr
        // that says where the file is and that it is left alone.
        EXPECT_EQ(g.game.HSTage[1], 28800);
        EXPECT_EQ(g.game.HSName[1], "        ");
        EXPECT_EQ(g.game.SoundAn, vorlanix::False);
        EXPECT_EQ(std::filesystem::symlink_status(file).type(), c.kept);
        EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"hiscore.dat"});
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_NE(err.find(file.string()), std::string::npos) << err;
        EXPECT_NE(err.find("left alone"), std::string::npos) << err;
    }
}

TEST(HighscoreGlue, AFileThatBecomesReadableIsSavedAgain) {
    TempDir dir;
    const auto file = dir / "hiscore.dat";
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    Game g(dir.path());
    testing::internal::CaptureStderr();
    g.game.HighscoreLaden();
    testing::internal::GetCapturedStderr();
    std::filesystem::remove(file);
    g.game.HighscoreLaden();
    g.game.MusikAn = vorlanix::False;
    g.game.HighscoreSpeichern();
    score::HiscoreData saved;
    ASSERT_TRUE(score::load_hiscore(file, saved).ok());
    EXPECT_EQ(saved.MusikAn, vorlanix::False);
}
