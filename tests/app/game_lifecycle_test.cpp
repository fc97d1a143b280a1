// SPDX-License-Identifier: GPL-3.0-or-later
// A game from start to end: the clicks carried in from the menu, the weapon's cooling, the
// end-of-game steps (also after a run-time error), and twenty games that all start alike.
#include <gtest/gtest.h>

#include "app/errors.h"
#include "tests/support/test_game.h"
#include "tests/support/temp_dir.h"

using platform::QueuedEvent;
using testing_support::TestGame;
using K = QueuedEvent::Kind;

namespace {

void click(TestGame& session, int16_t button, float x, float y) {
    session.headless.Queue({K::MouseDown, button, x, y});
    session.headless.Queue({K::MouseUp, button, x, y});
}

}  // namespace

TEST(GameLifecycle, TheWeaponCoolsDownAndAnEmptyOrEarlyClickOnlyClicks) {
    TestGame session(2, /*sound=*/true);
    auto& g = session.game;
    g.SetUpGame();
    ASSERT_TRUE(g.GameFrame());
    size_t log = session.headless.soundLog().size();

    click(session, 1, 300, 200);
    ASSERT_TRUE(g.GameFrame());
    const int32_t firstShot = g.Spielzeit;
    click(session, 1, 300, 200);  // still cooling
    ASSERT_TRUE(g.GameFrame());
    EXPECT_EQ(session.SoundsSince(log), "1:play 6:play");
    EXPECT_EQ(g.Munition, 15);

    // Clicking every frame, the next shot goes off about 137 ms after the first, in whole frames.
    log = session.headless.soundLog().size();
    while (g.Munition == 15) {
        click(session, 1, 300, 200);
        ASSERT_TRUE(g.GameFrame());
    }
    EXPECT_GE(g.Spielzeit - firstShot, 137);
    EXPECT_LE(g.Spielzeit - firstShot, 137 + 2 * 17);

    // The magazine holds sixteen; the seventeenth click is empty and costs nothing.
    while (g.Munition > 0) {
        g.SchussTimer = 0;
        click(session, 1, 300, 200);
        ASSERT_TRUE(g.GameFrame());
    }
    log = session.headless.soundLog().size();
    g.SchussTimer = 0;
    click(session, 1, 300, 200);
    ASSERT_TRUE(g.GameFrame());
    EXPECT_EQ(session.SoundsSince(log), "6:play");
    EXPECT_EQ(g.Munition, 0);
    EXPECT_EQ(g.SchussTimer, 0);
}

TEST(GameLifecycle, ARightClickFromTheMenuIsEvaluatedInTheFirstFrame) {
    TestGame session;
    auto& g = session.game;
    g.Modus = 2;
    g.Form_MouseDown(2, 0, 150, 160);
    g.SetUpGame();
    EXPECT_EQ(g.RechtsKlickX, 150);
    ASSERT_TRUE(g.GameFrame());
    EXPECT_EQ(g.RechtsKlickX, -1);
}

