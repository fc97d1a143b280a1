// SPDX-License-Identifier: GPL-3.0-or-later
// A game's replay is on the disk from the moment the game ends, and again after every file its
// result page saves, while the program still runs: a program killed then (or a browser tab
// closed on the result page) still leaves a replay that repeats the game and proves its upload.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/headless/script_driver.h"
#include "replay/play_replay.h"
#include "replay/prove.h"
#include "shell/options.h"
#include "shell/program.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> filesEndingIn(const fs::path& dir, const std::string& ending) {
    std::vector<fs::path> found;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        if (name.size() > ending.size() && name.ends_with(ending)) found.push_back(e.path());
    }
    return found;
}

}  // namespace

TEST(KeptReplay, AnEndedGameIsOnTheDiskWhileTheProgramRuns) {
    TempDir data;
    const fs::path replays = data.path() / "replays";
    // The game, up to its result page.
    const std::string toResult = R"(
        run 100
        release left 300 200
        run 100
        click left 120 100
        run 3000
        click left 400 300
        run 2000
        run-until AktMenue == 8 300000
        run-until EndeAnimationLaeuft == 0
        run 50
    )";
    // Then the name into the list, and the upload form filled in and written.
    const std::vector<std::string> nextSteps = {
        "type Max\nclick left 368 305\nrun 50\n",
        "type Max\nkeydown TAB\nkeyup TAB\ntype Mustermann\nkeydown TAB\nkeyup TAB\ntype Maximilian\n"
        "keydown TAB\nkeyup TAB\ntype 1.1.1990\nkeydown TAB\nkeyup TAB\ntype Hauptstrasse 1\nkeydown TAB\n"
        "keyup TAB\ntype 12345\nkeydown TAB\nkeyup TAB\ntype Koeln\nkeydown TAB\nkeyup TAB\n"
        "type max@example.org\nkeydown TAB\nkeyup TAB\nclick left 368 305\nrun 50\n",
    };

    size_t step = 0;
    int resultDays = -1;
    std::vector<std::string> seen;
    auto check = [&](platform::ScriptDriver& driver) {
        SCOPED_TRACE("after step " + std::to_string(step));
        ASSERT_TRUE(fs::exists(replays / "last.vxr")) << "no replay while the program runs";
        const auto last = read_bytes(replays / "last.vxr");
        const auto outcome = replay::PlayReplay(last, {});
        EXPECT_EQ(outcome.kind, replay::StopKind::Ended) << outcome.message;
        const auto dated = filesEndingIn(replays, "-days.vxr");
        if (step == 0) {
            // The result page is open: the result is not on the list yet, so the replay is only the last game.
            EXPECT_TRUE(dated.empty());
            nlohmann::json ergebnis;
            ASSERT_TRUE(driver.ReadField("Ergebnis", ergebnis));
            resultDays = ergebnis.get<int>() / 3632;
        } else {
            // The result went into the list: its dated copy is the same replay.
            ASSERT_EQ(dated.size(), 1u);
            EXPECT_EQ(read_bytes(dated[0]), last);
            EXPECT_NE(dated[0].filename().string().find("_" + std::to_string(resultDays) + "-days"), std::string::npos);
        }
        if (step == 2) {
            const auto uploads = filesEndingIn(data.path(), ".qhs");
            ASSERT_EQ(uploads.size(), 1u);
            EXPECT_EQ(replay::ProveUpload(last, read_bytes(uploads[0]), std::chrono::seconds(30)).verdict,
                      replay::Verdict::Proved);
        }
        seen.push_back("step " + std::to_string(step));
    };

    platform::HeadlessPlatform headless(0);
    auto driver = std::make_unique<platform::ScriptDriver>(toResult, "script");
    platform::ScriptDriver* raw = driver.get();
    raw->FeedFrom([&]() -> std::string {
        check(*raw);
        return step < nextSteps.size() ? nextSteps[step++] : "";
    });
    headless.AttachScript(std::move(driver));
    vorlanix::Options options;
    options.headless = true;
    options.dataDir = data.path();
    options.seed = 5;
    EXPECT_EQ(vorlanix::RunProgram(headless, options, raw), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"step 0", "step 1", "step 2"}));
}
