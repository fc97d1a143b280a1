// SPDX-License-Identifier: GPL-3.0-or-later
// The cockpit instruments: the ammunition bar, the radar marks and sweep line, and the portrait
// and counters painted into the bottom panel only when their value changes.
#include <string>

#include "tests/gfx/frame_fixture.h"

namespace frame_test {
namespace {

constexpr uint16_t kSweep = 0xD992;  // the low half of the sweep line's raw colour 4708754

class CockpitTest : public FrameTest {
  protected:
    // The bottom panel and its pictures; the bar and radar tests leave the panel out, so that
    // the back buffer stays black around what they look at.
    void UsePanel() {
        game.SurfUnten = Solid(640, 128, 0x0100);
        game.SurfScore = Sheet(93, 550, 93, 55, 0x0200);     // digit d: 0x0200 + 16 d
        game.SurfAltern = Sheet(103, 680, 103, 85, 0x0300);  // stage s: 0x0300 + 16 s
        // As a game starts: values the counters can never hold, so the first frame paints all.
        game.PunktzahlAnzeige = -1;
        game.RestSekundenAnzeige = 1000;
        game.AlterStufeAnzeige = 100;
    }
    uint16_t Panel(int x, int y) const { return game.SurfUnten->row(y)[x]; }
    // The digits the panel shows at the given places (a digit image is 20 x 20; '?' for no digit).
    std::string Digits(std::initializer_list<std::pair<int, int>> places) const {
        std::string s;
        for (auto [x, y] : places) {
            const int d = (Panel(x + 10, y + 10) - 0x0200) / 16;
            s += Panel(x + 10, y + 10) >= 0x0200 && d <= 9 ? static_cast<char>('0' + d) : '?';
        }
        return s;
    }
    std::string Years() const { return Digits({{504, 27}, {522, 27}, {540, 27}}); }
    std::string Score() const { return Digits({{485, 51}, {502, 51}, {520, 51}, {538, 54}, {556, 58}}); }
    int Portrait() const { return (Panel(57 + 50, 13 + 40) - 0x0300) / 16; }
};

TEST_F(CockpitTest, TheAmmunitionBarSpendsHalfASegmentPerShot) {
    game.SurfOben = Solid(640, 32, 0x0400);
    game.SurfObenRot = Sheet(208, 64, 26, 32, 0x0500);
    const struct {
        int32_t munition;
        const char* segments;  // o full, h half spent, s spent
    } cases[] = {
        {16, "oooooooo"}, {16000000, "oooooooo"}, {15, "oooooooh"}, {14, "ooooooos"},
        {7, "ooohssss"},  {1, "hsssssss"},        {0, "ssssssss"},
    };
    for (const auto& c : cases) {
        game.Munition = c.munition;
        game.Zeichne();
        std::string shown;
        for (int k = 0; k < 8; ++k) {
            const uint16_t v = At(216 + 26 * k + 13, 16);
            shown += v == 0x0400 ? 'o' : v == 0x0500 + k + 16 ? 'h' : v == 0x0500 + k ? 's' : '?';
        }
        EXPECT_EQ(shown, c.segments) << c.munition;
    }
}

TEST_F(CockpitTest, RadarMarksReachSixtyNinePixelsFromTheMiddle) {
    game.SurfRadar = Sheet(36, 6, 6, 6, 0x0600);
    const struct {
        int dx, dy;
        bool marked;
    } cases[] = {
        {69, 0, false},                   // 4761
        {-69, 0, false}, {60, 34, true},  // 4756 (4760 is no sum of two squares)
        {0, -68, true},                   // squeezed: (-68 x 78) \ 128 = -41
        {48, 49, true},                   // 4705
        {49, 49, false},                  // 4802
    };
    for (const auto& c : cases) {
        game.ObjX[46] = 307 + 8 * c.dx;
        game.ObjY[46] = 187 + 8 * c.dy;
        game.Zeichne();
        const int x = 317 + c.dx, y = 406 + c.dy * 78 / 128;
        EXPECT_EQ(At(x, y), c.marked ? 0x0600 : 0) << c.dx << ", " << c.dy;
    }
}

TEST_F(CockpitTest, RadarMarksFollowTheFiguresStates) {
    game.SurfRadar = Sheet(36, 6, 6, 6, 0x0600);
    game.ObjX[46] = 307 + 80;  // a tank 10 to the right
    game.ObjY[46] = 187;
    game.PlanetSchirmX[3] = 320 - 80;  // a castle 10 to the left
    game.PlanetSchirmY[3] = 220;
    game.Zeichne();
    EXPECT_EQ(At(327, 406), 0x0600);      // tank: cell 0
    EXPECT_EQ(At(307, 406), 0x0600 + 4);  // castle: cell 4
    game.ObjBild[46] = 1;                 // the tanks have changed state
    game.BurgTot[3] = 1;                  // the castle is down
    game.Zeichne();
    EXPECT_EQ(At(327, 406), 0x0600 + 5);
    EXPECT_EQ(At(307, 406), 0);
}

TEST_F(CockpitTest, TheSweepLineRunsDownAtZeroAndLeftAtAQuarterTurn) {
    game.Spielzeit = 0;  // a = 0
    game.Zeichne();
    for (int y = 411; y <= 453; ++y) EXPECT_EQ(At(320, y), kSweep) << y;
    EXPECT_EQ(At(320, 454), 0);
    EXPECT_EQ(At(320, 410), 0);
    EXPECT_EQ(At(319, 430), 0);
    EXPECT_EQ(At(321, 430), 0);

    game.Spielzeit = 256 * 6;  // a = 256
    game.Zeichne();
    for (int x = 250; x <= 319; ++x) EXPECT_EQ(At(x, 411), kSweep) << x;
    EXPECT_EQ(At(249, 411), 0);
    EXPECT_EQ(At(320, 411), 0);
    EXPECT_EQ(At(300, 410), 0);
    EXPECT_EQ(At(300, 412), 0);
}

TEST_F(CockpitTest, TheFirstFrameOfAGamePaintsOneHundredYearsAndNoPoints) {
    UsePanel();
    game.Spielzeit = 0;
    game.Zeichne();
    EXPECT_EQ(Years(), "100");
    EXPECT_EQ(Score(), "00000");
    EXPECT_EQ(Portrait(), 0);
    EXPECT_EQ(game.RestSekundenAnzeige, 100);
    EXPECT_EQ(game.PunktzahlAnzeige, 0);
    EXPECT_EQ(game.AlterStufeAnzeige, 0);
}

TEST_F(CockpitTest, TheScoreCounterShowsFivePlacesAndNothingBelowZero) {
    UsePanel();
    const struct {
        int32_t points;
        const char* shown;
    } cases[] = {{12345, "12345"}, {-7, "00000"}, {7, "00007"}, {100000, "00000"}, {123456, "23456"}};
    for (const auto& c : cases) {
        game.Punktzahl = c.points * 3632;
        game.Zeichne();
        EXPECT_EQ(Score(), c.shown) << c.points;
        EXPECT_EQ(game.Punktzahl, c.points < 0 ? 0 : c.points * 3632);
    }
}

TEST_F(CockpitTest, CountersArePaintedOnlyWhenTheirValueChanges) {
    UsePanel();
    game.Zeichne();
    // Paint over the panel's counters: an unchanged value must leave them so.
    game.SurfUnten->BltColorFill(platform::Rect{480, 20, 600, 80}, 0x0100);
    game.SurfUnten->BltColorFill(platform::Rect{57, 13, 160, 98}, 0x0100);
    game.Zeichne();
    EXPECT_EQ(Years(), "???");
    EXPECT_EQ(Score(), "?????");
    game.Spielzeit += 1000;  // one second less
    game.Punktzahl = 50 * 3632;
    game.Zeichne();
    EXPECT_EQ(Years(), "087");
    EXPECT_EQ(Score(), "00050");
    EXPECT_EQ(Panel(57 + 50, 13 + 40), 0x0100);  // still stage 1: not painted again
}

TEST_F(CockpitTest, TheLastSecondsKeepTheSeventhPortraitAndTheLastDigitDrawn) {
    UsePanel();
    game.Zeitversatz = 83000;
    game.Spielzeit = 12000;  // 95 s gone: stage 7, 5 years left
    game.Zeichne();
    EXPECT_EQ(Portrait(), 7);
    EXPECT_EQ(Years(), "005");
    game.Spielzeit = 18000;  // 101 s gone: stage 8 has no picture, -1 no units digit
    game.Zeichne();
    EXPECT_EQ(game.AlterStufe, 8);
    EXPECT_EQ(game.AlterStufeAnzeige, 8);
    EXPECT_EQ(Portrait(), 7);
    EXPECT_EQ(game.RestSekunden, -1);
    EXPECT_EQ(game.RestSekundenAnzeige, -1);
    EXPECT_EQ(Years(), "005");
}

}  // namespace
}  // namespace frame_test
