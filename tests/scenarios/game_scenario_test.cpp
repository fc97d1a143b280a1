// Whole games driven by scripts in the headless driver's language: scrolling across the world's
// edge with the keys, and a pause that costs no game time before the clock runs out.
#include <gtest/gtest.h>

#include "tests/support/game_bench.h"

using testing_support::GameBench;

TEST(GameScenario, TheArrowKeysScrollTheViewAcrossTheWorldsEdges) {
    GameBench bench(4);
    EXPECT_EQ(bench.Play(R"(
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
    )"), 0);
}

TEST(GameScenario, APauseCostsNoGameTimeAndTheGameEndsAfterTheGraceSecond) {
    GameBench bench(4);
    // The big Irone is kept away so that it eats no time.
    bench.headless.SetPumpHook([&] { bench.game.AngriffUhr = -100000; });
    EXPECT_EQ(bench.Play(R"(
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
    )"), -1);
    EXPECT_EQ(bench.game.Modus, 2);
    EXPECT_EQ(bench.game.AktMenue, 8);
    EXPECT_GT(bench.game.Spielzeit, 101000);
    EXPECT_LT(bench.game.Spielzeit, 101000 + 20);
}
