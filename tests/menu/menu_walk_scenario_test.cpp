// SPDX-License-Identifier: GPL-3.0-or-later
// A player walks the menu on the headless driver: from the title to every page and back, the
// settings lamps, the help dots, the closing picture, and Escape from anywhere. The pictures are
// plain ones of the right sizes, so the screen tells which page picture is shown.
#include <gtest/gtest.h>

#include "tests/support/headless_run.h"
#include "tests/support/plain_pictures.h"
#include "tests/support/temp_dir.h"

using testing_support::RunHeadless;
using testing_support::RunResult;

namespace {

class MenuWalk : public plain_pictures::Suite {
  protected:
    // Runs `script` after the title has been left, and keeps the last frame shown.
    RunResult Run(const std::string& script) {
        return RunHeadless(
            "run 100\nrelease left 300 200\nrun 100\n" + script,
            {.dataDir = data.path(), .setup = UsePictures, .after = [this](platform::HeadlessPlatform& p) {
                 if (p.lastFrame()) lastFrame = std::make_unique<platform::Surface>(*p.lastFrame());
             }});
    }
    // A spot of the page area that no live element of any page covers.
    uint16_t pageShown() const { return lastFrame->row(86)[170]; }

    TempDir data;
    std::unique_ptr<platform::Surface> lastFrame;
};

using plain_pictures::DisplayValueOf;

}  // namespace

TEST_F(MenuWalk, EveryMainButtonOpensItsPage) {
    const struct {
        int y;
        int page;
        const char* picture;
    } buttons[] = {
        {140, 2, "menue_story.bmp"},     {180, 3, "menue_preferences.bmp"}, {220, 4, "menue_highscore.bmp"},
        {260, 5, "menue_impressum.bmp"}, {300, 6, "menue_hilfe1.bmp"},
    };
    for (const auto& b : buttons) {
        const std::string at = "120 " + std::to_string(b.y);
        auto r = Run("move " + at + "\nrun 50\nexpect MenuePunktMaus == " + std::to_string(b.page) + "\nclick left " +
                     at + "\nrun 50\nexpect AktMenue == " + std::to_string(b.page) + "\n");
        EXPECT_EQ(r.exitCode, 0) << b.picture;
        ASSERT_TRUE(lastFrame);
        EXPECT_EQ(pageShown(), DisplayValueOf(b.picture)) << b.picture;
    }
}

TEST_F(MenuWalk, APlayerVisitsEveryPageAndComesBack) {
    auto r = Run(R"(
        expect AktMenue == 0
        # the whole column between two lamps belongs to one button; the bounds themselves do not
        move 120 121
        run 20
        expect MenuePunktMaus == 2
        move 99 121
        run 20
        expect MenuePunktMaus == 0
        click left 120 140
        run 50
        expect AktMenue == 2
        # the page already shown: no animation
        click left 120 140
        run 20
        expect AktMenue == 2
        click left 120 180
        run 50
        expect AktMenue == 3
        click left 120 220
        run 50
        expect AktMenue == 4
        move 437 108
        run 20
        expect MenuePunktMaus == 41
        click left 437 108
        run 50
        expect AktMenue == 11
        expect MeldungZurueck == 4
        expect MeldungZeile[9] == Readme.txt
        # OK answers far below its lamp, down to y 422
        move 330 423
        run 20
        expect MenuePunktMaus == 0
        click right 330 422
        run 50
        expect AktMenue == 4
        click left 120 260
        run 50
        expect AktMenue == 5
        click middle 120 300
        run 50
        expect AktMenue == 6
        expect HilfeSeite == 1
    )");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(pageShown(), DisplayValueOf("menue_hilfe1.bmp"));
}

TEST_F(MenuWalk, SettingsLampsSwitchAndAreSaved) {
    auto r = Run(R"(
        click left 120 180
        run 50
        expect SoundAn == -1
        move 345 172
        run 20
        expect MenuePunktMaus == 32
        click left 345 172
        run 20
        expect SoundAn == 0
        click left 345 231
        run 20
        expect MusikAn == 0
        click left 345 295
        run 20
        expect NebelAn == 0
        click left 261 295
        run 20
        expect NebelAn == -1
        # a lamp's bound is not the lamp
        click left 277 172
        run 20
        expect SoundAn == 0
    )");
    EXPECT_EQ(r.exitCode, 0);
    // The file keeps the settings inverted: FF FF is off, 00 00 on.
    const auto bytes = read_bytes(data.path() / "hiscore.dat");
    ASSERT_EQ(bytes.size(), 430u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 424, bytes.end()),
              (std::vector<uint8_t>{0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}));

    auto again = Run("expect SoundAn == 0\nexpect MusikAn == 0\nexpect NebelAn == -1\n");
    EXPECT_EQ(again.exitCode, 0);
}

TEST_F(MenuWalk, HelpDotsTurnTheHelpPages) {
    auto r = Run(R"(
        click left 120 300
        run 50
        expect HilfeSeite == 1
        # the dot of the picture shown does not light up; another one does
        move 290 99
        run 20
        expect MenuePunktMaus == 61
        move 318 99
        run 20
        expect MenuePunktMaus == 62
        click left 318 99
        run 50
        expect HilfeSeite == 2
        expect AktMenue == 6
        click left 346 99
        run 50
        expect HilfeSeite == 3
        click left 318 99
        run 50
        expect HilfeSeite == 2
        # HILFE again, on the help: the picture stays, and so does the dot that tells it
        click left 120 300
        run 50
        expect HilfeSeite == 2
        click left 290 99
        run 50
        expect HilfeSeite == 1
    )");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(pageShown(), DisplayValueOf("menue_hilfe1.bmp"));
}

TEST_F(MenuWalk, AfterTheDisplayCameBackTheHelpShowsItsFirstPicture) {
    auto r = Run(R"(
        click left 120 300
        run 50
        click left 318 99
        run 50
        display lost
        run 100
        display restored
        run 100
        expect HilfeSeite == 2
    )");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(pageShown(), DisplayValueOf("menue_hilfe1.bmp"));
}

TEST_F(MenuWalk, QuitShowsTheClosingPictureAndAClickEnds) {
    auto r = Run(R"(
        move 537 317
        run 20
        expect MenuePunktMaus == 7
        click left 537 317
        run 100
        expect Modus == 1
        expect AktMenue == 7
    )");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(lastFrame->row(300)[300], DisplayValueOf("ende.bmp"));

    auto ended = Run("click left 537 317\nrun 100\nclick left 300 300\nrun 100\nexpect Modus == 99\n");
    // The program ended with the click, before the failing expectation.
    EXPECT_EQ(ended.exitCode, 0);
    EXPECT_TRUE(ended.state.empty());
}

TEST_F(MenuWalk, EscapeEndsTheProgramFromAnywhere) {
    const char* places[] = {
        "",                                                          // the first menu page
        "click left 120 180\nrun 50\n",                              // PREFERENCES
        "click left 120 220\nrun 50\nclick left 437 108\nrun 50\n",  // the message page
        "click left 537 317\nrun 100\n",                             // the closing picture
    };
    for (const char* place : places) {
        auto r = Run(std::string(place) + "keydown ESCAPE\nrun 100\nexpect Modus == 99\n");
        EXPECT_EQ(r.exitCode, 0) << place;
        EXPECT_TRUE(r.state.empty()) << place;
    }
}
