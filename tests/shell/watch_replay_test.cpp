// SPDX-License-Identifier: GPL-3.0-or-later
// Watching a replay as a viewer does: `vorlanix --headless --replay FILE --script KEYS` shows it on
// the headless display, the script presses the viewer's keys and dumps the program's state and
// the window title, which the watching keeps on the recorded clock.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "replay/format.h"
#include "replay/play_replay.h"
#include "replay/watching_platform.h"
#include "tests/replay/recorded_game.h"

namespace {

struct Watched {
    int code = -1;
    std::vector<nlohmann::json> dumps;  // one per DUMP in the script, in order
};

// Runs the script beside the replay; each word DUMP becomes a dump into a file of its own.
Watched watch(const std::filesystem::path& replayFile, std::string script, const TempDir& dir) {
    static int runs = 0;
    const std::string prefix = (dir / ("run" + std::to_string(++runs) + "-")).string();
    int dumps = 0;
    for (size_t at; (at = script.find("DUMP")) != std::string::npos; ++dumps)
        script.replace(at, 4, "dump " + prefix + std::to_string(dumps) + ".json");
    const auto scriptFile = prefix + "script.txt";
    std::ofstream(scriptFile) << script;
    const std::string command = std::string(VORLANIX_EXE) + " --headless --replay '" + replayFile.string() +
                                "' --script '" + scriptFile + "' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    Watched w;
    w.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    for (int k = 0; k < dumps; ++k) {
        std::ifstream f(prefix + std::to_string(k) + ".json");
        w.dumps.push_back(f ? nlohmann::json::parse(f) : nlohmann::json());
    }
    return w;
}

// The program's own fields: without the display's clock and frames, its sounds and the title.
nlohmann::json game(nlohmann::json dump) {
    for (const char* key : {"tick", "frames", "sounds", "title"}) dump.erase(key);
    return dump;
}

struct Kept {
    TempDir dir;
    std::filesystem::path file;
    uint32_t startTick = 0, lengthMs = 0;
};

const Kept& kept() {
    static const auto k = [] {
        auto r = std::make_unique<Kept>();
        r->file = r->dir / "game.vxr";
        const auto& bytes = recorded_game::Get().kept;
        write_bytes(r->file, bytes);
        r->startTick = replay::DecodeHeader(bytes).startTick;
        r->lengthMs = replay::PlayReplay(bytes, {}).recordedMs;
        return r;
    }();
    return *k;
}

uint32_t elapsed(const nlohmann::json& dump) { return dump["TickJetzt"].get<uint32_t>() - kept().startTick; }

}  // namespace

TEST(WatchTitle, ShowsThePlaceTheLengthAndTheSpeed) {
    struct Case {
        uint32_t elapsed, length;
        double speed;
        bool paused;
        const char* title;
    } cases[] = {
        {42'000, 100'000, 2, false, "Aufzeichnung 0:42 / 1:40 \u00d72"},
        {999, 61'999, 1, true, "Aufzeichnung 0:00 / 1:01 \u00d71 (Pause)"},
        {605'000, 3'600'000, 0.25, false, "Aufzeichnung 10:05 / 60:00 \u00d70,25"},
    };
    for (const Case& c : cases) EXPECT_EQ(replay::WatchTitle(c.elapsed, c.length, c.speed, c.paused), c.title);
}

TEST(WatchReplay, SpacePausesTheDotStepsAFrameAndPlusSpeedsUp) {
    TempDir dir;
    const Watched w = watch(kept().file, R"(
        run-until frames >= 100
        keydown SPACE
        run 50
        DUMP
        run 500
        DUMP
        type .
        run 100
        DUMP
        type ++
        keydown SPACE
        run 200
        DUMP
    )",
                            dir);
    ASSERT_EQ(w.code, 0);
    const auto& paused = w.dumps[0];
    const auto& later = w.dumps[1];
    const auto& stepped = w.dumps[2];
    const auto& going = w.dumps[3];
    // Paused, the program stands still however long the viewer waits.
    EXPECT_EQ(game(later), game(paused));
    EXPECT_EQ(paused["title"], replay::WatchTitle(elapsed(paused), kept().lengthMs, 1, true));
    // One step is one frame, and the watching stays paused after it.
    EXPECT_GT(elapsed(stepped), elapsed(paused));
    EXPECT_LT(elapsed(stepped), elapsed(paused) + 100);
    EXPECT_EQ(stepped["title"], replay::WatchTitle(elapsed(stepped), kept().lengthMs, 1, true));
    // Space again goes on, at four times the pace after two pluses.
    EXPECT_GT(elapsed(going), elapsed(stepped));
    EXPECT_EQ(going["title"], replay::WatchTitle(elapsed(going), kept().lengthMs, 4, false));

    // The step landed on the very frame that watching straight on reaches first.
    const Watched straight =
        watch(kept().file, "run-until TickJetzt >= " + stepped["TickJetzt"].dump() + "\nDUMP\n", dir);
    ASSERT_EQ(straight.code, 0);
    EXPECT_EQ(game(straight.dumps[0]), game(stepped));
}

TEST(WatchReplay, AJumpLandsOnTheStateThatWatchingStraightThereReaches) {
    // Forward skips ten seconds of frames; back re-simulates from the beginning.
    struct Case {
        const char* key;
        int framesBefore;
        int64_t movedMs;
    } cases[] = {{"RIGHT", 60, 10'000}, {"LEFT", 1200, -10'000}};
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const Watched jumped =
            watch(kept().file,
                  "run-until frames >= " + std::to_string(c.framesBefore) + "\nDUMP\nkeydown " + c.key +
                      "\nrun-until frames >= " + std::to_string(c.framesBefore + 1) + "\nDUMP\n",
                  dir);
        ASSERT_EQ(jumped.code, 0);
        const int64_t target = elapsed(jumped.dumps[0]) + c.movedMs;
        ASSERT_GE(target, 0);
        // The jump lands on the first frame at or after the place ten seconds away, as watching
        // straight on to that place does.
        const Watched straight =
            watch(kept().file, "run-until TickJetzt >= " + std::to_string(kept().startTick + target) + "\nDUMP\n", dir);
        ASSERT_EQ(straight.code, 0);
        EXPECT_GE(elapsed(jumped.dumps[1]), target);
        EXPECT_EQ(game(straight.dumps[0]), game(jumped.dumps[1]));
    }
}
