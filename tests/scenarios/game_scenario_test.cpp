// SPDX-License-Identifier: GPL-3.0-or-later
// Whole games driven by scripts in the headless driver's language: scrolling across the world's
// edge with the keys, a pause that costs no game time before the clock runs out, and games
// started one after another from the menu of the whole program.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "tests/support/test_game.h"
#include "tests/support/headless_run.h"
#include "tests/support/temp_dir.h"

using testing_support::RunHeadless;
using testing_support::TestGame;

TEST(GameScenario, TheArrowKeysScrollTheViewAcrossTheWorldsEdges) {
    TestGame session(4);
    EXPECT_EQ(session.Play(R"(
        run 150
        expect SichtX == 256
        expect SichtY == 1216
        keydown LEFT
        run-until SichtX <= 2 3000
        run 34
        expect SichtX >= 1915
        keyup LEFT
        keydown DOWN
        run-until SichtY >= 1437 3000
        run 34
        expect SichtY <= 4
        keyup DOWN
        run 100
    )"),
              0);
}

TEST(GameScenario, APauseCostsNoGameTimeAndTheGameEndsAfterTheGraceSecond) {
    TestGame session(4);
    // The big Irone is kept away so that it eats no time.
    session.headless.SetPumpHook([&] { session.game.AngriffUhr = -100000; });
    EXPECT_EQ(session.Play(R"(
        run 2000
        keydown P
        run 10000
        expect Pause == -1
        expect Spielzeit < 2000
        keydown P
        run 1000
        expect Spielzeit > 2800
        expect Spielzeit < 3000
        run-until Spielzeit > 100000 120000
        expect Modus == -1
        run 2000
    )"),
              -1);
    EXPECT_EQ(session.game.Modus, 2);
    EXPECT_EQ(session.game.AktMenue, 8);
    EXPECT_GT(session.game.Spielzeit, 101000);
    EXPECT_LT(session.game.Spielzeit, 101000 + 20);
}

TEST(GameScenario, TimeAwayFromTheWindowBeforeTheStartNeverRunsTheGameClockBackwards) {
    // The focus goes in the menu and comes back only during the game: what counts as time away
    // is the game's own share of it, so the clock neither runs backwards nor gives extra seconds.
    TempDir dir;
    auto r = RunHeadless(R"(
        run 200
        release left 300 200
        run 200
        focus lost
        run 30000
        click left 120 100
        run-until Modus == -1 10000
        run 2000
        focus gained
        run 200
        expect Spielzeit >= 0
        expect Spielzeit <= 400
        expect RestSekunden <= 100
        expect AlterStufe >= 0
    )",
                         {.dataDir = dir.path(), .seed = 9});
    EXPECT_EQ(r.exitCode, 0);
}

TEST(GameScenario, TwentyGamesFromTheMenuEachStartAfreshAndReturnToTheOuterLoop) {
    TempDir dir;
    std::string script = R"(
        run 200
        release left 300 200
        run 200
        expect Modus == 2
        # A right click in the menu is still pending when the game starts.
        click right 200 300
        run 50
        expect RechtsKlickX == 200
    )";
    for (int game = 0; game < 20; ++game) {
        script += R"(
            set AktMenue 1
            run-until Modus == -1 5000
            expect Munition == 16
            run 300
            expect RechtsKlickX == -1
            expect SichtX == 256
            expect SichtY == 1216
            expect Kombi == 1
            expect RaumtanksUebrig == 9
            expect ObjTot[0] == 0
            expect AngriffUhr < -1000
            # Leave marks, then let the clock run out.
            set ObjTot[5] 300
            set MondTot[1][1] 20
            set NeuerRang 77
            set Zeitversatz 200000
            run-until AktMenue == 8 5000
            run 3000
            expect Modus == 2
            # The outer loop has started over: it ranked the result afresh.
            expect NeuerRang != 77
            expect RechtsKlickX == -1
        )";
    }
    auto r = RunHeadless(script, {.dataDir = dir.path(), .seed = 9});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.state.value("Modus", 0), 2);
}

TEST(GameScenario, AGameAcrossTheClocksWrapPlaysAsAnyOther) {
    // Shooting, scrolling, a pause and a task switch, then the count-down of the result; the
    // state is written at every `dump @`.
    const std::string script = R"(
        run 200
        release left 300 200
        run 200
        set AktMenue 1
        run-until Modus == -1 5000
        move 420 180
        run 1000
        dump @
        run 500
        click left 330 250
        run 500
        dump @
        keydown P
        run 2000
        keydown P
        run 500
        dump @
        run 500
        focus lost
        display lost
        run 1500
        display restored
        focus gained
        run 200
        dump @
        click left 300 260
        keydown LEFT
        run 1000
        dump @
        run 1000
        keyup LEFT
        dump @
        set Zeitversatz 95000
        run-until AktMenue == 8 10000
        run 2000
        dump @
        run 4000
    )";
    // The counter wraps in the waits of the set-up, while the game runs, during the pause, during
    // the task switch and during the count-down; and its signed half is passed while the game runs.
    const uint32_t starts[] = {0, 4294966786u, 4294965000u, 4294963300u, 4294961800u, 4294957000u, 2147482000u};
    std::vector<nlohmann::json> first;
    for (uint32_t start : starts) {
        SCOPED_TRACE(start);
        TempDir dir;
        std::string lines = script;
        int dumps = 0;
        for (size_t at; (at = lines.find('@')) != std::string::npos;)
            lines.replace(at, 1, (dir.path() / (std::to_string(dumps++) + ".json")).string());
        auto r = RunHeadless(lines, {.dataDir = dir.path(), .seed = 12, .tickStart = start});
        ASSERT_EQ(r.exitCode, 0);
        std::vector<nlohmann::json> states;
        for (int n = 0; n <= dumps; ++n) {
            nlohmann::json s = r.state;
            if (n < dumps) s = nlohmann::json::parse(std::ifstream(dir.path() / (std::to_string(n) + ".json")));
            s["elapsed"] = s["tick"].get<uint32_t>() - start;
            // Only the readings of the clock itself, and what is timed by it directly, differ.
            for (const char* name :
                 {"tick", "TickJetzt", "TickVorher", "SpielStartTick", "PauseBeginn", "MeteorBild", "sounds"})
                s.erase(name);
            states.push_back(std::move(s));
        }
        if (first.empty()) {
            first = std::move(states);
            continue;
        }
        for (size_t n = 0; n < states.size(); ++n)
            for (auto& [name, value] : first[n].items())
                EXPECT_EQ(states[n][name], value) << "dump " << n << ": " << name;
    }
}