TEST(GameLifecycle, TheEndOfAGameOpensTheResultPageAndStopsTheLoops) {
    struct Case {
        const char* name;
        bool voidGame, error, refusedLock, missingPictures;
        int32_t page;
    };
    const Case cases[] = {
        {"the clock ran out", false, false, false, false, 8},
        {"the lens centre was hit", true, false, false, false, 10},
        {"a run-time error in a frame", false, true, false, false, 8},
        {"a picture that refuses its lock in a hit test", false, false, true, false, 8},
        {"a planet picture that cannot be loaded", false, false, false, true, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestGame session(3, /*sound=*/true);
        auto& g = session.game;
        TempDir noPictures;
        if (c.missingPictures) session.headless.SetAssetDirectory(noPictures.path());
        g.MusikAn = vorlanix::True;
        g.Punktzahl = 3632 * 99;
        bool playing = false, shot = false;
        session.headless.SetPumpHook([&] {
            if (g.Modus != -1 || g.Spielzeit < 3000) return;
            playing = playing || session.headless.pointerMode() == platform::PointerMode::Game;
            // The alarm is running when the game ends.
            g.AlarmLaeuft = vorlanix::True;
            if (c.voidGame) g.SpielUngueltig = vorlanix::True;
            if (c.error) throw vorlanix::GameError("a lock was refused");
            if (c.refusedLock) {
                if (shot) return;
                // A shot into the middle of planet 3, whose picture is lost.
                g.SurfStern3->refuseLocks = true;
                click(session, 1, static_cast<float>(g.PlanetSchirmX[3]), static_cast<float>(g.PlanetSchirmY[3]));
                shot = true;
                return;
            }
            g.Zeitversatz = 200000;
        });
        const size_t log = session.headless.soundLog().size();
        EXPECT_EQ(session.Play(), -1);
        EXPECT_EQ(playing, !c.missingPictures);
        EXPECT_LT(g.Spielzeit, 3100);
        EXPECT_EQ(g.Modus, 2);
        EXPECT_EQ(g.AktMenue, c.page);
        EXPECT_EQ(g.MenuePunktMaus, -111);
        EXPECT_EQ(g.MenuePunktGedrueckt, -111);
        EXPECT_EQ(session.headless.pointerMode(), platform::PointerMode::Menu);
        if (c.voidGame) {
            EXPECT_EQ(g.ErgebnisOffen, vorlanix::False);
            EXPECT_EQ(g.Punktzahl, 0);
        }
        const std::string sounds = session.SoundsSince(log);
        if (!c.missingPictures) {
            EXPECT_NE(sounds.find("8:stop 2:stop"), std::string::npos) << sounds;
        }
    }
}

TEST(GameLifecycle, TwentyGamesInARowStartAlike) {
    TestGame session(11);
    auto& g = session.game;
    vorlanix::GameStateAccess state(g);
    // Fields that are not part of a game's start: the clock's absolute ticks, the fragments'
    // animation cell (from the platform clock), the last result and the menu's fields, the
    // cockpit's own display state, and the big Irone's screen position, left from the last game
    // until its first attack moves it (it is not drawn before).
    auto startState = [&] {
        nlohmann::json s = state.DumpState();
        for (const char* name : {"SpielStartTick", "TickJetzt", "TickVorher", "PauseBeginn", "MeteorBild", "Ergebnis",
                                 "MenuePunktMaus", "MenuePunktGedrueckt", "AktMenue", "Modus", "RestSekunden"})
            s.erase(name);
        s["ObjX"][0] = s["ObjY"][0] = 0;
        return s;
    };

    nlohmann::json first;
    uint64_t firstFrames = 0;
    for (int game = 0; game < 20; ++game) {
        SCOPED_TRACE(game);
        g.Randomize(11);
        const uint64_t startFrames = session.headless.frames();
        nlohmann::json start;
        session.headless.SetPumpHook([&] {
            const uint64_t frame = session.headless.frames() - startFrames;
            if (g.Modus != -1) return;
            if (frame == 1 && start.is_null()) {
                start = startState();
                EXPECT_GE(g.Spielzeit - g.LetzterTreffer, 1000);  // the multiplier window is closed
            }
            if (frame != 5) return;
            // Play a little: leave marks everywhere a game can leave them, then end it.
            g.ObjTot[3] = 250;
            g.ObjTot[50] = 4;
            g.ObjBild[46] = 2;
            g.MondTot[2][1] = 30;
            g.SplitterTot[2][1][2] = 5;
            g.ExplosionZeit = 20;
            g.BurgTot[3] = 1;
            g.BurgBlitz[5] = 10;
            g.LupeZerstoert = g.Endphase = g.SpielUngueltig = vorlanix::True;
            g.SatelitZerstoert = g.Satelit2Weg = vorlanix::True;
            g.SatelitIroneTot[2] = g.Satelit2IroneTot[1] = 7;
            g.Schalter[1] = vorlanix::True;
            g.SchalterZeit = 4000;
            g.ScrollX1024 = 123456;
            g.TasteLinks = vorlanix::True;
            g.Munition = 3;
            g.SchussTimer = 9;
            g.RaumtanksUebrig = 2;
            g.Kombi = 8;
            g.PunktAktiv[4] = vorlanix::True;
            g.LetzterTreffer = g.Spielzeit;
            g.Punktzahl = 5000;
            g.AlarmLaeuft = vorlanix::True;
            g.AngriffUhr = 80;
            g.Zeitversatz = 200000;
        });
        EXPECT_EQ(session.Play(), -1);
        ASSERT_FALSE(start.is_null());
        if (game == 0) {
            first = start;
            firstFrames = session.headless.frames() - startFrames;
            continue;
        }
        EXPECT_EQ(session.headless.frames() - startFrames, firstFrames);
        for (auto& [name, value] : first.items()) EXPECT_EQ(start[name], value) << name;
    }
}
