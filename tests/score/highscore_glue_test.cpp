// The game object's list and settings against hiscore.dat in the data directory: a new file at
// the first load, a result entered and saved, and a file that cannot be used leaving the list in
// memory valid.
#include <gtest/gtest.h>

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

TEST(HighscoreGlue, AnUnusableFileLeavesTheListInMemory) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "hiscore.dat");  // neither readable nor replaceable
    Game g(dir.path());
    testing::internal::CaptureStderr();
    g.game.HighscoreLaden();
    g.game.SoundAn = vorlanix::False;
    g.game.HighscoreSpeichern();
    g.game.HighscoreLaden();
    const std::string err = testing::internal::GetCapturedStderr();
    // A valid new list in memory, the setting kept, and one line on stderr.
    EXPECT_EQ(g.game.HSTage[1], 28800);
    EXPECT_EQ(g.game.HSName[1], "        ");
    EXPECT_EQ(g.game.SoundAn, vorlanix::False);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
}
